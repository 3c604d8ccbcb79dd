// A catalog in a temporary folder with rows made by plain SQL, a fake mount table, settings of
// the test's own and a scripted user, for the result-list tests.
#pragma once

#include <map>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "catalog_store/sql_text.h"
#include "platform/reachable_hosts.h"
#include "platform/settings_file.h"
#include "support/fake_mount_table.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::lists::testing {

// The columns of one row; every column left out keeps its default.
using Columns = std::map<std::string, std::string>;

class ListsTest : public ::testing::Test {
protected:
    // Inserts a row and answers its id. Values are SQL literals: texts need their quotes.
    std::int64_t AddRow(const Columns& values) {
        Columns row{{"dArtist", "'Artist'"},
                    {"dTitle", "'Title'"},
                    {"dAlbum", "'Album'"},
                    {"dDriveSerialNumber", "'0A1B2C3D'"},
                    {"dPath", "'/a.mp3'"},
                    {"dDriveType", "3"},
                    {"dFormat", "2"},
                    {"dDateAdded", "'2004-05-01'"},
                    {"dFileDate", "'2004-04-30'"}};
        for (const auto& [column, value] : values) {
            row[column] = value;
        }
        std::string names;
        std::string literals;
        for (const auto& [column, value] : row) {
            names += (names.empty() ? "" : ", ") + column;
            literals += (literals.empty() ? "" : ", ") + value;
        }
        catalog.Engine().Execute("insert into maindata (" + names + ") values (" + literals + ")");
        return catalog.Engine().LastInsertId();
    }

    // A text as an SQL literal.
    static std::string Q(const std::string& text) { return "'" + catalog::SqlQuote(text) + "'"; }

    std::int64_t Count(const std::string& condition = "1=1") {
        catalog::Query q(catalog.Engine(), "select count(*) from maindata where " + condition);
        return q[0].AsInteger();
    }

    // Records every statement the engine runs from now on.
    void ObserveStatements() {
        catalog.Engine().SetStatementObserver(
            [this](const std::string& sql) { statements.push_back(sql); });
    }

    sonarchive::testing::TempDir dir;
    catalog::Catalog catalog{dir / "data"};
    sonarchive::testing::FakeMountTable mounts;
    catalog::PosixPathRules rules{mounts};
    platform::ReachableHosts hosts;
    sonarchive::testing::ScriptedInteraction user;
    platform::SettingsFile settingsFile{dir / "config/settings.json"};
    catalog::Registry registry{settingsFile, user};
    std::vector<std::string> statements;
};

}  // namespace sonarchive::lists::testing
