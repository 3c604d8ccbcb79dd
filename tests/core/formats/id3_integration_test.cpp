#include <gtest/gtest.h>

#include <map>

#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "support/encoders.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using namespace sonarchive::testing;

std::map<std::string, std::string> ProbedTags(const nlohmann::json& probe) {
    std::map<std::string, std::string> tags;
    if (probe.is_null() || probe.is_discarded()) {
        ADD_FAILURE() << "ffprobe gave no JSON";
        return tags;
    }
    const nlohmann::json found = probe["format"].value("tags", nlohmann::json::object());
    for (const auto& [key, value] : found.items()) {
        tags[key] = value.get<std::string>();
    }
    return tags;
}

bool HasAttachedPicture(const nlohmann::json& probe) {
    for (const auto& stream : probe.value("streams", nlohmann::json::array())) {
        if (stream.value("codec_type", "") == "video" &&
            stream["disposition"].value("attached_pic", 0) == 1) {
            return true;
        }
    }
    return false;
}

// What the id3v2 tool lists of a file's tags.
std::string Listed(const std::string& path) {
    if (!HaveProgram("id3v2")) {
        ADD_FAILURE() << "id3v2 is not installed (scripts/test installs it)";
        return {};
    }
    return RunCommand("id3v2 -l " + ShellQuote(path)).output;
}

bool TagWithId3v2Tool(const std::string& path, const std::string& id3v2Options) {
    if (!HaveProgram("id3v2")) {
        ADD_FAILURE() << "id3v2 is not installed (scripts/test installs it)";
        return false;
    }
    const CommandResult result = RunCommand("id3v2 " + id3v2Options + " " + ShellQuote(path));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.exitCode == 0;
}

// The bytes behind the ID3v2 tag: the audio and whatever follows it.
std::string AfterTag(const std::string& path) {
    TID3v2 id3;
    EXPECT_TRUE(id3.Read(path));
    return ReadBytes(path).substr(id3.Size());
}

class ID3Integration : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(MakeToneWav(wav_, 0.3, 44100, 1)); }

    TempDir dir_;
    std::string wav_ = dir_ / "tone.wav";
    std::string mp3_ = dir_ / "song.mp3";
};

TEST_F(ID3Integration, LameTagsSurviveOurWriteAndOthersReadIt) {
    const std::string cover = dir_ / "cover.png";
    ASSERT_TRUE(RunFfmpeg("-f lavfi -i color=red:s=8x8 -frames:v 1 " + ShellQuote(cover)));
    ASSERT_TRUE(EncodeMp3(wav_, mp3_,
                          "-b 64 --id3v2-only --tt 'T\u00EFtle' --ta Artist --tl Album --ty 1999 "
                          "--tc 'A comment' --tn 3/12 --tg Rock --ti " +
                              ShellQuote(cover) + " --tv TCOM=Composer --tv TXXX=MOOD=Calm"));
    TID3v2 id3;
    ASSERT_TRUE(id3.Read(mp3_));
    EXPECT_EQ(id3.Version(), 3);
    EXPECT_EQ(id3.Title(), "T\u00EFtle");
    EXPECT_EQ(id3.Artist(), "Artist");
    EXPECT_EQ(id3.Album(), "Album");
    EXPECT_EQ(id3.Year(), "1999");
    EXPECT_EQ(id3.Comment(), "A comment");
    EXPECT_EQ(id3.Track(), 3);
    EXPECT_EQ(id3.Genre(), "Rock");
    EXPECT_EQ(id3.Composer(), "Composer");
    const std::string audio = AfterTag(mp3_);

    const std::string title = "N\u00EBw \u0422itle \u65E5\u672C";
    const std::string comment = "\u00DCn\u00EFcode \u30B3\u30E1\u30F3\u30C8";
    id3.SetTitle(title);
    id3.SetComment(comment);
    ASSERT_TRUE(id3.Write(mp3_)) << id3.LastError();
    EXPECT_EQ(AfterTag(mp3_), audio);

    const nlohmann::json probe = Probe(mp3_);
    auto tags = ProbedTags(probe);
    EXPECT_EQ(tags["title"], title);
    EXPECT_EQ(tags["comment"], comment);
    EXPECT_EQ(tags["artist"], "Artist");
    EXPECT_EQ(tags["album"], "Album");
    EXPECT_EQ(tags["date"], "1999");
    EXPECT_EQ(tags["track"], "3/12");
    EXPECT_EQ(tags["genre"], "Rock");
    EXPECT_EQ(tags["composer"], "Composer");
    EXPECT_EQ(tags["MOOD"], "Calm");
    EXPECT_TRUE(HasAttachedPicture(probe));

    const std::string listed = Listed(mp3_);
    EXPECT_NE(listed.find("TALB (Album/Movie/Show title): Album"), std::string::npos) << listed;
    EXPECT_NE(listed.find("TRCK (Track number/Position in set): 3/12"), std::string::npos);
    EXPECT_NE(listed.find("TXXX (User defined text information): (MOOD): Calm"), std::string::npos);
    EXPECT_NE(listed.find("APIC (Attached picture)"), std::string::npos);
}

