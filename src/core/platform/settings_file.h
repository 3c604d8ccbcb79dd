// The user's settings: one JSON file of named values, the Linux form of a registry key.
//
// Integers are JSON integers, texts JSON strings, binary values {"binary": "<base64>"}. A
// value of another type reads as missing. Every write rewrites the file atomically (temporary
// file, fsync, rename), after re-reading it, so that two programs sharing the file keep each
// other's values. A file that cannot be parsed is moved aside to "<name>.bad" and reads as
// empty, as for a fresh user.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sonarchive::platform {

struct BinaryValue {
    std::string bytes;
    bool operator==(const BinaryValue&) const = default;
};

using SettingValue = std::variant<std::int64_t, std::string, BinaryValue>;

class SettingsFile {
public:
    explicit SettingsFile(std::string path);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    const std::string& Path() const { return path_; }

    // False when the settings cannot be opened: their folder cannot be created or the file
    // cannot be read.
    bool CanOpen();

    std::optional<std::int64_t> ReadInteger(const std::string& name);
    std::optional<std::string> ReadString(const std::string& name);
    std::optional<std::string> ReadBinary(const std::string& name);
    bool Contains(const std::string& name);

    // Writes the values in one atomic rewrite; false when the file cannot be written.
    bool Write(const std::vector<std::pair<std::string, SettingValue>>& values);

private:
    struct Document;
    bool Load();
    bool Save();

    std::string path_;
    std::unique_ptr<Document> document_;
    std::timespec loadedStamp_{};
    std::int64_t loadedSize_ = -1;
};

// RFC 4648 base64, used for binary values.
std::string Base64Encode(const std::string& bytes);
std::optional<std::string> Base64Decode(const std::string& text);

}  // namespace sonarchive::platform
