// WAV files made by sox and ffmpeg, checked against what ffprobe reports.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/wav_file.h"
#include "support/encoders.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::MakeToneWav;
using sonarchive::testing::Probe;
using sonarchive::testing::ProbedDuration;
using sonarchive::testing::RunFfmpeg;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;

TWAVfile ReadAndCompare(const std::string& path) {
    SCOPED_TRACE(path);
    TWAVfile wav;
    EXPECT_TRUE(wav.Read(path));
    EXPECT_TRUE(wav.Valid());
    const nlohmann::json probe = Probe(path);
    const nlohmann::json& stream = probe["streams"][0];
    EXPECT_EQ(wav.Channels(), stream["channels"]);
    EXPECT_EQ(wav.SampleRate(),
              static_cast<std::uint32_t>(std::stoi(stream["sample_rate"].get<std::string>())));
    if (stream["bits_per_sample"] != 0) {
        EXPECT_EQ(wav.BitsPerSample(), stream["bits_per_sample"]);
    }
    const double duration = ProbedDuration(probe);
    EXPECT_NEAR(wav.Duration(), duration, std::max(0.05, duration * 0.005));
    EXPECT_LE(wav.HeaderSize() + wav.AudioBytes(),
              std::stoull(probe["format"]["size"].get<std::string>()));
    return wav;
}

TEST(WavFileIntegration, PcmFilesOfSoxAndFfmpeg) {
    TempDir dir;
    ASSERT_TRUE(MakeToneWav(dir / "8.wav", 1.5, 22050, 1, "-b 8"));
    TWAVfile wav = ReadAndCompare(dir / "8.wav");
    EXPECT_EQ(wav.FormatTag(), 1);
    EXPECT_EQ(wav.HeaderSize(), 44u);
    EXPECT_EQ(wav.BlockAlign(), 1);

    ASSERT_TRUE(MakeToneWav(dir / "16.wav", 1.5, 44100, 2, "-b 16"));
    wav = ReadAndCompare(dir / "16.wav");
    EXPECT_EQ(TWAVfile::FormatName(wav.FormatTag()), "Windows PCM");
    EXPECT_EQ(wav.BlockAlign(), 4);
    EXPECT_EQ(wav.BytesPerSecond(), 176400u);

    // sox writes 24-bit samples as WAVE_FORMAT_EXTENSIBLE with a "fact" chunk.
    ASSERT_TRUE(MakeToneWav(dir / "24.wav", 1.5, 48000, 2, "-b 24"));
    wav = ReadAndCompare(dir / "24.wav");
    EXPECT_EQ(wav.FormatTag(), 0xFFFE);
    EXPECT_EQ(wav.BitsPerSample(), 24);

    // ffmpeg puts a LIST chunk between the format and the data.
    ASSERT_TRUE(RunFfmpeg("-i " + ShellQuote(dir / "16.wav") + " -metadata title=x " +
                          ShellQuote(dir / "list.wav")));
    wav = ReadAndCompare(dir / "list.wav");
    EXPECT_EQ(wav.SampleCount(), 0u);
    EXPECT_GT(wav.HeaderSize(), 44u);
}

TEST(WavFileIntegration, CompressedFilesWithAFactChunk) {
    TempDir dir;
    ASSERT_TRUE(MakeToneWav(dir / "alaw.wav", 1.5, 8000, 1, "-e a-law"));
    TWAVfile wav = ReadAndCompare(dir / "alaw.wav");
    EXPECT_EQ(TWAVfile::FormatName(wav.FormatTag()), "A-LAW");
    EXPECT_EQ(wav.SampleCount(), 12000u);

    ASSERT_TRUE(RunFfmpeg("-i " + ShellQuote(dir / "alaw.wav") + " -ar 22050 -c:a adpcm_ima_wav " +
                          ShellQuote(dir / "ima.wav")));
    wav = ReadAndCompare(dir / "ima.wav");
    EXPECT_EQ(TWAVfile::FormatName(wav.FormatTag()), "DVI/IMA ADPCM");
    EXPECT_GT(wav.SampleCount(), 0u);
}

}  // namespace
}  // namespace sonarchive::formats
