#include "support/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace sonarchive::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sonarchive-test-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests make files read-only; give the owner rights back so that removal succeeds.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::operator/(std::string_view name) const {
    return path_ + "/" + std::string(name);
}

std::string LongestFileName(const TempDir& folder, std::string_view extension) {
    constexpr std::size_t kNameMax = 255;
    return folder / (std::string(kNameMax - extension.size(), 'x') + std::string(extension));
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

CommandResult RunCommand(const std::string& commandLine) {
    CommandResult result;
    const std::string full = commandLine + " 2>&1";
    FILE* pipe = ::popen(full.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool HaveProgram(const std::string& name) {
    return RunCommand("command -v " + ShellQuote(name) + " >/dev/null").exitCode == 0;
}

std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (auto& b : bytes) {
        b = static_cast<char>(byte(generator));
    }
    return bytes;
}

std::string InsertStatement(std::string_view table,
                            const std::map<std::string, std::string>& literals) {
    std::string names;
    std::string values;
    for (const auto& [column, literal] : literals) {
        names += (names.empty() ? "" : ", ") + column;
        values += (values.empty() ? "" : ", ") + literal;
    }
    return "insert into " + std::string(table) + " (" + names + ") values (" + values + ")";
}

}  // namespace sonarchive::testing
