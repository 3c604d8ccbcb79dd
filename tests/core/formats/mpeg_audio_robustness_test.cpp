#include <gtest/gtest.h>

#include <cmath>

#include "format_bytes.h"
#include "formats/byte_order.h"
#include "formats/mpeg_audio.h"
#include "formats/mpeg_stream.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::RandomBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::Frame;
using testing::Frames;
using testing::HeaderBits;

std::string VbrStream() {
    std::string xing = std::string(32, '\0') + "Xing";
    AppendBE32(xing, 15);
    AppendBE32(xing, 30);
    AppendBE32(xing, 30 * 417);
    xing += std::string(100, '\x10');
    AppendBE32(xing, 50);
    xing += "LAME3.100";
    return Frame(HeaderBits(), 417, xing) + Frames(HeaderBits(), 417, 30);
}

// Every figure is finite and non-negative whatever the bytes.
void ExpectSaneAnalysis(const std::string& path, const std::string& bytes, std::uint64_t audioStart,
                        std::uint64_t tail) {
    WriteBytes(path, bytes);
    const auto a = AnalyseMpegStream(InputFile(path), audioStart, tail);
    ASSERT_TRUE(a.has_value());
    EXPECT_TRUE(std::isfinite(a->Duration()));
    EXPECT_GE(a->Duration(), 0);
    EXPECT_GE(a->Frames(), 0);
    EXPECT_LE(a->AudioBytes, bytes.size());
    a->BitRate();
    a->Encoder();
    if (a->Frame.Found) {
        EXPECT_LE(a->Frame.Position, static_cast<std::int64_t>(kMpegJunkReach));
    }
}

TEST(MpegStreamRobustness, TruncatedMutatedAndRandomStreams) {
    TempDir dir;
    const std::string path = dir / "r.mp3";
    const std::string sample = VbrStream();
    for (std::size_t length = 0; length <= 1400; length += 9) {
        ExpectSaneAnalysis(path, sample.substr(0, length), 0, 0);
    }
    for (unsigned seed = 0; seed < 150; ++seed) {
        std::string bytes = sample;
        const std::string noise = RandomBytes(12, seed);
        for (std::size_t i = 0; i + 1 < noise.size(); i += 2) {
            bytes[static_cast<unsigned char>(noise[i]) % 200] = noise[i + 1];
        }
        ExpectSaneAnalysis(path, bytes, seed % 3, seed % 2 ? 128 : 0);
        // Random bytes dense with frame syncs.
        std::string random = RandomBytes(100 + seed * 40, seed);
        for (std::size_t i = seed % 7; i < random.size(); i += 13) {
            random[i] = '\xff';
        }
        ExpectSaneAnalysis(path, random, 0, 0);
    }
    // Tags said to be larger than the file.
    ExpectSaneAnalysis(path, sample, sample.size() + 10, 0);
    ExpectSaneAnalysis(path, sample, 0, sample.size() + 10);
    ExpectSaneAnalysis(path, "", 0, 128);
}

TEST(MpegAudioRobustness, HostileTagSizesAroundAStream) {
    TempDir dir;
    const std::string path = dir / "t.mp3";
    const std::string stream = VbrStream();
    for (unsigned seed = 0; seed < 60; ++seed) {
        // An ID3v2 header whose size field is random, in front of the stream.
        const std::string bytes = "ID3\x03\0\0" + RandomBytes(4, seed) + stream;
        WriteBytes(path, bytes);
        TMPEGaudio mpeg;
        ASSERT_TRUE(mpeg.Read(path));
        EXPECT_LE(mpeg.ID3v2().Size(), bytes.size());
        EXPECT_TRUE(std::isfinite(mpeg.Duration()));
        mpeg.Valid();
    }
}

}  // namespace
}  // namespace sonarchive::formats
