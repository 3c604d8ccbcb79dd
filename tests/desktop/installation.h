// One installation (`cmake --install` of the build) into a folder of the test suite's own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace sonarchive::testing {

class Installation : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    // The installation's root as a system would see it; the prefix is <root>/usr.
    static std::string Root();
    static std::string Prefix() { return Root() + "/usr"; }
    static std::string Installed(const std::string& relative) { return Prefix() + "/" + relative; }

    // Fails the test when a tool that scripts/test installs is missing.
    static void ExpectTool(const std::string& tool);

private:
    static TempDir* root_;
};

}  // namespace sonarchive::testing
