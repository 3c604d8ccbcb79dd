// Ogg Vorbis files made by oggenc and vorbiscomment, read and rewritten, then checked with the
// tools' own readers: ogginfo for the stream structure, oggdec for the audio, vorbiscomment for
// the comment fields, ffprobe for duration and bit rate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "formats/byte_order.h"
#include "formats/ogg_vorbis.h"
#include "ogg_test_files.h"
#include "support/encoders.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::CommandResult;
using sonarchive::testing::LongestFileName;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::RunCommand;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

const std::string kLongComment = "COMMENT=" + std::string(1000, 'k');

std::vector<std::string> CommentLines(const std::string& path) {
    const CommandResult listed = RunCommand("vorbiscomment -l -R " + ShellQuote(path));
    EXPECT_EQ(listed.exitCode, 0) << listed.output;
    std::vector<std::string> lines;
    std::istringstream in(listed.output);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The lines of a tool's output that report problems (the rest repeats the comment, pictures
// included).
std::string ProblemLines(const std::string& output) {
    std::string problems;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.find("WARNING") != std::string::npos || line.find("ERROR") != std::string::npos) {
            problems += line + "\n";
        }
    }
    return problems;
}

void ExpectCleanStream(const std::string& path) {
    const CommandResult info = RunCommand("ogginfo " + ShellQuote(path));
    EXPECT_EQ(info.exitCode, 0) << ProblemLines(info.output);
    EXPECT_EQ(ProblemLines(info.output), "");
}

// A FLAC picture block (front cover) of about `size` bytes, base64-encoded into a comment file
// for vorbiscomment.
void WritePictureComment(const std::string& path, std::size_t size) {
    std::string block;
    const auto appendText = [&](const std::string& text) {
        AppendBE32(block, static_cast<std::uint32_t>(text.size()));
        block += text;
    };
    AppendBE32(block, 3);
    appendText("image/png");
    appendText("cover");
    for (const std::uint32_t value : {1, 1, 24, 0}) {  // width, height, depth, colours
        AppendBE32(block, value);
    }
    appendText(sonarchive::testing::RandomBytes(size * 3 / 4, 17));
    WriteBytes(path + ".bin", block);
    const CommandResult encoded =
        RunCommand("{ printf METADATA_BLOCK_PICTURE=; base64 -w0 " + ShellQuote(path + ".bin") +
                   "; echo; } > " + ShellQuote(path));
    EXPECT_EQ(encoded.exitCode, 0) << encoded.output;
}

std::string DecodedAudio(const std::string& path) {
    const std::string wav = path + ".wav";
    const CommandResult decoded =
        RunCommand("oggdec -Q -o " + ShellQuote(wav) + " " + ShellQuote(path));
    EXPECT_EQ(decoded.exitCode, 0) << decoded.output;
    const std::string audio = ReadBytes(wav);
    std::filesystem::remove(wav);
    return audio;
}

struct EncodedFile {
    int sampleRate;
    int channels;
    std::string comments;      // oggenc options
    std::size_t pictureBytes;  // 0: none
};

// Keeps the test list readable: gtest would otherwise print the parameter's raw bytes.
void PrintTo(const EncodedFile& file, std::ostream* out) {
    *out << file.sampleRate << " Hz, " << file.channels << " channels";
}

class OggVorbisIntegration : public ::testing::TestWithParam<EncodedFile> {
  protected:
    std::string Encode() {
        const EncodedFile& file = GetParam();
        const std::string wav = dir_ / "tone.wav";
        const std::string ogg = dir_ / "tone.ogg";
        EXPECT_TRUE(sonarchive::testing::MakeToneWav(wav, 1.3, file.sampleRate, file.channels));
        EXPECT_TRUE(sonarchive::testing::EncodeOgg(wav, ogg, "-q 2 " + file.comments));
        if (file.pictureBytes > 0) {
            WritePictureComment(dir_ / "picture.txt", file.pictureBytes);
            const CommandResult added =
                RunCommand("vorbiscomment -a -R -c " + ShellQuote(dir_ / "picture.txt") + " " +
                           ShellQuote(ogg));
            EXPECT_EQ(added.exitCode, 0) << added.output;
        }
        return ogg;
    }

    // Writes a new title and checks the stream, the audio and every other comment field.
    void RewriteTitle(const std::string& path, const std::string& streamPath,
                      const std::string& title) {
        const std::string audio = DecodedAudio(streamPath);
        std::vector<std::string> expected = CommentLines(streamPath);
        const auto titleLine = std::find_if(expected.begin(), expected.end(), [](auto& line) {
            return line.rfind("title=", 0) == 0 || line.rfind("TITLE=", 0) == 0;
        });
        ASSERT_NE(titleLine, expected.end());
        *titleLine = "TITLE=" + title;

        TOggVorbis ogg;
        ASSERT_TRUE(ogg.Read(path)) << ogg.LastError();
        ogg.SetTitle(title);
        ASSERT_TRUE(ogg.Write(path)) << ogg.LastError();

        ExpectCleanStream(streamPath);
        EXPECT_EQ(DecodedAudio(streamPath), audio);
        EXPECT_EQ(CommentLines(streamPath), expected);
        TOggVorbis back;
        ASSERT_TRUE(back.Read(path));
        EXPECT_EQ(back.Title(), title);
    }

