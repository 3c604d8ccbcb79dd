#include "catalog_store/catalog_rows.h"

#include <gtest/gtest.h>

#include "catalog_store/catalog.h"
#include "support/fake_mount_table.h"
#include "support/test_support.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::FakeMountTable;
using sonarchive::testing::TempDir;

class CatalogRowsTest : public ::testing::Test {
protected:
    void AddRows(int count) {
        catalog.Engine().BeginTransaction();
        for (int i = 0; i < count; ++i) {
            TableAppender row(catalog.Engine(), "maindata");
            row.SetText("dPath", "/f" + std::to_string(i) + ".mp3");
            row.SetText("dDriveSerialNumber", "0A1B2C3D");
            row.SetInteger("dFormat", 2);
            row.SetInteger("dMPEGBitrate", 100 + i);
            row.SetInteger("dMPEGCRC", 1);
            row.SetText("dMPEGEncoder", "LAME");
            row.SetDouble("dLength", 60.5);
            row.Post();
        }
        catalog.Engine().Commit();
    }

    TempDir dir;
    Catalog catalog{dir.Path()};
};

TEST_F(CatalogRowsTest, ListRecordsOfCollectionsCarryTheMemberAndOthersMinusOne) {
    AddRows(3);
    catalog.Engine().Execute("insert into SubColl (dName) values ('Mix')");
    catalog.Engine().Execute("insert into SubCollD (dDataId, dEnabled, dLogical, dPosition, "
                             "dSubCollectionId) values (3, 1, 0, 1.000000, 1)");
    catalog.Engine().Execute("insert into SubCollD (dDataId, dEnabled, dLogical, dPosition, "
                             "dSubCollectionId) values (2, 1, 0, 2.000000, 1)");

    Query members(catalog.Engine(), CollectionMembersSelect(1));
    const TMainDataRec first = LoadListRecord(members, 1);
    EXPECT_EQ(first.CollectionId, 1);
    EXPECT_EQ(first.Id, 3);
    EXPECT_EQ(first.DataId, 3);
    EXPECT_EQ(first.CollectionEntryId, 1);
    EXPECT_DOUBLE_EQ(first.dPosition, 1.0);
    EXPECT_EQ(first.dMPEGBitrate, 102);
    EXPECT_TRUE(first.dMPEGCRC);
    EXPECT_EQ(first.dMPEGEncoder, "LAME");
    members.Next();
    EXPECT_EQ(LoadListRecord(members, 1).CollectionEntryId, 2);

    Query search(catalog.Engine(), StandardSelectById(2));
    const TMainDataRec found = LoadListRecord(search, -1);
    EXPECT_EQ(found.CollectionId, -1);
    EXPECT_EQ(found.Id, 2);
    EXPECT_EQ(found.CollectionEntryId, 0);
    EXPECT_DOUBLE_EQ(found.dLength, 60.5);
}

TEST_F(CatalogRowsTest, LoadsRecordsByIdFiftyAtATime) {
    AddRows(130);
    std::vector<std::string> statements;
    catalog.Engine().SetStatementObserver([&](const std::string& sql) {
        statements.push_back(sql);
    });
    IdList ids;
    for (int id = 1; id <= 120; ++id) {
        ids.push_back(id);
    }
    const auto records = LoadCompleteRecordsByIds(catalog.Engine(), ids);
    ASSERT_EQ(records.size(), 120u);
    EXPECT_EQ(records[0].dPath, "/f0.mp3");
    EXPECT_EQ(records[119].Id, 120);
    ASSERT_EQ(statements.size(), 3u);
    EXPECT_EQ(statements[0].rfind("select * from maindata where id in (1,2,", 0), 0u);
    EXPECT_EQ(statements[2].rfind("select * from maindata where id in (101,", 0), 0u);
}

TEST_F(CatalogRowsTest, FindsIdsByIdentityAndTheLastId) {
    EXPECT_EQ(LastMaindataId(catalog.Engine()), 0);
    AddRows(2);
    catalog.Engine().Execute("insert into maindata (dPath, dDriveSerialNumber) "
                             "values ('/O''Brien.mp3', '0A1B2C3D')");
    FakeMountTable mounts;
    mounts.Add("/", "0A1B2C3D");
    const PosixPathRules rules(mounts);
    EXPECT_EQ(FindFileId(catalog.Engine(), rules, "/f1.mp3", "0A1B2C3D"), 2);
    EXPECT_EQ(FindFileId(catalog.Engine(), rules, "/O'Brien.mp3", "0A1B2C3D"), 3);
    EXPECT_EQ(FindFileId(catalog.Engine(), rules, "/f1.mp3", "FFFFFFFF"), -1);
    EXPECT_EQ(FindFileId(catalog.Engine(), rules, "/nothere.mp3", "0A1B2C3D"), -1);
    EXPECT_EQ(LastMaindataId(catalog.Engine()), 3);
    catalog.Engine().Execute("delete from maindata where id = 3");
    EXPECT_EQ(LastMaindataId(catalog.Engine()), 2);
}

}  // namespace
}  // namespace sonarchive::catalog
