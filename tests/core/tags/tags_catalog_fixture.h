// A catalog in a temporary folder whose root volume is a fake mount, settings of the test's
// own, and rows written straight into maindata, for the tests of what tag editing does to the
// catalog.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_rows.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "catalog_store/sql_text.h"
#include "platform/settings_file.h"
#include "support/fake_mount_table.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::tags::testing {

inline constexpr const char* kRootSerial = "0A1B2C3D";

class TagsCatalogTest : public ::testing::Test {
protected:
    TagsCatalogTest() { mounts.Add("/", kRootSerial, "Fixed", "root"); }

    // A row for a file; its stored path is the full path (the root volume holds it).
    std::int64_t AddRow(const std::string& path, int format, const std::string& title = "Old",
                        const std::string& serial = kRootSerial) {
        catalog.Engine().Execute(
            "insert into maindata (dFormat, dPath, dDriveSerialNumber, dTitle, dArtist, dAlbum, "
            "dGenre, dYear, dTrack, dComment) values (" +
            std::to_string(format) + ", '" + catalog::SqlQuote(path) + "', '" +
            catalog::SqlQuote(serial) + "', '" + catalog::SqlQuote(title) +
            "', 'Old artist', 'Old album', 'Rock', 1990, 3, 'Old comment')");
        return catalog.Engine().LastInsertId();
    }

    catalog::TMainDataRecComplete Row(std::int64_t id) {
        const auto rows = catalog::LoadCompleteRecordsByIds(catalog.Engine(), {id});
        EXPECT_EQ(rows.size(), 1u);
        return rows.empty() ? catalog::TMainDataRecComplete{} : rows.front();
    }

    // Every statement run on the catalog from now on that begins with `prefix`.
    void RecordStatements(const std::string& prefix) {
        catalog.Engine().SetStatementObserver([this, prefix](const std::string& sql) {
            if (sql.rfind(prefix, 0) == 0) {
                statements.push_back(sql);
            }
        });
    }

    sonarchive::testing::TempDir dir;
    catalog::Catalog catalog{dir / "data"};
    sonarchive::testing::FakeMountTable mounts;
    catalog::PosixPathRules rules{mounts};
    sonarchive::testing::ScriptedInteraction user;
    platform::SettingsFile settingsFile{dir / "settings.json"};
    catalog::Registry registry{settingsFile, user};
    catalog::GeneralSettings general = catalog::BuiltInGeneralSettings();
    std::vector<std::string> statements;
};

}  // namespace sonarchive::tags::testing
