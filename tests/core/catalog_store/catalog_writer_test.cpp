#include "catalog_store/catalog_writer.h"

#include <gtest/gtest.h>

#include <chrono>

#include "catalog_store/batched_transaction.h"
#include "catalog_store/catalog_rows.h"
#include "support/fake_mount_table.h"
#include "support/test_support.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::FakeMountTable;
using sonarchive::testing::TempDir;

class CatalogWriterTest : public ::testing::Test {
protected:
    CatalogWriterTest() { mounts.Add("/", "0A1B2C3D"); }

    TMediaFileRec File(const std::string& path) {
        TMediaFileRec file;
        file.FullPath = path;
        file.FileSizeKB = 1536 / 1024;
        file.DriveType = 3;
        file.DriveSerialNumber = "0A1B2C3D";
        file.DriveLabel = "ROOT";
        file.DriveLetter = "/";
        return file;
    }

    TMainDataRecComplete Row(std::int64_t id) {
        Query row(catalog.Engine(), "select * from maindata where id = " + std::to_string(id));
        EXPECT_FALSE(row.AtEnd());
        return LoadCompleteRecord(row);
    }

    TempDir dir;
    Catalog catalog{dir.Path()};
    FakeMountTable mounts;
    PosixPathRules rules{mounts};
};

TEST_F(CatalogWriterTest, CutsTextsToTheirWidthsAndClampsNumbers) {
    TCommentInfoType tags;
    tags.Title = std::string(60, 'T');
    tags.Comment = std::string(300, 'c');
    tags.Artist = "O'Brien";
    tags.Album = std::string(49, 'a') + "ßé";  // the cut counts characters, not bytes
    tags.Genre = "Ambient";
    tags.Year = "199x";
    tags.Track = 40000;
    TEncoderInfoType stream;
    stream.EncoderName = "LAME3.100 with a long name";
    stream.Bitrate = 128;
    stream.Duration = 187.5;
    stream.CRC = 1;
    stream.Emphasis = 99999;
    ASSERT_TRUE(WriteCatalogRow(catalog, rules, File(dir / "a.mp3"), tags, stream, 2, 38138.5));

    const TMainDataRecComplete r = Row(1);
    EXPECT_EQ(r.dTitle, std::string(50, 'T'));
    EXPECT_EQ(r.dComment, std::string(250, 'c'));
    EXPECT_EQ(r.dArtist, "O'Brien");
    EXPECT_EQ(r.dAlbum, std::string(49, 'a') + "ß");
    EXPECT_EQ(r.dYear, 0);
    EXPECT_EQ(r.dTrack, 32000);
    EXPECT_EQ(r.dMPEGEmphasis, 32000);
    EXPECT_EQ(r.dMPEGEncoder, "LAME3.100 with ");
    EXPECT_TRUE(r.dMPEGCRC);
    EXPECT_FALSE(r.dMPEGOriginal);
    EXPECT_DOUBLE_EQ(r.dLength, 187.5);
    EXPECT_EQ(r.dFormat, 2);
    EXPECT_EQ(r.dGroupId, 1);
    EXPECT_EQ(r.dFileSize, 1);
    EXPECT_EQ(r.dPath, dir / "a.mp3");
    EXPECT_EQ(r.dDriveSerialNumber, "0A1B2C3D");
    EXPECT_EQ(r.dDriveLetter, " ");        // never read back: the current mount point counts
    EXPECT_DOUBLE_EQ(r.dFileDate, 38138);  // a date column keeps the day
    EXPECT_GT(r.dDateAdded, 40000);
}

TEST_F(CatalogWriterTest, ReadsTheYearOnlyWhenItIsAnInteger) {
    EXPECT_EQ(CatalogYear("1999"), 1999);
    EXPECT_EQ(CatalogYear("+1999"), 1999);
    EXPECT_EQ(CatalogYear("-5"), -5);
    EXPECT_EQ(CatalogYear(""), 0);
    EXPECT_EQ(CatalogYear("1999b"), 0);
    EXPECT_EQ(CatalogYear("2004-05-31"), 0);
    EXPECT_EQ(CatalogYear("99999999999"), 0);
}

TEST_F(CatalogWriterTest, RefusesStoredPathsLongerThan230Characters) {
    const std::string folder = "/" + std::string(200, 'f') + "/";
    const std::string exactly230 = folder + std::string(230 - folder.size() - 4, 'x') + ".mp3";
    const std::string over = folder + std::string(231 - folder.size() - 4, 'x') + ".mp3";
    ASSERT_EQ(exactly230.size(), 230u);
    EXPECT_TRUE(WriteCatalogRow(catalog, rules, File(exactly230), {}, {}, 2, 0));
    EXPECT_FALSE(WriteCatalogRow(catalog, rules, File(over), {}, {}, 2, 0));
    EXPECT_EQ(catalog.FileCount(), 1);

    // A long mount point does not count: only the stored part does.
    mounts.Add("/media/" + std::string(100, 'm'), "ABCD1234", "Removable");
    EXPECT_TRUE(WriteCatalogRow(catalog, rules,
                                File("/media/" + std::string(100, 'm') + exactly230.substr(0)), {},
                                {}, 2, 0));
}

