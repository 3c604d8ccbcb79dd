#include "namespace_child.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace sonarchive::testing {
namespace {

constexpr int kSkippedExit = 77;
int reasonPipe = -1;  // the child's end

void WriteReason(const std::string& reason) {
    if (reasonPipe >= 0 && ::write(reasonPipe, reason.data(), reason.size()) < 0) {
        std::perror("reason pipe");
    }
}

[[noreturn]] void EndChild(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(status);
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }
    return text;
}

}  // namespace

void SkipChild(const std::string& reason) {
    WriteReason(reason);
    EndChild(kSkippedExit);
}

ChildOutcome RunInNewNamespaces(int namespaces, const std::function<void()>& body,
                                std::chrono::seconds limit) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return {ChildOutcome::Result::Failed, "no pipe"};
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        reasonPipe = fds[1];
        ::alarm(static_cast<unsigned>(limit.count()));
        if (::unshare(namespaces) != 0) {
            SkipChild(std::string("unshare is not permitted here: ") + std::strerror(errno));
        }
        if ((namespaces & CLONE_NEWNS) != 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            SkipChild(std::string("mounts cannot be made private: ") + std::strerror(errno));
        }
        try {
            body();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "exception in the child: " << error.what();
        }
        EndChild(::testing::Test::HasFailure() ? 1 : 0);
    }
    ::close(fds[1]);
    if (child < 0) {
        ::close(fds[0]);
        return {ChildOutcome::Result::Failed, "fork failed"};
    }
    std::string reason = ReadAll(fds[0]);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kSkippedExit) {
        return {ChildOutcome::Result::Skipped, reason};
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return {ChildOutcome::Result::Passed, {}};
    }
    return {ChildOutcome::Result::Failed,
            WIFSIGNALED(status)
                ? "the child was killed by signal " + std::to_string(WTERMSIG(status))
                : "the child's assertions failed (see above)"};
}

}  // namespace sonarchive::testing
