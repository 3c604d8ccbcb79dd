#include "platform/mountinfo.h"

namespace sonarchive::platform {
namespace {

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// The fields of one line. The kernel separates them by single blanks and escapes blanks inside
// them, so an empty field (a mount without source) shows as two blanks in a row.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto end = line.find(' ', start);
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
}

constexpr std::size_t kFieldsBeforeOptional = 6;  // id, parent, device, root, mount point, options
constexpr std::size_t kFieldsAfterSeparator = 2;  // type and source; the options may be missing

}  // namespace

std::string DecodeMountEscapes(std::string_view field) {
    std::string decoded;
    decoded.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value <= 0xFF) {
                decoded += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        decoded += field[i];
    }
    return decoded;
}

std::vector<MountInfoLine> ParseMountInfo(std::string_view text) {
    std::vector<MountInfoLine> lines;
    std::size_t position = 0;
    while (position < text.size()) {
        auto end = text.find('\n', position);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const auto fields = Fields(text.substr(position, end - position));
        position = end + 1;

        std::size_t separator = kFieldsBeforeOptional;
        while (separator < fields.size() && fields[separator] != "-") {
            ++separator;
        }
        if (separator + kFieldsAfterSeparator >= fields.size() ||
            fields[2].find(':') == std::string_view::npos) {
            continue;
        }
        lines.push_back({std::string(fields[2]), DecodeMountEscapes(fields[3]),
                         DecodeMountEscapes(fields[4]), DecodeMountEscapes(fields[separator + 1]),
                         DecodeMountEscapes(fields[separator + 2])});
    }
    return lines;
}

}  // namespace sonarchive::platform
