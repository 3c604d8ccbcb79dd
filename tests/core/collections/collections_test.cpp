#include <gtest/gtest.h>

#include <filesystem>

#include "catalog_store/catalog.h"
#include "collections/collection_list.h"
#include "collections/temp_playlists.h"
#include "support/test_support.h"

namespace sonarchive::collections {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(CollectionList, ListsTheCollectionsByName) {
    TempDir dir;
    catalog::Catalog catalog(dir.Path());
    for (const char* name : {"Rock", "Ambient", "Jazz"}) {
        catalog.Engine().Execute(std::string("insert into SubColl (dName) values ('") + name +
                                 "')");
    }
    const auto collections = ListCollections(catalog.Engine());
    ASSERT_EQ(collections.size(), 3u);
    EXPECT_EQ(collections[0].Name, "Ambient");
    EXPECT_EQ(collections[0].Id, 2);
    EXPECT_EQ(collections[2].Name, "Rock");
}

TEST(TempPlaylists, OnlyTheProgramsOwnPlaylistsAreDeleted) {
    TempDir dir;
    for (const char* name : {"~sonarchv1.m3u", "~sonarchv99999.m3u", "~sonarchv.m3u"}) {
        WriteBytes(dir / name, "/a.mp3\n");
    }
    for (const char* name : {"sonarchv1.m3u", "~sonarchv1.m3u8", "~other.m3u", "list.m3u"}) {
        WriteBytes(dir / name, "/a.mp3\n");
    }
    std::filesystem::create_directory(dir / "~sonarchvdir.m3u");
    EXPECT_EQ(ClearTempPlaylists(dir.Path()), 3);
    EXPECT_FALSE(std::filesystem::exists(dir / "~sonarchv1.m3u"));
    EXPECT_TRUE(std::filesystem::exists(dir / "~sonarchv1.m3u8"));
    EXPECT_TRUE(std::filesystem::exists(dir / "list.m3u"));
    EXPECT_TRUE(std::filesystem::exists(dir / "~sonarchvdir.m3u"));
    EXPECT_EQ(ClearTempPlaylists(dir / "missing"), 0);
}

}  // namespace
}  // namespace sonarchive::collections
