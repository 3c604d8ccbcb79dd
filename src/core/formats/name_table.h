// Lookup in the fixed name tables that turn stored codes into the texts the user sees.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sonarchive::formats {

// The name at `index`; empty text for an index outside the table.
template <std::size_t N>
std::string NameAt(const std::array<std::string_view, N>& names, int index) {
    return index >= 0 && index < static_cast<int>(N) ? std::string(names[index]) : std::string();
}

}  // namespace sonarchive::formats
