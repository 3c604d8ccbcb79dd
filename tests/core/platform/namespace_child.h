// Running part of a test in a child process with namespaces of its own, so that it may mount
// filesystems or change network settings without touching the machine. Whatever the child
// mounts disappears with its mount namespace, however the child ends.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace sonarchive::testing {

struct ChildOutcome {
    enum class Result { Passed, Failed, Skipped };
    Result result = Result::Failed;
    std::string reason;  // why it skipped or failed
};

// Runs `body` in a forked child after unshare(`namespaces`) (CLONE_NEWNS makes every mount
// private first). The body uses GoogleTest assertions as usual; their messages appear in the
// test's output, and the child passes when none failed. The child is killed after `limit`.
ChildOutcome RunInNewNamespaces(int namespaces, const std::function<void()>& body,
                                std::chrono::seconds limit = std::chrono::seconds(30));

// Inside the body: ends the child as skipped, with the reason shown by the parent.
[[noreturn]] void SkipChild(const std::string& reason);

// In the test, after RunInNewNamespaces: skips, fails or passes the test as the child did.
#define SONARCHIVE_REPORT_CHILD(outcome)                                                    \
    do {                                                                                    \
        const auto& childOutcome = (outcome);                                               \
        if (childOutcome.result == ::sonarchive::testing::ChildOutcome::Result::Skipped) {  \
            GTEST_SKIP() << childOutcome.reason;                                            \
        }                                                                                   \
        EXPECT_EQ(childOutcome.result, ::sonarchive::testing::ChildOutcome::Result::Passed) \
            << childOutcome.reason;                                                         \
    } while (false)

}  // namespace sonarchive::testing
