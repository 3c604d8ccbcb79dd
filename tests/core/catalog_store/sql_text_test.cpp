#include "catalog_store/sql_text.h"

#include <gtest/gtest.h>

namespace sonarchive::catalog {
namespace {

TEST(SqlQuote, DoublesQuotesAndCutsAtNul) {
    EXPECT_EQ(SqlQuote("O'Brien"), "O''Brien");
    EXPECT_EQ(SqlQuote("''"), "''''");
    EXPECT_EQ(SqlQuote(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(SqlQuote(std::string("\0x'", 3)), "");
    EXPECT_EQ(SqlQuote("Björk"), "Björk");
}

TEST(IdLists, ComeInBatchesOfFifty) {
    IdList ids;
    for (int i = 1; i <= 120; ++i) {
        ids.push_back(i);
    }
    EXPECT_EQ(IdListAll({1, 2, 3}), "(1,2,3)");
    EXPECT_EQ(IdListAll({}), "");

    const std::string first = IdListBatch(ids);
    EXPECT_EQ(first.substr(0, 5), "(1,2,");
    EXPECT_EQ(first.substr(first.size() - 4), ",50)");
    EXPECT_EQ(ids.size(), 70u);
    const std::string second = IdListBatch(ids);
    EXPECT_EQ(second.substr(0, 4), "(51,");
    EXPECT_EQ(ids.size(), 20u);
    const std::string third = IdListBatch(ids);
    EXPECT_EQ(third.substr(0, 5), "(101,");
    EXPECT_EQ(third.substr(third.size() - 5), ",120)");
    EXPECT_TRUE(ids.empty());
    EXPECT_EQ(IdListBatch(ids), "");
}

TEST(Codes, FormatByExtensionAndDriveTypeByName) {
    EXPECT_EQ(FormatCodeOf("/m/a.mp3"), 2);
    EXPECT_EQ(FormatCodeOf("A.MP3"), 2);
    EXPECT_EQ(FormatCodeOf("x.Wav"), 5);
    EXPECT_EQ(FormatCodeOf("x.ogg"), 11);
    EXPECT_EQ(FormatCodeOf("x.ape"), 13);
    EXPECT_EQ(FormatCodeOf("x.MAC"), 13);
    EXPECT_EQ(FormatCodeOf("x.flac"), 255);
    EXPECT_EQ(FormatCodeOf("/dir.mp3/noextension"), 255);
    EXPECT_EQ(FormatCodeOf("mp3"), 255);

    EXPECT_EQ(DriveTypeCodeOf("No Type Information"), 0);
    EXPECT_EQ(DriveTypeCodeOf("Root Directory does not exist"), 1);
    EXPECT_EQ(DriveTypeCodeOf("Removable"), 2);
    EXPECT_EQ(DriveTypeCodeOf("Fixed"), 3);
    EXPECT_EQ(DriveTypeCodeOf("Remote"), 4);
    EXPECT_EQ(DriveTypeCodeOf("CDROM"), 5);
    EXPECT_EQ(DriveTypeCodeOf("RamDisk"), 6);
    EXPECT_EQ(DriveTypeCodeOf("fixed"), 255);
    EXPECT_EQ(DriveTypeNameOf(5), "CDROM");
    EXPECT_EQ(DriveTypeNameOf(9), "");
}

TEST(SqlDateText, WritesFourDigitYearsAndExpandsTwoDigitOnes) {
    EXPECT_EQ(SqlDateText(2004, 5, 31), "2004-05-31");
    EXPECT_EQ(SqlDateText(5, 1, 2), "2005-01-02");
    EXPECT_EQ(SqlDateText(49, 1, 2), "2049-01-02");
    EXPECT_EQ(SqlDateText(50, 1, 2), "1950-01-02");
    EXPECT_EQ(SqlDateText(75, 12, 1), "1975-12-01");
    EXPECT_EQ(SqlDateText(100, 3, 4), "0100-03-04");
    EXPECT_EQ(SqlDateText(38138.5), "2004-05-31");
}

TEST(Numbers, ClampAndCut) {
    EXPECT_EQ(ClampInt(40000, 32000), 32000);
    EXPECT_EQ(ClampInt(-40000, 32000), -32000);
    EXPECT_EQ(ClampInt(12, 32000), 12);
    EXPECT_EQ(TruncateText("Björk Guðmundsdóttir", 7), "Björk G");
}

TEST(DurationTexts, PadMinutesAndSeconds) {
    EXPECT_EQ(MinutesSeconds(187), "03:07");
    EXPECT_EQ(MinutesSeconds(5), "00:05");
    EXPECT_EQ(MinutesSeconds(6000), "100:00");
    EXPECT_EQ(MinutesSecondsLocal(187), "3:07");  // C locale: ":" separator
    EXPECT_EQ(HoursMinutesSeconds(3725), "1:02:05");
    EXPECT_EQ(HoursMinutesSeconds(59), "0:00:59");
}

TEST(Selects, ShareOneColumnList) {
    EXPECT_EQ(CatalogFields.size(), 20u);
    EXPECT_EQ(CatalogFields[0].caption, "Album");
    EXPECT_EQ(CatalogFields[8].column, "dpath");
    EXPECT_EQ(CatalogFields[8].caption, "Filename");
    EXPECT_EQ(CatalogFields[19].kind, 'I');
    EXPECT_EQ(CatalogFields[6].kind, 'D');

    const std::string since = StandardSelectSinceId(41);
    EXPECT_EQ(since.rfind("select Id, dDateAdded, dFileDate, dArtist,", 0), 0u);
    EXPECT_NE(since.find("dmpegencoder from maindata where id > 41 order by id"),
              std::string::npos);
    EXPECT_NE(StandardSelectById(7).find("from maindata where id=7"), std::string::npos);
    EXPECT_NE(StandardSelectIdIn("(1,2)").find("where id in (1,2)"), std::string::npos);
    EXPECT_NE(StandardSelectAll().find("dmpegencoder from maindata order by id"),
              std::string::npos);
}

}  // namespace
}  // namespace sonarchive::catalog
