// Small helpers shared by the test executables.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace sonarchive::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path of a file or folder inside this folder.
    std::string operator/(std::string_view name) const;

private:
    std::string path_;
};

// A path in `folder` whose file name is as long as the system allows (255 bytes) and ends in
// `extension`: no temporary name can be formed beside the file by appending to its name.
std::string LongestFileName(const TempDir& folder, std::string_view extension);

void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);

struct CommandResult {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

// Runs a shell command line and collects its output.
CommandResult RunCommand(const std::string& commandLine);

// True when a program of that name is on the PATH.
bool HaveProgram(const std::string& name);

// Quotes a text for the shell.
std::string ShellQuote(std::string_view text);

// "insert into TABLE (a, b) values (1, 'x')" for columns and their SQL literals.
std::string InsertStatement(std::string_view table,
                            const std::map<std::string, std::string>& literals);

// Deterministic pseudo-random bytes for robustness tests.
std::string RandomBytes(std::size_t count, unsigned seed);

}  // namespace sonarchive::testing
