// A catalog in a temporary folder with a few files, for the collection tests, and a record of
// every statement the catalog runs.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_rows.h"
#include "catalog_store/sql_text.h"
#include "support/fake_mount_table.h"
#include "support/test_support.h"

namespace sonarchive::collections::testing {

class CollectionFixture : public ::testing::Test {
protected:
    CollectionFixture() {
        catalog.Engine().SetStatementObserver(
            [this](const std::string& sql) { statements.push_back(sql); });
    }

    // A file row of `seconds` and `kilobytes` on the volume with that serial; answers its id.
    std::int64_t AddFile(const std::string& path, double seconds = 60, int kilobytes = 1000,
                         const std::string& serial = "0A1B2C3D", int format = 2,
                         const std::string& artist = "Ann", const std::string& title = "Song") {
        catalog::TableAppender row(catalog.Engine(), "maindata");
        row.SetText("dPath", path);
        row.SetText("dDriveSerialNumber", serial);
        row.SetText("dArtist", artist);
        row.SetText("dTitle", title);
        row.SetDouble("dLength", seconds);
        row.SetInteger("dFileSize", kilobytes);
        row.SetInteger("dFormat", format);
        row.SetInteger("dDriveType", 3);
        return row.Post();
    }

    std::int64_t Scalar(const std::string& sql) {
        catalog::Query query(catalog.Engine(), sql);
        return query.AtEnd() ? -1 : query[0].AsInteger();
    }

    // The statements run since the last call that begin with `start`.
    std::vector<std::string> TakeStatements(const std::string& start) {
        std::vector<std::string> taken;
        for (const auto& sql : statements) {
            if (sql.rfind(start, 0) == 0) {
                taken.push_back(sql);
            }
        }
        statements.clear();
        return taken;
    }

    sonarchive::testing::TempDir dir;
    catalog::Catalog catalog{dir / "data"};
    std::vector<std::string> statements;
};

}  // namespace sonarchive::collections::testing