TEST_F(ID3Integration, ReadsAndRewritesTheId3v2ToolsTags) {
    ASSERT_TRUE(EncodeMp3(wav_, mp3_, "-b 64"));
    ASSERT_TRUE(TagWithId3v2Tool(mp3_,
                                 "-a Artist -A Album -t Title -y 2001 -g 13 -T 5/9 "
                                 "-c '':'Plain comment':eng --TCOM Composer"));
    TID3v2 id3;
    ASSERT_TRUE(id3.Read(mp3_));
    EXPECT_EQ(id3.Title(), "Title");
    EXPECT_EQ(id3.Genre(), "Pop");
    EXPECT_EQ(id3.Track(), 5);
    EXPECT_EQ(id3.Year(), "2001");
    EXPECT_EQ(id3.Comment(), "Plain comment");
    EXPECT_EQ(id3.Composer(), "Composer");
    TID3v1 v1;
    ASSERT_TRUE(v1.Read(mp3_));
    EXPECT_EQ(v1.Title(), "Title");
    EXPECT_EQ(v1.GenreIndex(), 13);
    EXPECT_EQ(v1.Track(), 5);
    const std::string audio = AfterTag(mp3_);

    id3.SetGenre("Jazz");
    id3.SetYear("2002");
    id3.SetEncoder("Encoder");
    ASSERT_TRUE(id3.Write(mp3_)) << id3.LastError();
    EXPECT_EQ(AfterTag(mp3_), audio);  // the ID3v1 tag at the end included
    auto tags = ProbedTags(Probe(mp3_));
    EXPECT_EQ(tags["genre"], "Jazz");
    EXPECT_EQ(tags["date"], "2002");
    EXPECT_EQ(tags["encoded_by"], "Encoder");
    EXPECT_EQ(tags["track"], "5/9");
    const std::string listed = Listed(mp3_);
    EXPECT_NE(listed.find("TYER (Year): 2002"), std::string::npos) << listed;
    EXPECT_NE(listed.find("TCON (Content type): Jazz"), std::string::npos);
    EXPECT_NE(listed.find("COMM (Comments): ()[eng]: Plain comment"), std::string::npos);
    EXPECT_NE(listed.find("TENC (Encoded by): Encoder"), std::string::npos);
}

