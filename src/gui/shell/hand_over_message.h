// What a second start of the program sends to the one already running on its catalog: the
// paths it was given, in the program's form. The bytes come from another process, so the
// reader trusts nothing: every length is bounded before anything is kept, and a message that
// breaks a rule is refused as a whole.
//
// Layout: "SnA1", the number of paths (4 bytes, big-endian), then for each path its length
// in bytes (4 bytes, big-endian) and the UTF-8 bytes. Each path is absolute and holds no NUL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sonarchive::gui {

// Far more than a file manager hands over at once, small enough that a hostile sender cannot
// make the receiver hold much.
inline constexpr std::uint32_t kMaxHandedPaths = 100000;
inline constexpr std::uint32_t kMaxHandedPathBytes = 32768;
inline constexpr std::size_t kMaxHandOverBytes = 16u << 20;

// The message for these paths; empty when they break the rules above (the sender then starts
// no hand-over at all).
std::string EncodeHandOver(const std::vector<std::string>& paths);

// Reads a message as its bytes arrive, in pieces of any size.
class HandOverDecoder {
public:
    enum class State { Incomplete, Complete, Refused };

    State Feed(std::string_view bytes);
    State Current() const { return state_; }
    // The paths, once complete.
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    State Parse();
    bool TakeNumber(std::uint32_t& number);

    std::string pending_;
    std::size_t at_ = 0;
    std::size_t received_ = 0;
    bool haveHeader_ = false;
    std::uint32_t expected_ = 0;
    std::vector<std::string> paths_;
    State state_ = State::Incomplete;
};

}  // namespace sonarchive::gui
