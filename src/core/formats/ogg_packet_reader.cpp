#include "formats/ogg_packet_reader.h"

#include <algorithm>

namespace sonarchive::formats {
namespace {

// Packet bytes are read a few kilobytes at a time: a comment header's fields are small, and
// the data of a page is loaded only as far as it is read.
constexpr std::uint64_t kReadAhead = 4096;

}  // namespace

bool OggPacketReader::Start(const OggPageHeader& page) {
    if (page.Continued()) {
        return false;
    }
    page_ = page;
    pagesVisited_ = 1;
    passedOtherStreams_ = false;
    broken_ = false;
    segment_ = 0;
    at_ = page_.DataOffset();
    BeginRun();
    return true;
}

void OggPacketReader::BeginRun() {
    runEnd_ = at_;
    runEndsPacket_ = false;
    while (segment_ < page_.lacing.size() && !runEndsPacket_) {
        const std::uint8_t value = page_.LacingValue(segment_++);
        runEnd_ += value;
        runEndsPacket_ = value < 255;
    }
}

bool OggPacketReader::LoadNextPage() {
    std::uint64_t offset = page_.End();
    for (;;) {
        auto page = ReadOggPageHeader(file_, offset);
        if (!page) {
            return false;
        }
        if (page->serialNumber == page_.serialNumber) {
            page_ = std::move(*page);
            ++pagesVisited_;
            segment_ = 0;
            at_ = page_.DataOffset();
            return true;
        }
        passedOtherStreams_ = true;
        offset = page->End();
    }
}

bool OggPacketReader::Buffer(std::uint64_t count) {
    if (at_ >= bufferStart_ && at_ + count <= bufferStart_ + buffer_.size()) {
        return true;
    }
    const std::uint64_t wanted = std::min(std::max(count, kReadAhead), page_.End() - at_);
    auto bytes = file_.ReadAt(at_, static_cast<std::size_t>(wanted));
    if (!bytes) {
        return false;
    }
    buffer_ = std::move(*bytes);
    bufferStart_ = at_;
    return true;
}

bool OggPacketReader::ContinueOnNextPage() {
    // A packet goes on only on a later page that says it continues one.
    if (!LoadNextPage() || !page_.Continued()) {
        broken_ = true;
        return false;
    }
    BeginRun();
    return true;
}

bool OggPacketReader::Consume(std::uint64_t count, std::string* out) {
    if (broken_) {
        return false;
    }
    while (count > 0) {
        if (at_ == runEnd_) {
            if (runEndsPacket_ || !ContinueOnNextPage()) {
                return false;
            }
            continue;
        }
        const std::uint64_t chunk = std::min(count, runEnd_ - at_);
        if (out != nullptr) {
            if (!Buffer(chunk)) {
                broken_ = true;
                return false;
            }
            out->append(buffer_, static_cast<std::size_t>(at_ - bufferStart_),
                        static_cast<std::size_t>(chunk));
        }
        at_ += chunk;
        count -= chunk;
    }
    return true;
}

bool OggPacketReader::FinishPacket(std::string* out) {
    for (;;) {
        if (!Consume(runEnd_ - at_, out)) {
            return false;
        }
        if (runEndsPacket_) {
            return true;
        }
        if (!ContinueOnNextPage()) {
            return false;
        }
    }
}

bool OggPacketReader::Read(std::size_t count, std::string& out) {
    return Consume(count, &out);
}

bool OggPacketReader::Skip(std::uint64_t count) {
    return Consume(count, nullptr);
}

bool OggPacketReader::ReadRest(std::string& out) {
    return FinishPacket(&out);
}

bool OggPacketReader::NextPacket() {
    if (!FinishPacket(nullptr)) {
        return false;
    }
    while (segment_ == page_.lacing.size()) {
        if (!LoadNextPage() || page_.Continued()) {
            broken_ = true;
            return false;
        }
    }
    BeginRun();
    return true;
}

}  // namespace sonarchive::formats