TEST_F(ID3Integration, ConvertsFfmpegsVersion24Tags) {
    ASSERT_TRUE(RunFfmpeg("-i " + ShellQuote(wav_) +
                          " -metadata title='\u041F\u0440\u0438\u0432\u0435\u0442'"
                          " -metadata artist='\u65E5\u672C\u8A9E' -metadata date=2004-05-06"
                          " -metadata genre=Jazz -metadata track=7 -metadata composer=Composer"
                          " -id3v2_version 4 " +
                          ShellQuote(mp3_)));
    TID3v2 id3;
    ASSERT_TRUE(id3.Read(mp3_));
    EXPECT_EQ(id3.Version(), 4);
    EXPECT_EQ(id3.Title(), "\u041F\u0440\u0438\u0432\u0435\u0442");
    EXPECT_EQ(id3.Artist(), "\u65E5\u672C\u8A9E");
    EXPECT_EQ(id3.Year(), "2004");
    EXPECT_EQ(id3.Genre(), "Jazz");
    EXPECT_EQ(id3.Track(), 7);
    const std::string audio = AfterTag(mp3_);

    id3.SetAlbum("Album");
    ASSERT_TRUE(id3.Write(mp3_)) << id3.LastError();
    EXPECT_EQ(AfterTag(mp3_), audio);
    TID3v2 back;
    ASSERT_TRUE(back.Read(mp3_));
    EXPECT_EQ(back.Version(), 3);
    EXPECT_EQ(back.Fields(), id3.Fields());
    auto tags = ProbedTags(Probe(mp3_));
    EXPECT_EQ(tags["title"], "\u041F\u0440\u0438\u0432\u0435\u0442");
    EXPECT_EQ(tags["artist"], "\u65E5\u672C\u8A9E");
    EXPECT_EQ(tags["album"], "Album");
    EXPECT_EQ(tags["date"], "2004-05-06");
    EXPECT_EQ(tags["composer"], "Composer");
    const std::string listed = Listed(mp3_);
    EXPECT_NE(listed.find("TYER (Year): 2004"), std::string::npos) << listed;
    EXPECT_NE(listed.find("TALB (Album/Movie/Show title): Album"), std::string::npos);
}

TEST_F(ID3Integration, StrippedFilesStillPlay) {
    ASSERT_TRUE(EncodeMp3(wav_, mp3_, "-b 64 --id3v2-only --tt Title --ta Artist"));
    const double duration = ProbedDuration(Probe(mp3_));
    const std::string audio = AfterTag(mp3_);
    TID3v2 id3;
    ASSERT_TRUE(id3.Strip(mp3_)) << id3.LastError();
    EXPECT_EQ(ReadBytes(mp3_), audio);
    const nlohmann::json probe = Probe(mp3_);
    EXPECT_EQ(ProbedTags(probe).count("title"), 0u);
    EXPECT_NEAR(ProbedDuration(probe), duration, 0.03);
    EXPECT_NE(Listed(mp3_).find("No ID3 tag"), std::string::npos);
}

TEST_F(ID3Integration, Id3v1TagsOfLameAndOurs) {
    ASSERT_TRUE(EncodeMp3(wav_, mp3_,
                          "-b 64 --id3v1-only --tt Title --ta Artist --tl Album --ty 1998 "
                          "--tc Comment --tn 5 --tg Jazz"));
    TID3v1 id3;
    ASSERT_TRUE(id3.Read(mp3_));
    EXPECT_TRUE(id3.Exists());
    EXPECT_EQ(id3.Version(), 2);
    EXPECT_EQ(id3.Title(), "Title");
    EXPECT_EQ(id3.Artist(), "Artist");
    EXPECT_EQ(id3.Album(), "Album");
    EXPECT_EQ(id3.Year(), "1998");
    EXPECT_EQ(id3.Comment(), "Comment");
    EXPECT_EQ(id3.Track(), 5);
    EXPECT_EQ(id3.GenreName(), "Jazz");
    const std::string bytes = ReadBytes(mp3_);

    id3.SetTitle("Caf\u00E9");
    id3.SetGenreIndex(static_cast<std::uint8_t>(GenreIndexOf("pop")));
    ASSERT_TRUE(id3.Write(mp3_));
    const std::string written = ReadBytes(mp3_);
    ASSERT_EQ(written.size(), bytes.size());
    EXPECT_EQ(written.substr(0, bytes.size() - 128), bytes.substr(0, bytes.size() - 128));
    auto tags = ProbedTags(Probe(mp3_));
    EXPECT_EQ(tags["artist"], "Artist");
    EXPECT_EQ(tags["genre"], "Pop");
    EXPECT_EQ(tags["track"], "5");
    // ffprobe takes ID3v1 texts for UTF-8; the id3v2 tool shows the ISO-8859-1 byte as it is.
    const std::string listed = Listed(mp3_);
    EXPECT_NE(listed.find("Title  : Caf\xE9 "), std::string::npos) << listed;
}

}  // namespace
}  // namespace sonarchive::formats
