// MPEG audio files made by lame and ffmpeg, checked against what ffprobe reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "formats/mpeg_audio.h"
#include "support/encoders.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::EncodeMp3;
using sonarchive::testing::MakeToneWav;
using sonarchive::testing::Probe;
using sonarchive::testing::ProbedDuration;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::RunCommand;
using sonarchive::testing::RunFfmpeg;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

// The frames ffmpeg decodes from the first audio stream; -1 when ffprobe fails.
long CountedFrames(const std::string& path) {
    const auto result = RunCommand(
        "ffprobe -v error -count_frames -select_streams a:0 -show_entries "
        "stream=nb_read_frames -of csv=p=0 " +
        ShellQuote(path));
    return result.exitCode == 0 ? std::stol(result.output) : -1;
}

std::uint8_t VersionOfRate(int sampleRate) {
    if (sampleRate >= 32000) {
        return kMpegVersion1;
    }
    return sampleRate >= 16000 ? kMpegVersion2 : kMpegVersion25;
}

// Reads the file and compares every stream figure with ffprobe's.
TMPEGaudio ReadAndCompare(const std::string& path, bool constantBitRate) {
    SCOPED_TRACE(path);
    TMPEGaudio mpeg;
    EXPECT_TRUE(mpeg.Read(path));
    EXPECT_TRUE(mpeg.Valid());
    const nlohmann::json probe = Probe(path);
    const nlohmann::json& stream = probe["streams"][0];
    const int sampleRate = std::stoi(stream["sample_rate"].get<std::string>());
    const std::string codec = stream["codec_name"];
    EXPECT_EQ(mpeg.SampleRate(), static_cast<std::uint32_t>(sampleRate));
    EXPECT_EQ(mpeg.VersionID(), VersionOfRate(sampleRate));
    EXPECT_EQ(mpeg.LayerID(), codec == "mp3" ? kMpegLayer3 : kMpegLayer2);
    EXPECT_EQ(mpeg.ChannelModeID() == kMpegModeMono, stream["channels"] == 1);

    const double probedRate = std::stod(stream["bit_rate"].get<std::string>()) / 1000;
    if (constantBitRate) {
        EXPECT_EQ(mpeg.BitRate(), probedRate);
    } else {
        EXPECT_NEAR(mpeg.BitRate(), probedRate, probedRate * 0.03);
    }
    const long frames = CountedFrames(path);
    EXPECT_NEAR(static_cast<double>(mpeg.Frames()), frames, std::max(2.0, frames * 0.01));
    const double duration = ProbedDuration(probe);
    EXPECT_NEAR(mpeg.Duration(), duration, std::max(0.05, duration * 0.005));
    return mpeg;
}

TEST(MpegAudioIntegration, LameFilesOfEveryVersionAndMode) {
    TempDir dir;
    const std::string stereo44 = dir / "s44.wav";
    const std::string mono22 = dir / "m22.wav";
    const std::string stereo22 = dir / "s22.wav";
    const std::string mono8 = dir / "m8.wav";
    ASSERT_TRUE(MakeToneWav(stereo44, 2, 44100, 2));
    ASSERT_TRUE(MakeToneWav(mono22, 2, 22050, 1));
    ASSERT_TRUE(MakeToneWav(stereo22, 2, 22050, 2));
    ASSERT_TRUE(MakeToneWav(mono8, 2, 8000, 1));

    struct Case {
        std::string name;
        std::string wav;
        std::string options;
        bool constantBitRate;
        std::uint8_t mode;
    };
    const std::vector<Case> cases = {
        {"cbr128", stereo44, "-b 128", true, 1},
        {"cbr320", stereo44, "-b 320 -m s", true, kMpegModeStereo},
        {"vbr", stereo44, "-V 2", false, 1},
        {"mono", stereo44, "-m m -b 64", true, kMpegModeMono},
        {"mpeg2", stereo22, "-V 5", false, 1},
        {"mpeg2mono", mono22, "-V 5", false, kMpegModeMono},
        {"mpeg25", mono8, "-b 16", true, kMpegModeMono},
        {"notag", stereo44, "-t -b 192", true, 1},
    };
    for (const Case& c : cases) {
        const std::string mp3 = dir / (c.name + ".mp3");
        ASSERT_TRUE(EncodeMp3(c.wav, mp3, c.options));
        const TMPEGaudio mpeg = ReadAndCompare(mp3, c.constantBitRate);
        EXPECT_EQ(mpeg.ChannelModeID(), c.mode) << c.name;
        EXPECT_FALSE(mpeg.Frame().ProtectionBit) << c.name;
        EXPECT_TRUE(mpeg.Frame().OriginalBit) << c.name;
        if (mpeg.VBR().Found) {
            // Every LAME VBR header carries the encoder's version.
            EXPECT_EQ(mpeg.EncoderID(), kEncoderLAME) << c.name;
            EXPECT_EQ(mpeg.Encoder().rfind("LAME 3.", 0), 0u) << mpeg.Encoder();
        }
    }
    // LAME writes its Info header into constant-bit-rate files, and its Xing header into MPEG 2
    // mono files 13 bytes into the frame.
    TMPEGaudio mpeg;
    ASSERT_TRUE(mpeg.Read(dir / "cbr128.mp3"));
    EXPECT_EQ(mpeg.VBR().ID, "Info");
    ASSERT_TRUE(mpeg.Read(dir / "mpeg2mono.mp3"));
    EXPECT_EQ(mpeg.VBR().ID, "Xing");
    ASSERT_TRUE(mpeg.Read(dir / "notag.mp3"));
    EXPECT_FALSE(mpeg.VBR().Found);
}

