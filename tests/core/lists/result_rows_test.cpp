#include "lists/result_rows.h"

#include <gtest/gtest.h>

#include "catalog_store/catalog_rows.h"
#include "lists/date_format.h"
#include "lists/list_texts.h"
#include "lists/result_columns.h"
#include "lists/row_availability.h"
#include "lists/row_order.h"
#include "lists_fixture.h"
#include "platform/drive_list.h"

namespace sonarchive::lists {
namespace {

using testing::ListsTest;

const PatternDateFormat kGermanDates("dd.MM.yy");

class ResultRowsTest : public ListsTest {
protected:
    ResultRows Load(const std::string& sql, std::int32_t collectionId = -1,
                    bool underGroup = false) {
        ResultRows rows(underGroup);
        catalog::Query query(catalog.Engine(), sql);
        rows.Fill(query, collectionId);
        return rows;
    }

    std::vector<std::string> Column(const ResultRows& rows, int code) {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < rows.Size(); ++i) {
            texts.push_back(CellText(rows, i, code, kGermanDates));
        }
        return texts;
    }

    std::vector<std::string> Sorted(const ResultRows& rows, int code, bool ascending = true) {
        std::vector<std::string> texts;
        for (const auto i : SortOrder(rows, code, false, ascending, kGermanDates)) {
            texts.push_back(CellText(rows, i, code, kGermanDates));
        }
        return texts;
    }
};

TEST_F(ResultRowsTest, TheStandardSelectAndSelectStarGiveTheSameRowsAndTexts) {
    AddRow({{"dArtist", "'Björk'"},
            {"dTitle", "'Jóga'"},
            {"dYear", "1997"},
            {"dTrack", "2"},
            {"dLength", "187.4"},
            {"dFileSize", "2930"},
            {"dMPEGBitrate", "128"},
            {"dMPEGFrequency", "44100"},
            {"dMPEGEncoder", "'LAME'"},
            {"dMPEGCRC", "1"},
            {"dDateAdded", "'2004-05-31 13:05:09'"},
            {"dPath", Q("/Caf\xEE\xBF\xA9/a.mp3")},
            {"dDriveLabel", "'MUSIC'"}});
    AddRow({{"dLength", "7499.5"}, {"dFileDate", "NULL"}, {"dArtist", "NULL"}});

    const ResultRows standard = Load(catalog::StandardSelectAll());
    const ResultRows star = Load("select * from maindata order by id");
    ASSERT_EQ(standard.Size(), 2u);
    for (const int code : {codes::Artist, codes::Title, codes::Year, codes::Track, codes::Length,
                           codes::Size, codes::Bitrate, codes::SampleRate, codes::DateAdded,
                           codes::FileDate, codes::Filename, codes::VolumeLabel, codes::Serial}) {
        EXPECT_EQ(Column(standard, code), Column(star, code)) << code;
    }
    EXPECT_EQ(Column(standard, codes::Length), (std::vector<std::string>{"03:07", "125:00"}));
    EXPECT_EQ(Column(standard, codes::DateAdded),
              (std::vector<std::string>{"31.05.2004", "01.05.2004"}));
    EXPECT_EQ(Column(standard, codes::FileDate),
              (std::vector<std::string>{"30.04.2004", "30.12.1899"}));
    EXPECT_EQ(Column(standard, codes::Size), (std::vector<std::string>{"2930", "0"}));
    // A byte that is no UTF-8 is kept in the stored path and shown as its Latin-1 character.
    EXPECT_EQ(Column(standard, codes::Filename)[0], "/Café/a.mp3");
    EXPECT_EQ(standard.Text(0, RowText::Path), "/Caf\xEE\xBF\xA9/a.mp3");
    EXPECT_EQ(standard.MainText(0), "Björk");
    EXPECT_EQ(standard.MainText(1), "");

    const catalog::TMainDataRec& record = standard.Record(0);
    EXPECT_EQ(record.dMPEGEncoder, "LAME");
    EXPECT_TRUE(record.dMPEGCRC);
    EXPECT_EQ(record.CollectionId, -1);
    EXPECT_EQ(standard.Id(1), 2);
}

TEST_F(ResultRowsTest, CollectionRowsCarryTheirMembership) {
    const auto id = AddRow({{"dTitle", "'Second'"}});
    catalog.Engine().Execute(
        "insert into subcolld (dDataId, dPosition, dSubCollectionId) values (" +
        std::to_string(id) + ", 2.5, 7)");
    const ResultRows rows = Load(catalog::CollectionMembersSelect(7), 7, false);
    ASSERT_EQ(rows.Size(), 1u);
    EXPECT_EQ(rows.Record(0).CollectionId, 7);
    EXPECT_EQ(rows.Record(0).DataId, id);
    EXPECT_EQ(rows.Record(0).CollectionEntryId, 1);
    EXPECT_EQ(CellText(rows, 0, codes::Position, kGermanDates), "2.5");

    const ResultRows underGroup = Load(catalog::StandardSelectAll(), -1, true);
    EXPECT_EQ(underGroup.MainText(0), "Second");
}

TEST_F(ResultRowsTest, TextsChangeInPlaceAndRemovedRowsLeaveTheOthersInOrder) {
    for (const char* title : {"A", "B", "C", "D"}) {
        AddRow({{"dTitle", Q(title)}});
    }
    ResultRows rows = Load(catalog::StandardSelectAll());
    RowTexts texts = rows.Texts(1);
    texts[static_cast<std::size_t>(RowText::Title)] = std::string(300, 'x');
    rows.SetTexts(1, texts);
    rows.SetYear(1, 2001);
    EXPECT_EQ(rows.Text(1, RowText::Title), std::string(300, 'x'));
    EXPECT_EQ(rows.Text(1, RowText::Artist), "Artist");
    EXPECT_EQ(CellText(rows, 1, codes::Year, kGermanDates), "2001");

    rows.Remove({2, 0, 2});
    ASSERT_EQ(rows.Size(), 2u);
    EXPECT_EQ(rows.Text(0, RowText::Title), std::string(300, 'x'));
    EXPECT_EQ(rows.Text(1, RowText::Title), "D");
}

TEST_F(ResultRowsTest, SortsCompareByKindNotByTheShownText) {
    struct Values {
        const char *size, *length, *dateAdded, *title;
    };
    for (const Values& v : {Values{"10", "600", "'2004-02-01'", "'beta'"},
                            Values{"9", "6000", "'2005-01-02'", "'Alpha'"},
                            Values{"100", "599", "'2004-12-31 23:59:00'", "'Äpfel'"},
                            Values{"9", "660", "'2004-12-31'", "'alpha'"}}) {
        AddRow({{"dFileSize", v.size},
                {"dLength", v.length},
                {"dDateAdded", v.dateAdded},
                {"dTitle", v.title}});
    }
    const ResultRows rows = Load(catalog::StandardSelectAll());

    EXPECT_EQ(Sorted(rows, codes::Size), (std::vector<std::string>{"9", "9", "10", "100"}));
    EXPECT_EQ(Sorted(rows, codes::Size, false), (std::vector<std::string>{"100", "10", "9", "9"}));
    EXPECT_EQ(Sorted(rows, codes::Length),
              (std::vector<std::string>{"09:59", "10:00", "100:00", "11:00"}));
    // By date: a text sort of dd.MM.yyyy would put 01.02.2004 first.
    EXPECT_EQ(Sorted(rows, codes::DateAdded),
              (std::vector<std::string>{"01.02.2004", "31.12.2004", "31.12.2004", "02.01.2005"}));
    EXPECT_EQ(SortOrder(rows, codes::DateAdded, false, true, kGermanDates)[1], 2u)
        << "equal days keep their order";
    // Case and accents order only among otherwise equal texts.
    EXPECT_EQ(Sorted(rows, codes::Title),
              (std::vector<std::string>{"alpha", "Alpha", "Äpfel", "beta"}));

    EXPECT_LT(CompareCellTexts(SortKind::Number, "9", "10", kGermanDates), 0);
    EXPECT_GT(CompareCellTexts(SortKind::Text, "b", "A", kGermanDates), 0);
    EXPECT_LT(CompareCellTexts(SortKind::Date, "31.12.2004", "02.01.2005", kGermanDates), 0);
    EXPECT_TRUE(NextSortAscending(3, 2, true));
    EXPECT_FALSE(NextSortAscending(3, 3, true));
    EXPECT_TRUE(NextSortAscending(3, 3, false));
}

TEST_F(ResultRowsTest, FindLooksAtVisibleColumnsFromTheRowAfterThePosition) {
    AddRow({{"dArtist", "'Beatles'"}});
    AddRow({{"dComment", "'a BEAT here'"}});
    AddRow({{"dTitle", "'Beat it'"}});
    const ResultRows rows = Load(catalog::StandardSelectAll());
    const FileRowTexts texts(rows, kGermanDates);
    ResultColumns columns = BuildResultColumns(kLayoutPlain, false);

    EXPECT_EQ(FindRowContaining(texts, columns, "beat", -1), 0);
    EXPECT_EQ(FindRowContaining(texts, columns, "beat", 0), 1);
    EXPECT_EQ(FindRowContaining(texts, columns, "beat", 1), 2);
    EXPECT_EQ(FindRowContaining(texts, columns, "beat", 2), -1) << "no wrap";
    EXPECT_EQ(FindRowContaining(texts, columns, "beat", 9), 0);

    columns[SectionIndexOf(columns, codes::Comment)].visible = false;
    columns[0].visible = false;  // the artist is the main text
    EXPECT_EQ(FindRowContaining(texts, columns, "beat", -1), 2);
    EXPECT_EQ(FindRowContaining(texts, columns, "nothing", -1), -1);

    EXPECT_EQ(LongestText(texts, columns, 0), 7u);
    EXPECT_EQ(LongestText(texts, columns, SectionIndexOf(columns, codes::Comment)), 11u);
    EXPECT_EQ(LongestText(texts, columns, 99), 0u);
}

TEST_F(ResultRowsTest, AvailabilityFollowsVolumesHostsAndShares) {
    AddRow({{"dDriveSerialNumber", "'0A1B2C3D'"}});  // mounted
    AddRow({{"dDriveSerialNumber", "'DEADBEEF'"}});  // not mounted
    AddRow({{"dDriveSerialNumber", "'//NAS'"}, {"dPath", "'//NAS/music/a.mp3'"}});
    AddRow({{"dDriveSerialNumber", "'//nas'"}, {"dPath", "'//nas/other/b.mp3'"}});
    AddRow({{"dDriveSerialNumber", "'//old'"}, {"dPath", "'//old/music/c.mp3'"}});
    mounts.Add("/media/ann/MUSIC", "0A1B2C3D");
    mounts.AddNetwork("/mnt/nas", "//nas/music");
    mounts.AddNetwork("/mnt/old", "//old/music");
    hosts.RegisterHost("nas");

    ResultRows rows = Load(catalog::StandardSelectAll());
    AvailabilityPass pass(rules, platform::BuildLocalDriveList(mounts), hosts);
    MarkAvailabilityAll(rows, pass);
    EXPECT_EQ(Column(rows, codes::DriveLetter),
              (std::vector<std::string>{"/media/ann/MUSIC", "?", "-", "-", "-"}));
    std::vector<bool> reachable;
    for (std::size_t i = 0; i < rows.Size(); ++i) {
        reachable.push_back(rows.Reachable(i));
    }
    // The second network row's host answered but its share is not mounted; the third's share
    // is mounted but its host did not answer.
    EXPECT_EQ(reachable, (std::vector<bool>{true, false, true, false, false}));

    mounts.drives.clear();
    mounts.Add("/media/stick", "DEADBEEF");
    AvailabilityPass later(rules, platform::BuildLocalDriveList(mounts), hosts);
    MarkAvailabilityAll(rows, later);
    EXPECT_EQ(Column(rows, codes::DriveLetter)[0], "?");
    EXPECT_EQ(Column(rows, codes::DriveLetter)[1], "/media/stick");
    EXPECT_FALSE(rows.Reachable(0));
    EXPECT_TRUE(rows.Reachable(1));
    EXPECT_FALSE(rows.Reachable(2));
}

TEST(DateFormats, WriteFourDigitYearsAndReadTwoDigitOnesInTheirWindow) {
    const PatternDateFormat us("M/d/yy");
    const double may1 = *PatternDateFormat::Iso().Read("2004-05-01");
    EXPECT_EQ(us.Write(may1), "5/1/2004");
    EXPECT_EQ(kGermanDates.Write(may1), "01.05.2004");
    EXPECT_EQ(PatternDateFormat::Iso().Write(may1 + 0.75), "2004-05-01");
    EXPECT_EQ(us.Read("5/1/04"), may1);
    EXPECT_EQ(us.Read(" 05/01/2004 "), may1);
    EXPECT_EQ(kGermanDates.Write(*kGermanDates.Read("1.5.75")), "01.05.1975");
    EXPECT_EQ(kGermanDates.Write(*kGermanDates.Read("1.5.49")), "01.05.2049");
    EXPECT_EQ(kGermanDates.Write(*kGermanDates.Read("29.02.2004")), "29.02.2004");
    for (const char* bad : {"", "29.02.2005", "32.01.2004", "1.13.2004", "1.5", "1-5-2004",
                            "1.5.2004x", "a.b.c", "1.5.20045"}) {
        EXPECT_FALSE(kGermanDates.Read(bad)) << bad;
    }
}

}  // namespace
}  // namespace sonarchive::lists
