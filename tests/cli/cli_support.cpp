#include "cli_support.h"

#include <sstream>

namespace sonarchive::testing {

CliRun::CliRun() = default;

CommandResult CliRun::Run(const std::string& arguments) const {
    return RunUnder("", arguments);
}

namespace {

std::string CommandLine(const CliRun& run, const std::string& launcher,
                        const std::string& arguments) {
    return "SONARCHIVE_CONFIG_DIR=" + ShellQuote(run.ConfigDir()) + " " + launcher + " " +
           ShellQuote(SONARCHIVE_CLI) + " --data-dir " + ShellQuote(run.DataDir()) + " " +
           arguments + " </dev/null";
}

}  // namespace

CommandResult CliRun::RunUnder(const std::string& launcher, const std::string& arguments) const {
    return RunCommand(CommandLine(*this, launcher, arguments));
}

CommandResult CliRun::RunStdout(const std::string& arguments) const {
    // RunCommand joins standard error to the output of the whole command line; inside the
    // group the program's own standard error is sent away before that.
    return RunCommand("{ " + CommandLine(*this, "", arguments) + " 2>/dev/null; }");
}

std::vector<nlohmann::json> JsonLines(const std::string& output) {
    std::vector<nlohmann::json> objects;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(nlohmann::json::parse(line));
    }
    return objects;
}

}  // namespace sonarchive::testing
