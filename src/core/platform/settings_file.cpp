#include "platform/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace sonarchive::platform {

struct SettingsFile::Document {
    nlohmann::json values = nlohmann::json::object();
};

namespace {

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool SameStamp(const std::timespec& a, const std::timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool WriteFileDurably(const std::string& path, const std::string& content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

}  // namespace

SettingsFile::SettingsFile(std::string path)
    : path_(std::move(path)), document_(std::make_unique<Document>()) {}

SettingsFile::~SettingsFile() = default;

bool SettingsFile::CanOpen() { return Load(); }

bool SettingsFile::Load() {
    std::error_code error;
    const auto folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
        if (error && !std::filesystem::is_directory(folder)) {
            return false;
        }
    }
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            return false;
        }
        document_->values = nlohmann::json::object();  // a fresh user
        loadedSize_ = -1;
        return true;
    }
    if (!S_ISREG(st.st_mode)) {
        return false;
    }
    if (SameStamp(st.st_mtim, loadedStamp_) && st.st_size == loadedSize_) {
        return true;  // unchanged since the last read
    }
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        return false;
    }
    std::stringstream content;
    content << in.rdbuf();
    auto parsed = nlohmann::json::parse(content.str(), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        std::filesystem::rename(path_, path_ + ".bad", error);
        document_->values = nlohmann::json::object();
        loadedSize_ = -1;
        return !error;
    }
    document_->values = std::move(parsed);
    loadedStamp_ = st.st_mtim;
    loadedSize_ = st.st_size;
    return true;
}

bool SettingsFile::Save() {
    const std::string temporary = path_ + ".tmp";
    if (!WriteFileDurably(temporary, document_->values.dump(2) + "\n")) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), path_.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) {
        loadedStamp_ = st.st_mtim;
        loadedSize_ = st.st_size;
    }
    return true;
}

std::optional<std::int64_t> SettingsFile::ReadInteger(const std::string& name) {
    if (!Load()) {
        return std::nullopt;
    }
    const auto found = document_->values.find(name);
    if (found == document_->values.end() || !found->is_number_integer()) {
        return std::nullopt;
    }
    return found->get<std::int64_t>();
}

std::optional<std::string> SettingsFile::ReadString(const std::string& name) {
    if (!Load()) {
        return std::nullopt;
    }
    const auto found = document_->values.find(name);
    if (found == document_->values.end() || !found->is_string()) {
        return std::nullopt;
    }
    return found->get<std::string>();
}

std::optional<std::string> SettingsFile::ReadBinary(const std::string& name) {
    if (!Load()) {
        return std::nullopt;
    }
    const auto found = document_->values.find(name);
    if (found == document_->values.end() || !found->is_object() || !found->contains("binary") ||
        !(*found)["binary"].is_string()) {
        return std::nullopt;
    }
    return Base64Decode((*found)["binary"].get<std::string>());
}

bool SettingsFile::Contains(const std::string& name) {
    return Load() && document_->values.contains(name);
}

bool SettingsFile::Write(const std::vector<std::pair<std::string, SettingValue>>& values) {
    if (!Load()) {
        return false;
    }
    for (const auto& [name, value] : values) {
        if (const auto* integer = std::get_if<std::int64_t>(&value)) {
            document_->values[name] = *integer;
        } else if (const auto* text = std::get_if<std::string>(&value)) {
            document_->values[name] = *text;
        } else {
            document_->values[name] = {{"binary", Base64Encode(std::get<BinaryValue>(value).bytes)}};
        }
    }
    return Save();
}

std::string Base64Encode(const std::string& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const std::uint32_t v = (static_cast<unsigned char>(bytes[i]) << 16) |
                                (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                                static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64Alphabet[(v >> 18) & 63];
        out += kBase64Alphabet[(v >> 12) & 63];
        out += kBase64Alphabet[(v >> 6) & 63];
        out += kBase64Alphabet[v & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) {
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        out += kBase64Alphabet[(v >> 18) & 63];
        out += kBase64Alphabet[(v >> 12) & 63];
        out += rest == 2 ? kBase64Alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::string> Base64Decode(const std::string& text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(text.size() / 4 * 3);
    std::uint32_t buffer = 0;
    int bits = 0;
    std::size_t padding = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '=') {
            if (i + 2 < text.size()) {
                return std::nullopt;  // padding only at the very end
            }
            ++padding;
            continue;
        }
        if (padding > 0) {
            return std::nullopt;
        }
        const char* at = std::char_traits<char>::find(kBase64Alphabet, 64, c);
        if (at == nullptr) {
            return std::nullopt;
        }
        buffer = (buffer << 6) | static_cast<std::uint32_t>(at - kBase64Alphabet);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return out;
}

}  // namespace sonarchive::platform
