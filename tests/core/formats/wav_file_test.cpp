#include "formats/wav_file.h"

#include <gtest/gtest.h>

#include "format_bytes.h"
#include "formats/byte_order.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using namespace std::string_literals;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::Le32;
using testing::RiffChunk;

// A WAVEFORMATEX body; `extra` follows the 16 basic bytes.
std::string Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                   std::uint16_t blockAlign, std::uint16_t bits, std::string_view extra = {}) {
    std::string out;
    AppendLE16(out, tag);
    AppendLE16(out, channels);
    AppendLE32(out, rate);
    AppendLE32(out, rate * blockAlign);
    AppendLE16(out, blockAlign);
    AppendLE16(out, bits);
    out += extra;
    return out;
}

std::string Riff(const std::string& chunks, std::optional<std::uint32_t> size = std::nullopt) {
    std::string out = "RIFF";
    AppendLE32(out, size.value_or(static_cast<std::uint32_t>(chunks.size() + 4)));
    return out + "WAVE" + chunks;
}

TWAVfile ReadWav(const TempDir& dir, const std::string& bytes) {
    const std::string path = dir / "t.wav";
    WriteBytes(path, bytes);
    TWAVfile wav;
    EXPECT_TRUE(wav.Read(path));
    return wav;
}

TEST(WavFile, PcmWithDataRightAfterTheFormatChunk) {
    TempDir dir;
    const TWAVfile wav = ReadWav(dir, Riff(RiffChunk("fmt ", Format(1, 2, 44100, 4, 16)) +
                                           RiffChunk("data", std::string(17640, 'x'))));
    ASSERT_TRUE(wav.Valid());
    EXPECT_EQ(wav.FormatTag(), 1);
    EXPECT_EQ(wav.Channels(), 2);
    EXPECT_EQ(wav.SampleRate(), 44100u);
    EXPECT_EQ(wav.BytesPerSecond(), 176400u);
    EXPECT_EQ(wav.BlockAlign(), 4);
    EXPECT_EQ(wav.BitsPerSample(), 16);
    EXPECT_EQ(wav.SampleCount(), 0u);
    EXPECT_EQ(wav.HeaderSize(), 44u);
    EXPECT_EQ(wav.FileSize(), 44u + 17640);
    EXPECT_DOUBLE_EQ(wav.Duration(), 0.1);
}

TEST(WavFile, ChunksBeforeTheDataAreWalkedNotTakenForASampleCount) {
    TempDir dir;
    // A LIST chunk of odd length (with its pad byte) between format and data, as many
    // programs write it: its first word is no sample count.
    const std::string list = RiffChunk("LIST", "INFOINAM\x03\0\0\0abc"s);
    TWAVfile wav = ReadWav(dir, Riff(RiffChunk("fmt ", Format(1, 1, 8000, 1, 8)) + list +
                                     RiffChunk("data", std::string(4000, 'x'))));
    ASSERT_TRUE(wav.Valid());
    EXPECT_EQ(wav.SampleCount(), 0u);
    EXPECT_EQ(wav.HeaderSize(), 12u + 24 + list.size() + 8);
    EXPECT_DOUBLE_EQ(wav.Duration(), 0.5);

    // A "JUNK" chunk before the format chunk, as Broadcast WAV writers reserve it.
    wav = ReadWav(dir, Riff(RiffChunk("JUNK", std::string(28, '\0')) +
                            RiffChunk("fmt ", Format(1, 1, 8000, 1, 8)) +
                            RiffChunk("data", std::string(800, 'x'))));
    ASSERT_TRUE(wav.Valid());
    EXPECT_DOUBLE_EQ(wav.Duration(), 0.1);
}