    TempDir dir_;
};

TEST_P(OggVorbisIntegration, ReadsWhatOggencWroteAndAgreesWithFfprobe) {
    const std::string path = Encode();
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path)) << ogg.LastError();
    EXPECT_TRUE(ogg.Valid());
    EXPECT_EQ(ogg.ChannelCount(), GetParam().channels);
    EXPECT_EQ(ogg.SampleRate(), static_cast<std::uint32_t>(GetParam().sampleRate));
    EXPECT_EQ(ogg.Title(), "Tone");
    EXPECT_EQ(ogg.Artist(), "Bj\xC3\xB6rk Gu\xC3\xB0mundsd\xC3\xB3ttir");
    EXPECT_EQ(ogg.Track(), 7);
    EXPECT_EQ(ogg.Comment(), kLongComment.substr(8));
    EXPECT_EQ(ogg.Date(), "2004");
    EXPECT_NE(ogg.Vendor().find("libVorbis"), std::string::npos);

    const nlohmann::json probe = sonarchive::testing::Probe(path);
    const double probed = sonarchive::testing::ProbedDuration(probe);
    EXPECT_NEAR(ogg.Duration(), probed, std::max(0.05, probed * 0.005));
    const double probedRate = std::stod(probe["format"]["bit_rate"].get<std::string>()) / 1000;
    EXPECT_NEAR(ogg.BitRate(), probedRate, 1.0);
    for (const auto& stream : probe["streams"]) {
        if (stream["codec_type"] == "audio") {
            EXPECT_NEAR(ogg.NominalBitRate(),
                        std::stod(stream["bit_rate"].get<std::string>()) / 1000, 0.5);
        }
    }
}

TEST_P(OggVorbisIntegration, RewritesTitlesKeepingAudioAndEveryOtherField) {
    const std::string path = Encode();
    const auto pageCount = [&] { return sonarchive::testing::SplitPages(ReadBytes(path)).size(); };
    RewriteTitle(path, path, "T");
    const std::size_t pages = pageCount();
    // A title that needs another header page: every audio page is renumbered.
    RewriteTitle(path, path, "Long \xE2\x80\x94 " + std::string(64000, 'x'));
    EXPECT_EQ(pageCount(), pages + 1);
    RewriteTitle(path, path, "Short again");
    EXPECT_EQ(pageCount(), pages);
}

TEST_P(OggVorbisIntegration, KeepsAnId3v2TagInFrontOfTheStream) {
    const std::string encoded = Encode();
    const std::string id3 = sonarchive::testing::MakeId3v2Tag(2048);
    const std::string tagged = dir_ / "tagged.ogg";
    WriteBytes(tagged, id3 + ReadBytes(encoded));

    // The stream behind the tag, for the tools that do not skip ID3v2.
    const std::string stream = dir_ / "stream.ogg";
    const auto extractStream = [&] {
        const std::string bytes = ReadBytes(tagged);
        EXPECT_EQ(bytes.substr(0, id3.size()), id3);
        WriteBytes(stream, bytes.substr(id3.size()));
    };
    extractStream();
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(tagged));
    EXPECT_EQ(ogg.ID3v2Size(), id3.size());
    const std::string audio = DecodedAudio(stream);
    const std::vector<std::string> before = CommentLines(stream);

    ogg.SetTitle("Behind a tag");
    ASSERT_TRUE(ogg.Write(tagged)) << ogg.LastError();
    extractStream();
    ExpectCleanStream(stream);
    EXPECT_EQ(DecodedAudio(stream), audio);
    const std::vector<std::string> after = CommentLines(stream);
    EXPECT_NE(std::find(after.begin(), after.end(), "TITLE=Behind a tag"), after.end());
    EXPECT_EQ(after.size(), before.size());
}

TEST_P(OggVorbisIntegration, AFailedWriteLeavesTheFileAsItWas) {
    // No temporary copy can be made beside a name as long as the system allows.
    const std::string path = LongestFileName(dir_, ".ogg");
    std::filesystem::rename(Encode(), path);
    const std::string bytes = ReadBytes(path);
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Read(path));
    ogg.SetTitle(std::string(100000, 'n'));
    EXPECT_FALSE(ogg.Write(path));
    EXPECT_EQ(ReadBytes(path), bytes);
}

const std::string kComments =
    "-t Tone -c 'artist=Bj\xC3\xB6rk Gu\xC3\xB0mundsd\xC3\xB3ttir' -c TRACKNUMBER=7/12 "
    "-c DATE=2004 -c " +
    ShellQuote(kLongComment) +
    " -c REPLAYGAIN_TRACK_GAIN=-6.50 -c MUSICBRAINZ_TRACKID=0c4b7e3a-1f0e-4a43-9a6b-3c1d2f9a1b2c";

INSTANTIATE_TEST_SUITE_P(Encodings, OggVorbisIntegration,
                         ::testing::Values(EncodedFile{44100, 1, kComments, 0},
                                           EncodedFile{48000, 2, kComments, 100 * 1024}),
                         [](const auto& test) {
                             return std::to_string(test.param.sampleRate) + "Hz" +
                                    std::to_string(test.param.channels) + "ch" +
                                    (test.param.pictureBytes > 0 ? "Picture" : "");
                         });

}  // namespace
}  // namespace sonarchive::formats
