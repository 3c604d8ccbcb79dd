#include <gtest/gtest.h>

#include <cmath>

#include "format_bytes.h"
#include "formats/byte_order.h"
#include "formats/wav_file.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::RandomBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::RiffChunk;

std::string SampleWav() {
    std::string format;
    AppendLE16(format, 17);
    AppendLE16(format, 2);
    AppendLE32(format, 22050);
    AppendLE32(format, 22311);
    AppendLE16(format, 2048);
    AppendLE16(format, 4);
    format += std::string("\x02\0\xf9\x07", 4);
    std::string fact;
    AppendLE32(fact, 44100);
    const std::string chunks = RiffChunk("fmt ", format) + RiffChunk("fact", fact) +
                               RiffChunk("LIST", "INFOISFT\x05\0\0\0sox!") +
                               RiffChunk("data", std::string(600, '\x11'));
    std::string riff = "RIFF";
    AppendLE32(riff, static_cast<std::uint32_t>(chunks.size() + 4));
    return riff + "WAVE" + chunks;
}

// Whatever the bytes, a read finishes with figures that fit the file, or fails (the file is
// there, so only for figures no recording has) and leaves none.
void ExpectSaneRead(const std::string& path, std::uint64_t fileSize) {
    TWAVfile wav;
    if (!wav.Read(path)) {
        EXPECT_EQ(wav.LastError().rfind("impossible", 0), 0u) << wav.LastError();
        EXPECT_FALSE(wav.Valid());
        EXPECT_EQ(wav.Duration(), 0);
        return;
    }
    EXPECT_LE(wav.AudioBytes(), fileSize);
    EXPECT_LE(wav.HeaderSize(), std::max<std::uint64_t>(fileSize, wav.FileSize()));
    EXPECT_TRUE(std::isfinite(wav.Duration()));
    EXPECT_GE(wav.Duration(), 0);
    if (!wav.Valid()) {
        EXPECT_EQ(wav.Duration(), 0);
    }
}

TEST(WavFileRobustness, TruncatedMutatedAndRandomFiles) {
    TempDir dir;
    const std::string path = dir / "r.wav";
    const std::string sample = SampleWav();
    for (std::size_t length = 0; length <= sample.size(); length += 3) {
        WriteBytes(path, sample.substr(0, length));
        ExpectSaneRead(path, length);
    }
    for (unsigned seed = 0; seed < 150; ++seed) {
        std::string bytes = sample;
        const std::string noise = RandomBytes(16, seed);
        for (std::size_t i = 0; i + 1 < noise.size(); i += 2) {
            bytes[static_cast<unsigned char>(noise[i]) % 120] = noise[i + 1];
        }
        WriteBytes(path, bytes);
        ExpectSaneRead(path, bytes.size());
        const std::string random = "RIFF" + RandomBytes(4 + seed % 200, seed);
        WriteBytes(path, random);
        ExpectSaneRead(path, random.size());
    }
}

TEST(WavFileRobustness, ThousandsOfTinyChunksEndTheWalk) {
    TempDir dir;
    const std::string path = dir / "many.wav";
    std::string chunks = RiffChunk("fmt ", std::string(16, '\x01'));
    for (int i = 0; i < 100000; ++i) {
        chunks += RiffChunk("JUNK", "");
    }
    WriteBytes(path, "RIFF\xff\xff\xff\xffWAVE" + chunks + RiffChunk("data", "xx"));
    TWAVfile wav;
    EXPECT_FALSE(wav.Read(path)) << "the format chunk says 257 channels";
    EXPECT_EQ(wav.AudioBytes(), 0u);
}

}  // namespace
}  // namespace sonarchive::formats