TEST_F(CatalogWriterTest, KeepsNonAsciiTextsWholeAndFindsThemCaseInsensitively) {
    TCommentInfoType tags;
    tags.Artist = "Björk";
    tags.Title = "Москва 日本";
    tags.Comment = "Straße — “quoted”";
    ASSERT_TRUE(WriteCatalogRow(catalog, rules, File("/Musik/Björk/Jóga.mp3"), tags, {}, 2, 0));
    const TMainDataRecComplete r = Row(1);
    EXPECT_EQ(r.dArtist, "Björk");
    EXPECT_EQ(r.dTitle, "Москва 日本");
    EXPECT_EQ(r.dComment, "Straße — “quoted”");
    EXPECT_EQ(r.dPath, "/Musik/Björk/Jóga.mp3");
    Query found(catalog.Engine(), "select id from maindata where upper(dArtist) = 'BJÖRK'");
    EXPECT_FALSE(found.AtEnd());
    EXPECT_EQ(FindFileId(catalog.Engine(), rules, "/Musik/Björk/Jóga.mp3", "0A1B2C3D"), 1);
}

TEST_F(CatalogWriterTest, InserterRegistersHostsAndReportsReaderFailures) {
    mounts.AddNetwork("/mnt/srv", "//srv/music");
    std::vector<std::string> hosts;
    int stale = 0;
    catalog.Events().Subscribe(
        [&](CatalogChange change) { stale += change == CatalogChange::PickListsStale ? 1 : 0; });
    bool readerAnswer = true;
    std::string readPath;
    CatalogInserter inserter(
        catalog, rules,
        [&](const std::string& path, int format, TCommentInfoType& tags, TEncoderInfoType&) {
            readPath = path;
            tags.Title = "format " + std::to_string(format);
            return readerAnswer;
        },
        [&](const std::string& host) { hosts.push_back(host); });

    TMediaFileRec network = File("/mnt/srv/a.ogg");
    network.DriveSerialNumber = "//srv";
    network.DriveType = 4;
    network.DriveLabel = "";
    network.DriveLetter = " ";
    ASSERT_TRUE(inserter.InsertCatalogRow(network));
    EXPECT_EQ(hosts, std::vector<std::string>{"srv"});
    EXPECT_EQ(readPath, "/mnt/srv/a.ogg");
    const TMainDataRecComplete r = Row(1);
    EXPECT_EQ(r.dPath, "//srv/music/a.ogg");
    EXPECT_EQ(r.dDriveSerialNumber, "//srv");
    EXPECT_EQ(r.dTitle, "format 11");
    EXPECT_EQ(stale, 1);

    readerAnswer = false;
    EXPECT_FALSE(inserter.InsertCatalogRow(File(dir / "bad.mp3")));
    EXPECT_EQ(catalog.FileCount(), 1);
    EXPECT_EQ(stale, 1);

    readPath.clear();
    EXPECT_TRUE(inserter.InsertCatalogRow(File(dir / "notes.txt")));  // no reader for it
    EXPECT_TRUE(readPath.empty());
}

TEST(FileDate, IsZeroForAMissingFile) {
    TempDir dir;
    EXPECT_EQ(FileDateOf(dir / "missing"), 0);
    sonarchive::testing::WriteBytes(dir / "f", "x");
    EXPECT_GT(FileDateOf(dir / "f"), 40000);
}

TEST(BatchedTransactionTest, CommitsThePartialLastBatch) {
    TempDir dir;
    Catalog catalog{dir.Path()};
    Catalog other{dir.Path()};  // a second connection sees only what was committed
    const auto committed = [&] {
        Query count(other.Engine(), "select count(*) from maindata");
        return count[0].AsInteger();
    };
    BatchedTransaction batch(catalog.Engine(), 1000, std::chrono::hours(1));
    for (int i = 0; i < 3; ++i) {
        batch.BeforeWrite();
        catalog.Engine().Execute("insert into maindata (dPath) values ('/" + std::to_string(i) +
                                 ".mp3')");
        batch.AfterWrite();
    }
    EXPECT_EQ(committed(), 0);  // three rows of a batch of 1000: still open
    batch.Commit();
    EXPECT_EQ(committed(), 3);
    EXPECT_FALSE(catalog.Engine().InTransaction());

    // A full batch commits by itself, and so does the scope's end.
    {
        BatchedTransaction small(catalog.Engine(), 2, std::chrono::hours(1));
        for (int i = 0; i < 3; ++i) {
            small.BeforeWrite();
            catalog.Engine().Execute("insert into maindata (dPath) values ('/s.mp3')");
            small.AfterWrite();
        }
        EXPECT_EQ(committed(), 5);
    }
    EXPECT_EQ(committed(), 6);
}

}  // namespace
}  // namespace sonarchive::catalog
