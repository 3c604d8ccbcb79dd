#include "organize/duplicates.h"

#include <gtest/gtest.h>

#include <random>

#include "organize/audio_signature.h"
#include "organize_fixture.h"

namespace sonarchive::organize {
namespace {

using testing::OrganizeTest;
using testing::RowTags;

class InMemorySignatures : public SignatureSource {
public:
    explicit InMemorySignatures(std::vector<std::string> signatures)
        : signatures_(std::move(signatures)) {}
    std::size_t Count() const override { return signatures_.size(); }
    std::string Signature(std::size_t index) override { return signatures_[index]; }

private:
    std::vector<std::string> signatures_;
};

std::string Noise(std::size_t size, unsigned seed) {
    std::string bytes = sonarchive::testing::RandomBytes(size, seed);
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    return bytes;
}

using Groups = std::vector<std::vector<std::size_t>>;

Groups Fast(std::vector<std::string> signatures) {
    InMemorySignatures source(std::move(signatures));
    sonarchive::testing::ScriptedInteraction user;
    return FastBitPatternSearch(source, user, {}).groups;
}

Groups Plain(std::vector<std::string> signatures) {
    InMemorySignatures source(std::move(signatures));
    return PlainBitPatternSearch(source).groups;
}

TEST(BitPattern, EqualFilesMakeOneGroupAndEachFileIsListedOnce) {
    const std::string song = Noise(30000, 1);
    const std::vector<std::string> files = {song, Noise(30000, 2), song, song};
    EXPECT_EQ(Fast(files), (Groups{{0, 2, 3}}));
    EXPECT_EQ(Plain(files), (Groups{{0, 2, 3}}));
}

TEST(BitPattern, OnlyAFullKeyThatIsNotSilenceHeadsAGroup) {
    const std::string shortSong = Noise(23998, 3);  // its key would be one byte short
    const std::string silence = Noise(11999, 4) + std::string(12000, ' ') + Noise(6001, 5);
    const std::string song = Noise(30000, 6);
    // The later copies hold the earlier files whole, but neither may head a group.
    EXPECT_EQ(Fast({shortSong, shortSong + "tail", silence, silence, song}), Groups{});
    // A file of 12000 bytes is found as a later member, never as a head.
    const std::string key = song.substr(kKeyOffset, kKeyLength);
    EXPECT_EQ(Fast({song, key, key}), (Groups{{0, 1, 2}}));
}

TEST(BitPattern, ShiftedAudioIsFoundWithinThe30000Bytes) {
    // The later file's audio may start up to 6001 bytes later or 11999 bytes earlier.
    const std::string audio = Noise(60000, 7);
    const std::string head = audio.substr(0, 30000);
    const std::string later = Noise(6001, 8) + audio.substr(0, 23999);
    const std::string tooLate = Noise(6002, 8) + audio.substr(0, 23998);
    const std::string earlier = audio.substr(11999, 30000);
    const std::string tooEarly = audio.substr(12000, 30000);
    EXPECT_EQ(Fast({head, later}), (Groups{{0, 1}}));
    EXPECT_EQ(Fast({head, tooLate}), Groups{});
    EXPECT_EQ(Fast({head, earlier}), (Groups{{0, 1}}));
    EXPECT_EQ(Fast({head, tooEarly}), Groups{});
}

TEST(BitPattern, AListedHeadTakesItsNewMatchesIntoItsOwnGroup) {
    // b holds a's key; c holds b's key but not a's: c joins the group of a and b.
    const std::string a = Noise(30000, 9);
    std::string b = Noise(30000, 10);
    b.replace(15000, kKeyLength, a.substr(kKeyOffset, kKeyLength));
    std::string c = Noise(30000, 11);
    c.replace(2000, kKeyLength, b.substr(kKeyOffset, kKeyLength));
    EXPECT_EQ(Fast({a, b, c}), (Groups{{0, 1, 2}}));
    EXPECT_EQ(Plain({a, b, c}), (Groups{{0, 1, 2}}));
}

TEST(BitPattern, TheFastSearchGivesThePlainGroups) {
    std::mt19937 random(12);
    std::vector<std::string> pool;
    for (unsigned i = 0; i < 12; ++i) {
        pool.push_back(Noise(45000, 100 + i));
    }
    std::vector<std::string> files;
    for (int i = 0; i < 80; ++i) {
        const std::string& audio = pool[random() % pool.size()];
        const std::size_t shift = random() % 14000;
        const std::size_t length = 12000 + random() % 20000;
        files.push_back(audio.substr(shift, std::min(length, audio.size() - shift)));
    }
    InMemorySignatures fastSource(files);
    InMemorySignatures plainSource(files);
    sonarchive::testing::ScriptedInteraction user;
    std::vector<int> modes;
    const BitPatternResult fast =
        FastBitPatternSearch(fastSource, user, {[&](int mode) { modes.push_back(mode); }, {}, {}});
    const BitPatternResult plain = PlainBitPatternSearch(plainSource);
    EXPECT_EQ(fast.groups, plain.groups);
    EXPECT_FALSE(fast.groups.empty());
    EXPECT_EQ(fast.comparisons, plain.comparisons);
    EXPECT_EQ(modes, (std::vector<int>{2, 1}));
}

TEST(BitPattern, CancellingWhileCollectingFindsNothing) {
    const std::string song = Noise(30000, 13);
    InMemorySignatures source({song, song});
    sonarchive::testing::ScriptedInteraction user;
    user.CancelAfterChecks(1);
    const BitPatternResult result = FastBitPatternSearch(source, user, {});
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.groups.empty());
}

TEST(BitPattern, ProgressFigures) {
    EXPECT_EQ(ComparisonMaximum(5000), 12500000u);
    EXPECT_EQ(ComparisonMaximum(3), 4u);
    EXPECT_EQ(EstimatedTimeLeft(10, 0, 100), "");
    EXPECT_EQ(EstimatedTimeLeft(10, 10, 100), "00:01:30");
    EXPECT_EQ(EstimatedTimeLeft(3600, 1, 26), "01:00:00");  // 25 hours wrap to 1
}

TEST(AudioSignature, StartsAfterALeadingId3v2TagAndReadsZerosAsBlanks) {
    sonarchive::testing::TempDir dir;
    const std::string audio = std::string("\xFF\xFB\x90\x00", 4) + Noise(40000, 14);
    std::string tag = std::string("ID3\x03\x00\x00\x00\x00\x02\x00", 10) + std::string(256, 'T');
    sonarchive::testing::WriteBytes(dir / "tagged.mp3", tag + audio);
    sonarchive::testing::WriteBytes(dir / "plain.mp3", audio);
    const std::string signature = ReadSignature(dir / "tagged.mp3");
    EXPECT_EQ(signature, ReadSignature(dir / "plain.mp3"));
    ASSERT_EQ(signature.size(), kSignatureLength);
    EXPECT_EQ(signature.substr(0, 4), "\xFF\xFB\x90 ");
    EXPECT_EQ(ReadSignature(dir / "missing.mp3"), "");
    sonarchive::testing::WriteBytes(dir / "short.mp3", "ab");
    EXPECT_EQ(ReadSignature(dir / "short.mp3"), "ab");
}

class TagDuplicatesTest : public OrganizeTest {
protected:
    DuplicateSearch Find(const DuplicateFields& fields) {
        return FindTagDuplicates(catalog.Engine(), fields, user);
    }
};

TEST_F(TagDuplicatesTest, EqualApartFromCaseInTheOrderOfTheFirstField) {
    const auto yesterday = AddRow("/a.mp3", {"Beatles", "Yesterday"});
    const auto other = AddRow("/b.mp3", {"Beatles", "Help"});
    const auto shouted = AddRow("/c.mp3", {"BEATLES", "YESTERDAY"});
    const auto spaced = AddRow("/d.mp3", {"Beatles", "  Yesterday"});
    const auto abba1 = AddRow("/e.mp3", {"Abba", "SOS"});
    const auto abba2 = AddRow("/f.mp3", {"abba", "sos"});
    const DuplicateSearch found = Find(FieldsOfMethod(DuplicateMethod::ArtistTitle));
    // "order by dartist desc": the lower-case "abba" sorts first, then "BEATLES"'s group.
    EXPECT_EQ(found.rows,
              (std::vector<DuplicateRow>{{abba1, 1}, {abba2, 1}, {yesterday, 2}, {shouted, 2}}));
    EXPECT_EQ(user.progressMaximum, 6);
    (void)other;
    (void)spaced;
}

TEST_F(TagDuplicatesTest, SizesInKilobytesEmptyFieldsAndNoFields) {
    RowTags first("Ann", "One");
    first.sizeKB = 4000;
    RowTags second("Bo", "Two");
    second.sizeKB = 4000;
    const auto a = AddRow("/a.mp3", first);
    const auto b = AddRow("/b.mp3", second);
    AddRow("/c.mp3", {"Cy", "Three"});
    EXPECT_EQ(Find(FieldsOfMethod(DuplicateMethod::Size)).rows,
              (std::vector<DuplicateRow>{{a, 1}, {b, 1}}));
    const auto e1 = AddRow("/e1.mp3", {"", ""});
    const auto e2 = AddRow("/e2.mp3", {"", ""});
    EXPECT_EQ(Find(FieldsOfMethod(DuplicateMethod::ArtistTitleAlbum)).rows,
              (std::vector<DuplicateRow>{{e1, 1}, {e2, 1}}));
    EXPECT_TRUE(Find(DuplicateFields{}).rows.empty());
    DuplicateFields track;
    track.track = true;
    EXPECT_EQ(Find(track).rows.size(), 5u);  // every row has track 0
}

TEST_F(TagDuplicatesTest, FileNamesCompareWithoutCaseGroupsByName) {
    const auto z1 = AddRow("/x/zoo.mp3", {"A", "1"});
    const auto a1 = AddRow("/x/Alpha.mp3", {"B", "2"});
    AddRow("/x/single.mp3", {"C", "3"});
    const auto z2 = AddRow("/y/ZOO.MP3", {"D", "4"});
    const auto a2 = AddRow("/y/alpha.mp3", {"E", "5"});
    EXPECT_EQ(FindFileNameDuplicates(catalog.Engine()).rows,
              (std::vector<DuplicateRow>{{a1, 1}, {a2, 1}, {z1, 2}, {z2, 2}}));
}

TEST_F(TagDuplicatesTest, TheLastMethodIsRemembered) {
    EXPECT_EQ(ReadLastDuplicateMethod(registry), 0);
    WriteLastDuplicateMethod(registry, 4);
    EXPECT_EQ(ReadLastDuplicateMethod(registry), 4);
    WriteLastDuplicateMethod(registry, 17);
    EXPECT_EQ(ReadLastDuplicateMethod(registry), 0);
    EXPECT_EQ(DuplicateMethodNames().at(0), "Bit pattern (slow)");
}

TEST_F(TagDuplicatesTest, BitPatternOverTheReachableFiles) {
    const std::string song = Noise(30000, 20);
    const auto a = AddRow(MakeFile("a.mp3", song), {"A", "1"});
    AddRow(MakeFile("b.mp3", Noise(30000, 21)), {"B", "2"});
    const auto c = AddRow(
        MakeFile("c.mp3", std::string("ID3\x03\0\0\0\0\0\x10", 10) + std::string(16, 'x') + song),
        {"C", "3"});
    AddRow("/absent/d.mp3", {"D", "4"}, "77777777");
    const DuplicateSearch found = FindBitPatternDuplicates(
        catalog.Engine(), rules, platform::BuildLocalDriveList(mounts), {}, user, {});
    EXPECT_EQ(found.rows, (std::vector<DuplicateRow>{{a, 1}, {c, 1}}));
    EXPECT_EQ(found.comparisons, 3u);
    EXPECT_GE(found.ended, found.started);
}

}  // namespace
}  // namespace sonarchive::organize
