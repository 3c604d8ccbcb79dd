#include "installation.h"

namespace sonarchive::testing {

TempDir* Installation::root_ = nullptr;

void Installation::SetUpTestSuite() {
    root_ = new TempDir;
    const CommandResult install =
        RunCommand(ShellQuote(SONARCHIVE_CMAKE) + " --install " + ShellQuote(SONARCHIVE_BUILD_DIR) +
                   " --prefix " + ShellQuote(Prefix()));
    ASSERT_EQ(install.exitCode, 0) << install.output;
}

void Installation::TearDownTestSuite() {
    delete root_;
    root_ = nullptr;
}

std::string Installation::Root() {
    return root_->Path();
}

void Installation::ExpectTool(const std::string& tool) {
    if (!HaveProgram(tool)) {
        GTEST_FAIL() << tool << " is missing; scripts/test installs it";
    }
}

}  // namespace sonarchive::testing
