// Reads the packets of one logical Ogg stream from a file, following their lacing values
// across pages.
//
// Only the bytes asked for are read: skipping part of a packet walks page headers but never
// loads the data it passes over, so a comment packet with large pictures costs a few page
// headers. Every page is checked against the file before it is used; a packet cut short by the
// end of the file, or by a page that does not continue it, simply ends the reading with false.
#pragma once

#include <cstdint>
#include <string>

#include "formats/file_access.h"
#include "formats/ogg_page.h"

namespace sonarchive::formats {

class OggPacketReader {
  public:
    explicit OggPacketReader(const InputFile& file) : file_(file) {}

    // Starts at the first packet of `page` (read with ReadOggPageHeader); its serial number
    // chooses the stream. False when its first packet began on an earlier page.
    bool Start(const OggPageHeader& page);

    // Appends the next `count` bytes of the current packet to `out`; false when the packet or
    // the file ends first (what was there is appended).
    bool Read(std::size_t count, std::string& out);
    bool Skip(std::uint64_t count);
    // Appends everything left of the current packet.
    bool ReadRest(std::string& out);
    // Moves to the start of the next packet of the stream.
    bool NextPacket();

    // Once the current packet has been read to its end: whether it was the last on its page.
    bool PacketEndsPage() const {
        return !broken_ && at_ == runEnd_ && runEndsPacket_ && segment_ == page_.lacing.size();
    }
    const OggPageHeader& Page() const { return page_; }
    // Pages of the stream visited so far, the first one included.
    std::uint32_t PagesVisited() const { return pagesVisited_; }
    // Whether pages of other logical streams were passed over.
    bool PassedOtherStreams() const { return passedOtherStreams_; }

  private:
    // Consumes `count` bytes of the packet, appending them to `out` unless it is null.
    bool Consume(std::uint64_t count, std::string* out);
    // Consumes the rest of the packet.
    bool FinishPacket(std::string* out);
    bool ContinueOnNextPage();
    bool LoadNextPage();
    // Makes the `count` bytes at the current position available in `buffer_`.
    bool Buffer(std::uint64_t count);
    // Marks the packet bytes from the current segment to the packet's end or the page's end.
    void BeginRun();

    const InputFile& file_;
    OggPageHeader page_;
    std::string buffer_;  // file bytes from bufferStart_, never beyond the current page
    std::uint64_t bufferStart_ = 0;
    std::size_t segment_ = 0;  // next segment of the page not yet in a run
    std::uint64_t at_ = 0;     // file offset of the next packet byte
    std::uint64_t runEnd_ = 0;
    bool runEndsPacket_ = false;
    std::uint32_t pagesVisited_ = 0;
    bool passedOtherStreams_ = false;
    bool broken_ = false;  // the packet was cut short: nothing more can be read
};

}  // namespace sonarchive::formats
