// A Vorbis comment written into any file: refused with the file unchanged, or the stream's
// audio packets, their end positions and its figures kept and the comment reading back as
// written.
#include <algorithm>
#include <vector>

#include "formats/ogg_vorbis.h"
#include "ogg_test_files.h"
#include "writer_checks.h"

namespace {

// The audio of a stream: the packets behind the three headers and the granule positions of
// their pages.
struct Audio {
    std::vector<std::string> packets;
    std::vector<std::uint64_t> granules;
    bool operator==(const Audio&) const = default;
};

Audio AudioOf(const std::string& bytes, std::size_t id3v2Size) {
    using sonarchive::testing::ParsedPage;
    const std::vector<ParsedPage> pages = sonarchive::testing::SplitPages(bytes.substr(id3v2Size));
    std::vector<std::string> packets = sonarchive::testing::JoinPackets(pages);
    Audio audio;
    if (packets.size() > 3) {
        audio.packets.assign(packets.begin() + 3, packets.end());
    }
    // The header pages are laid out anew by a write; the pages that begin behind the third
    // packet are the audio's.
    std::size_t packetsEnded = 0;
    for (const ParsedPage& page : pages) {
        if (packetsEnded >= 3) {
            audio.granules.push_back(page.granule);
        }
        packetsEnded += static_cast<std::size_t>(std::count_if(
            page.lacing.begin(), page.lacing.end(),
            [](char lacing) { return static_cast<unsigned char>(lacing) < 255; }));
    }
    return audio;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sonarchive;
    const auto input = fuzz::TakeWriterInput(data, size);
    if (!input) {
        return 0;
    }
    formats::TOggVorbis old;
    const bool readable = old.Read(input->path);
    formats::TOggVorbis ogg;
    fuzz::SetTexts(ogg, input->texts);
    const bool written = ogg.Write(input->path);
    const std::string after = fuzz::CheckedContentAfter(written, *input);
    if (!written) {
        return 0;
    }
    fuzz::Require(readable, "only a stream that reads is written");
    formats::TOggVorbis back;
    fuzz::Require(back.Read(input->path), "the written file reads");
    fuzz::Require(back.ChannelCount() == old.ChannelCount() &&
                      back.SampleRate() == old.SampleRate() && back.Samples() == old.Samples() &&
                      back.ID3v2Size() == old.ID3v2Size(),
                  "the stream's figures are kept");
    fuzz::Require(AudioOf(after, back.ID3v2Size()) == AudioOf(input->before, old.ID3v2Size()),
                  "the audio packets and their positions are kept");
    fuzz::Require(fuzz::HoldsTexts(back, input->texts), "the comment reads back as written");
    return 0;
}