TEST(MpegAudioIntegration, HeaderFlagsAndLayerTwo) {
    TempDir dir;
    const std::string wav = dir / "t.wav";
    ASSERT_TRUE(MakeToneWav(wav, 1, 44100, 2));

    ASSERT_TRUE(EncodeMp3(wav, dir / "crc.mp3", "-p -b 128"));
    TMPEGaudio mpeg = ReadAndCompare(dir / "crc.mp3", true);
    EXPECT_TRUE(mpeg.Frame().ProtectionBit);
    EXPECT_TRUE(mpeg.VBR().Found);

    ASSERT_TRUE(EncodeMp3(wav, dir / "co.mp3", "-c -o -b 128"));
    mpeg = ReadAndCompare(dir / "co.mp3", true);
    EXPECT_TRUE(mpeg.Frame().CopyrightBit);
    EXPECT_FALSE(mpeg.Frame().OriginalBit);
    EXPECT_EQ(TMPEGaudio::EmphasisName(mpeg.EmphasisID()), "None");

    // ID3 tags around the stream move neither the frame nor the figures.
    ASSERT_TRUE(
        EncodeMp3(wav, dir / "tags.mp3", "-b 128 --add-id3v2 --pad-id3v2 --tt Title --ta Artist"));
    mpeg = ReadAndCompare(dir / "tags.mp3", true);
    EXPECT_TRUE(mpeg.ID3v2().Exists());
    EXPECT_TRUE(mpeg.ID3v1().Exists());
    EXPECT_EQ(mpeg.Frame().Position, 0);

    ASSERT_TRUE(RunFfmpeg("-i " + ShellQuote(wav) + " -c:a mp2 -b:a 192k " +
                          ShellQuote(dir / "layer2.mp2")));
    mpeg = ReadAndCompare(dir / "layer2.mp2", true);
    EXPECT_EQ(TMPEGaudio::LayerName(mpeg.LayerID()), "Layer II");
    EXPECT_EQ(mpeg.BitRate(), 192);
    EXPECT_EQ(mpeg.EncoderID(), kEncoderQDesign);  // the guess knows Layer II only from it
}

TEST(MpegAudioIntegration, AnInfoHeaderBehindJunkStillCountsTheFrames) {
    TempDir dir;
    const std::string wav = dir / "tone.wav";
    const std::string clean = dir / "clean.mp3";
    ASSERT_TRUE(MakeToneWav(wav, 4, 44100, 2));
    ASSERT_TRUE(EncodeMp3(wav, clean, "-b 128"));  // constant bit rate: LAME writes "Info"
    TMPEGaudio plain;
    ASSERT_TRUE(plain.Read(clean));
    ASSERT_EQ(plain.VBR().ID, "Info");

    // A 1024-byte ID3v2.3 tag, then 3000 bytes a ripper left behind, then the stream.
    std::string junked = std::string("ID3\x03\0\0\0\0\x07\x76", 10) + std::string(1014, '\0');
    for (int i = 0; junked.size() < 1024 + 3000; ++i) {
        junked += "leftover " + std::to_string(i) + ' ';
    }
    junked.resize(1024 + 3000);
    const std::string path = dir / "junk.mp3";
    WriteBytes(path, junked + ReadBytes(clean));
    TMPEGaudio mpeg;
    ASSERT_TRUE(mpeg.Read(path));
    ASSERT_TRUE(mpeg.Valid());
    EXPECT_EQ(mpeg.Frame().Position, 3000);
    EXPECT_EQ(mpeg.VBR().ID, "Info");
    EXPECT_EQ(mpeg.Frames(), plain.Frames());
    EXPECT_DOUBLE_EQ(mpeg.Duration(), plain.Duration());
    EXPECT_EQ(mpeg.BitRate(), 128);
    EXPECT_EQ(mpeg.Encoder(), plain.Encoder());
}

}  // namespace
}  // namespace sonarchive::formats