TEST(WavFile, CompressedAudioTakesItsLengthFromTheFactChunk) {
    TempDir dir;
    // IMA ADPCM: 20-byte format chunk, "fact" with 22050 samples, fewer data bytes than the
    // average byte rate would suggest.
    TWAVfile wav = ReadWav(
        dir, Riff(RiffChunk("fmt ", Format(17, 1, 22050, 512, 4, "\x02\0\xf9\x03"s)) +
                  RiffChunk("fact", Le32(22050)) + RiffChunk("data", std::string(3000, 'x'))));
    ASSERT_TRUE(wav.Valid());
    EXPECT_EQ(wav.FormatTag(), 17);
    EXPECT_EQ(TWAVfile::FormatName(wav.FormatTag()), "DVI/IMA ADPCM");
    EXPECT_EQ(wav.SampleCount(), 22050u);
    EXPECT_EQ(wav.HeaderSize(), 12u + 28 + 12 + 8);
    EXPECT_DOUBLE_EQ(wav.Duration(), 1.0);

    // Plain samples in WAVE_FORMAT_EXTENSIBLE with a stale "fact" chunk: the data decides.
    const std::string extensible =
        "\x16\0\x18\0\x04\0\0\0\x01\0\0\0\0\0\x10\0\x80\0\0\xaa\0\x38\x9b\x71"s;
    wav = ReadWav(dir,
                  Riff(RiffChunk("fmt ", Format(0xFFFE, 1, 8000, 3, 24, extensible)) +
                       RiffChunk("fact", Le32(99999)) + RiffChunk("data", std::string(2400, 'x'))));
    ASSERT_TRUE(wav.Valid());
    EXPECT_EQ(wav.FormatTag(), 0xFFFE);
    EXPECT_EQ(TWAVfile::FormatName(wav.FormatTag()), "");
    EXPECT_DOUBLE_EQ(wav.Duration(), 0.1);
}

TEST(WavFile, SizesAreBoundedByTheFile) {
    TempDir dir;
    // A streamed file: data and RIFF sizes left at their maximum.
    TWAVfile wav = ReadWav(dir, Riff(RiffChunk("fmt ", Format(1, 1, 8000, 1, 8)) + "data" +
                                         Le32(0xFFFFFFFF) + std::string(800, 'x'),
                                     0xFFFFFFFF));
    ASSERT_TRUE(wav.Valid());
    EXPECT_EQ(wav.AudioBytes(), 800u);
    EXPECT_EQ(wav.FileSize(), 0xFFFFFFFFull + 8);
    EXPECT_DOUBLE_EQ(wav.Duration(), 0.1);

    // A RIFF size smaller than the header: no sound data is trusted.
    wav = ReadWav(dir, Riff(RiffChunk("fmt ", Format(1, 1, 8000, 1, 8)) +
                                RiffChunk("data", std::string(800, 'x')),
                            20));
    ASSERT_TRUE(wav.Valid());
    EXPECT_EQ(wav.HeaderSize(), 28u);
    EXPECT_EQ(wav.Duration(), 0);

    // No data chunk at all; a chunk size pointing far past the end ends the walk.
    wav = ReadWav(dir, Riff(RiffChunk("fmt ", Format(1, 1, 8000, 1, 8)) + "LIST" + Le32(1u << 30)));
    ASSERT_TRUE(wav.Valid());
    EXPECT_EQ(wav.AudioBytes(), 0u);
    EXPECT_EQ(wav.HeaderSize(), wav.FileSize());
    EXPECT_EQ(wav.Duration(), 0);
}

TEST(WavFile, HeadersThatAreNotAcceptedReadAsInvalid) {
    TempDir dir;
    const std::string data = RiffChunk("data", std::string(100, 'x'));
    EXPECT_FALSE(ReadWav(dir, Riff(RiffChunk("fmt ", Format(1, 6, 8000, 6, 8)) + data)).Valid());
    EXPECT_FALSE(ReadWav(dir, Riff(data)).Valid());
    EXPECT_FALSE(ReadWav(dir, Riff(data + RiffChunk("fmt ", Format(1, 1, 8000, 1, 8)))).Valid());
    EXPECT_FALSE(ReadWav(dir, Riff(RiffChunk("fmt ", "short"))).Valid());
    std::string notWave = Riff(RiffChunk("fmt ", Format(1, 1, 8000, 1, 8)) + data);
    notWave.replace(8, 4, "AVI ");
    EXPECT_FALSE(ReadWav(dir, notWave).Valid());
    EXPECT_FALSE(ReadWav(dir, "RIFF").Valid());
    EXPECT_FALSE(ReadWav(dir, "").Valid());
    EXPECT_EQ(ReadWav(dir, "").Duration(), 0);

    TWAVfile wav;
    EXPECT_FALSE(wav.Read(dir / "missing.wav"));
    EXPECT_FALSE(wav.LastError().empty());
    EXPECT_FALSE(wav.Read(dir.Path()));
}

