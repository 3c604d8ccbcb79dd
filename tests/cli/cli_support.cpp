#include "cli_support.h"

namespace sonarchive::testing {

CliRun::CliRun() = default;

CommandResult CliRun::Run(const std::string& arguments) const {
    return RunUnder("", arguments);
}

CommandResult CliRun::RunUnder(const std::string& launcher, const std::string& arguments) const {
    return RunCommand("SONARCHIVE_CONFIG_DIR=" + ShellQuote(ConfigDir()) + " " + launcher + " " +
                      ShellQuote(SONARCHIVE_CLI) + " --data-dir " + ShellQuote(DataDir()) + " " +
                      arguments + " </dev/null");
}

CommandResult CliRun::RunStdout(const std::string& arguments) const {
    return Run(arguments + " 2>/dev/null");
}

}  // namespace sonarchive::testing
