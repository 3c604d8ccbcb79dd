// A catalog in a temporary folder whose files lie on a fake drive mounted at "/", with rows
// written directly, so that renaming, organizing and duplicate finding work on real files.
#pragma once

#include <filesystem>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "catalog_store/sql_text.h"
#include "support/fake_mount_table.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::organize::testing {

struct RowTags {
    RowTags(std::string artist_, std::string title_, std::string album_ = {}, int track_ = 0)
        : artist(std::move(artist_)),
          title(std::move(title_)),
          album(std::move(album_)),
          track(track_) {}

    std::string artist;
    std::string title;
    std::string album;
    int track = 0;
    int year = 0;
    std::string genre;
    std::string comment;
    int sizeKB = 1;
};

class OrganizeTest : public ::testing::Test {
protected:
    static constexpr const char* kRootSerial = "0A1B2C3D";

    OrganizeTest() { mounts.Add("/", kRootSerial, "Fixed", "root"); }

    std::string MakeFile(const std::string& relative, const std::string& content = "audio") {
        const std::string path = dir / relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        sonarchive::testing::WriteBytes(path, content);
        return path;
    }

    // A row for a file below "/" (stored path = full path), answering its id.
    std::int64_t AddRow(const std::string& fullPath, const RowTags& t,
                        const std::string& serial = kRootSerial) {
        using catalog::SqlQuote;
        catalog.Engine().Execute(
            "insert into maindata (dGroupId, dFormat, dYear, dTrack, dTitle, dArtist, dAlbum, "
            "dComment, dGenre, dPath, dDriveSerialNumber, dDriveLabel, dDriveLetter, "
            "dDriveType, dFileSize, dDateAdded) values (1, 2, " +
            std::to_string(t.year) + ", " + std::to_string(t.track) + ", '" + SqlQuote(t.title) +
            "', '" + SqlQuote(t.artist) + "', '" + SqlQuote(t.album) + "', '" +
            SqlQuote(t.comment) + "', '" + SqlQuote(t.genre) + "', '" + SqlQuote(fullPath) +
            "', '" + SqlQuote(serial) + "', 'root', '/', 3, " + std::to_string(t.sizeKB) +
            ", '2024-01-01')");
        return catalog.Engine().LastInsertId();
    }

    std::string Column(std::int64_t id, const std::string& column) {
        catalog::Query q(catalog.Engine(),
                         "select " + column + " from maindata where id = " + std::to_string(id));
        return q.AtEnd() ? std::string("<no row>") : q[0].AsText();
    }

    std::int64_t Count(const std::string& condition = "1=1") {
        catalog::Query q(catalog.Engine(), "select count(*) from maindata where " + condition);
        return q[0].AsInteger();
    }

    static bool Exists(const std::string& path) {
        std::error_code ignored;
        return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
    }

    sonarchive::testing::TempDir dir;
    catalog::Catalog catalog{dir / "data"};
    sonarchive::testing::FakeMountTable mounts;
    catalog::PosixPathRules rules{mounts};
    sonarchive::testing::ScriptedInteraction user;
    platform::SettingsFile settingsFile{dir / "config/settings.json"};
    catalog::Registry registry{settingsFile, user};
    catalog::GeneralSettings general = catalog::BuiltInGeneralSettings();
};

}  // namespace sonarchive::organize::testing