TEST(WavFile, ChunksBehindTheDataAreNoSound) {
    // Writers put tags behind the sound data: a LIST chunk, or an "id3 " chunk.
    TempDir dir;
    for (const char* id : {"LIST", "id3 "}) {
        const TWAVfile wav = ReadWav(dir, Riff(RiffChunk("fmt ", Format(1, 1, 8000, 1, 8)) +
                                               RiffChunk("data", std::string(4000, 'x')) +
                                               RiffChunk(id, std::string(3000, 't'))));
        ASSERT_TRUE(wav.Valid()) << id;
        EXPECT_EQ(wav.AudioBytes(), 4000u) << id;
        EXPECT_EQ(wav.HeaderSize(), 44u) << id;
        EXPECT_DOUBLE_EQ(wav.Duration(), 0.5) << id;
    }
}

TEST(WavFile, ImpossibleFiguresMakeTheReadFail) {
    TempDir dir;
    const std::string path = dir / "t.wav";
    const auto read = [&](const std::string& format, const std::string& more = "") {
        WriteBytes(path, Riff(RiffChunk("fmt ", format) + more +
                              RiffChunk("data", std::string(100, 'x'))));
        TWAVfile wav;
        return wav.Read(path);
    };
    EXPECT_TRUE(read(Format(1, 2, 44100, 4, 16)));
    EXPECT_FALSE(read(Format(1, 0, 44100, 4, 16)));
    EXPECT_FALSE(read(Format(1, 33, 44100, 4, 16)));
    // A channel count whose low byte alone would look like mono.
    EXPECT_FALSE(read(Format(1, 257, 8000, 1, 8)));
    EXPECT_FALSE(read(Format(1, 1, 0, 2, 16)));
    EXPECT_FALSE(read(Format(1, 1, 1536001, 2, 16)));
    EXPECT_FALSE(read(Format(1, 1, 44100, 2, 0)));
    EXPECT_FALSE(read(Format(1, 1, 44100, 9, 65)));
    EXPECT_FALSE(read(Format(0xFFFE, 1, 44100, 9, 65)));
    // MPEG audio in a WAV file states no sample width: that is no damage.
    EXPECT_TRUE(read(Format(85, 1, 44100, 1, 0)));
    // A compressed stream counts its samples: 2^32 - 1 at 1 Hz are 136 years.
    EXPECT_FALSE(read(Format(2, 1, 1, 1, 4), RiffChunk("fact", Le32(0xFFFFFFFF))));
    EXPECT_TRUE(read(Format(2, 1, 1, 1, 4), RiffChunk("fact", Le32(30 * 24 * 3600))));
}

TEST(WavFile, NameTables) {
    EXPECT_EQ(TWAVfile::FormatName(1), "Windows PCM");
    EXPECT_EQ(TWAVfile::FormatName(2), "Microsoft ADPCM");
    EXPECT_EQ(TWAVfile::FormatName(6), "A-LAW");
    EXPECT_EQ(TWAVfile::FormatName(7), "MU-LAW");
    EXPECT_EQ(TWAVfile::FormatName(85), "MPEG Layer III");
    EXPECT_EQ(TWAVfile::FormatName(3), "");
    EXPECT_EQ(TWAVfile::ChannelName(0), "Unknown");
    EXPECT_EQ(TWAVfile::ChannelName(1), "Mono");
    EXPECT_EQ(TWAVfile::ChannelName(2), "Stereo");
    EXPECT_EQ(TWAVfile::ChannelName(6), "Unknown");
}

}  // namespace
}  // namespace sonarchive::formats
