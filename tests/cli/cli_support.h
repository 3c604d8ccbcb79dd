// Running sonarchive-cli as a user would, on a catalog and settings of the test's own.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace sonarchive::testing {

class CliRun {
public:
    CliRun();

    // Runs "sonarchive-cli --data-dir <data> <arguments>" with standard input from /dev/null
    // (no terminal) and the settings in a folder of the test's own.
    CommandResult Run(const std::string& arguments) const;
    // The same, with separate standard output only.
    CommandResult RunStdout(const std::string& arguments) const;
    // Run, with the program started through `launcher` ("unshare -n").
    CommandResult RunUnder(const std::string& launcher, const std::string& arguments) const;

    std::string DataDir() const { return dir / "data"; }
    std::string ConfigDir() const { return dir / "config"; }

    TempDir dir;
};

// One object per line of a --json output.
std::vector<nlohmann::json> JsonLines(const std::string& output);

}  // namespace sonarchive::testing
