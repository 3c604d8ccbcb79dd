#include "gui/shell/hand_over_message.h"

#include <algorithm>

#include "text/text.h"

namespace sonarchive::gui {
namespace {

constexpr std::string_view kMagic = "SnA1";

bool AcceptablePath(std::string_view path) {
    return !path.empty() && path.size() <= kMaxHandedPathBytes && path.front() == '/' &&
           path.find('\0') == std::string_view::npos && text::IsValidUtf8(path);
}

void AppendNumber(std::string& out, std::uint32_t number) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((number >> shift) & 0xFF));
    }
}

}  // namespace

std::string EncodeHandOver(const std::vector<std::string>& paths) {
    if (paths.size() > kMaxHandedPaths) {
        return {};
    }
    std::string message(kMagic);
    AppendNumber(message, static_cast<std::uint32_t>(paths.size()));
    for (const std::string& path : paths) {
        if (!AcceptablePath(path)) {
            return {};
        }
        AppendNumber(message, static_cast<std::uint32_t>(path.size()));
        message += path;
    }
    return message.size() <= kMaxHandOverBytes ? message : std::string();
}

HandOverDecoder::State HandOverDecoder::Feed(std::string_view bytes) {
    if (state_ != State::Incomplete) {
        // Nothing may follow a whole message.
        if (!bytes.empty()) {
            state_ = State::Refused;
        }
        return state_;
    }
    received_ += bytes.size();
    if (received_ > kMaxHandOverBytes) {
        state_ = State::Refused;
        return state_;
    }
    pending_.append(bytes);
    state_ = Parse();
    pending_.erase(0, at_);
    at_ = 0;
    if (state_ == State::Complete && !pending_.empty()) {
        state_ = State::Refused;
    }
    return state_;
}

bool HandOverDecoder::TakeNumber(std::uint32_t& number) {
    if (pending_.size() - at_ < 4) {
        return false;
    }
    number = 0;
    for (int i = 0; i < 4; ++i) {
        number = (number << 8) | static_cast<unsigned char>(pending_[at_ + i]);
    }
    at_ += 4;
    return true;
}

HandOverDecoder::State HandOverDecoder::Parse() {
    if (!haveHeader_) {
        if (pending_.size() < kMagic.size() + 4) {
            // A wrong start is refused at once, without waiting for the rest.
            const std::size_t seen = std::min(pending_.size(), kMagic.size());
            return pending_.compare(0, seen, kMagic.substr(0, seen)) == 0 ? State::Incomplete
                                                                          : State::Refused;
        }
        if (pending_.compare(0, kMagic.size(), kMagic) != 0) {
            return State::Refused;
        }
        at_ = kMagic.size();
        TakeNumber(expected_);
        if (expected_ > kMaxHandedPaths) {
            return State::Refused;
        }
        haveHeader_ = true;
    }
    while (paths_.size() < expected_) {
        const std::size_t start = at_;
        std::uint32_t length = 0;
        if (!TakeNumber(length)) {
            return State::Incomplete;
        }
        if (length == 0 || length > kMaxHandedPathBytes) {
            return State::Refused;
        }
        if (pending_.size() - at_ < length) {
            at_ = start;  // the length is read again with the rest of the path
            return State::Incomplete;
        }
        std::string path = pending_.substr(at_, length);
        at_ += length;
        if (!AcceptablePath(path)) {
            return State::Refused;
        }
        paths_.push_back(std::move(path));
    }
    return State::Complete;
}

}  // namespace sonarchive::gui
