#include "cataloguing/tag_reread.h"

#include <gtest/gtest.h>

#include "catalog_store/catalog_rows.h"
#include "cataloguing_fixture.h"

namespace sonarchive::cataloguing {
namespace {

using testing::CataloguingTest;

class TagRereadTest : public CataloguingTest {
protected:
    void AddRow(const std::string& serial, const std::string& path) {
        catalog.Engine().Execute("insert into maindata (dDriveSerialNumber, dPath, dTitle) values ('" +
                                 serial + "', '" + catalog::SqlQuote(path) + "', 'old')");
    }

    bool Run(RecordRereader reader = ReadTitle) {
        TagReread reread(catalog, rules, user, std::move(reader),
                         [this](const std::string& line) { messages.push_back(line); });
        return reread.Run();
    }

    static bool ReadTitle(const std::string& path, catalog::TMainDataRecComplete& record) {
        catalog::TCommentInfoType tags;
        catalog::TEncoderInfoType stream;
        if (!testing::ReadFakeFile(path, 2, tags, stream)) {
            return false;
        }
        record.dTitle = tags.Title;
        record.dMPEGBitrate = stream.Bitrate;
        record.dLength = 61.256;
        return true;
    }

    std::vector<std::string> messages;
};

TEST_F(TagRereadTest, RewritesReachableRowsAndReportsTheOthers) {
    const std::string quoted = MakeFile("r/quote.mp3", "Don't Stop");
    MakeFile("r/bad.mp3", "BAD");
    AddRow("0A1B2C3D", quoted);
    AddRow("0A1B2C3D", dir / "r/bad.mp3");
    AddRow("FFFF0000", "/elsewhere.mp3");
    int rowsChanged = 0;
    catalog.Events().Subscribe([&](catalog::CatalogChange change) {
        rowsChanged += change == catalog::CatalogChange::RowsChanged ? 1 : 0;
    });
    EXPECT_TRUE(Run());
    EXPECT_EQ(messages, (std::vector<std::string>{"Couldn't read file: " + dir / "r/bad.mp3",
                                                  "File not accessible: /elsewhere.mp3"}));
    EXPECT_EQ(user.Texts("info"), std::vector<std::string>{"Finished re-reading tags"});
    EXPECT_EQ(rowsChanged, 1);
    catalog::Query row(catalog.Engine(), "select * from maindata where id = 1");
    const auto record = catalog::LoadCompleteRecord(row);
    EXPECT_EQ(record.dTitle, "Don't Stop");
    EXPECT_EQ(record.dMPEGBitrate, 128);
    EXPECT_DOUBLE_EQ(record.dLength, 61.26);
    EXPECT_GT(record.dFileDate, 40000);
    EXPECT_EQ(Count("dTitle = 'old'"), 2);
}

TEST_F(TagRereadTest, CancelAfterTenOfHundredKeepsTheTenAndSaysNothing) {
    for (int i = 0; i < 100; ++i) {
        AddRow("0A1B2C3D", MakeFile("many/" + std::to_string(i) + ".mp3", "new"));
    }
    user.CancelAfterChecks(11);
    EXPECT_FALSE(Run());
    EXPECT_EQ(Count("dTitle = 'new'"), 10);
    EXPECT_TRUE(user.Texts("info").empty());
}

TEST_F(TagRereadTest, WritesEveryColumnInOneStatementAndSwallowsEngineErrors) {
    catalog::TMainDataRecComplete r;
    r.Id = 7;
    r.dTitle = "It's";
    r.dArtist = "A";
    r.dYear = 1999;
    r.dTrack = 3;
    r.dMPEGVersion = 3;
    r.dMPEGLayer = 1;
    r.dMPEGBitrate = 192;
    r.dChannelMode = 1;
    r.dMPEGFrequency = 44100;
    r.dMPEGFrames = 1000;
    r.dMPEGEncoder = "LAME";
    r.dMPEGCRC = true;
    r.dLength = 3.14159;
    r.dFileDate = 38138.5;
    EXPECT_EQ(UpdateReadColumnsStatement(r),
              "update maindata set dTitle='It''s',dArtist='A',dAlbum='',dComment='',dGenre='',"
              "dEncoder='',dCopyright='',dComposer='',dLanguage='',dLink='',dYear=1999,dTrack=3,"
              "dmpegversion=3,dmpeglayer=1,dmpegbitrate=192,dchannelmode=1,dmpegfrequency=44100,"
              "dmpegemphasis=0,dmpegframes=1000,dmpegencoder='LAME',dmpegcrc=1,dmpegcopyright=0,"
              "dmpegoriginal=0,dlength=3.14,dfiledate='2004-05-31' where id=7");
    catalog.Engine().Execute("drop table maindata");
    EXPECT_NO_THROW(UpdateReadColumns(catalog.Engine(), r));
}

}  // namespace
}  // namespace sonarchive::cataloguing
