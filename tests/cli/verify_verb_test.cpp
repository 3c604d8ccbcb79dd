// verify on catalogs whose case-mapping indexes hold non-ASCII keys, sound and damaged.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "catalog_store/catalog.h"
#include "cli_support.h"

namespace sonarchive::cli {
namespace {

using sonarchive::testing::CliRun;

constexpr int kRows = 1000;

void AddNonAsciiRows(const std::string& dataDir) {
    catalog::Catalog catalog(dataDir);
    const char* artists[] = {"Björk", "Mötley Crüe", "Кино", "Σωκράτης", "straße", "Ænima"};
    catalog.Engine().BeginTransaction();
    for (int i = 0; i < kRows; ++i) {
        const std::string n = std::to_string(i);
        catalog.Engine().Execute(
            "insert into maindata (dArtist, dAlbum, dGenre, dPath, dDriveSerialNumber) values ('" +
            std::string(artists[i % 6]) + " " + n + "', 'Älbum " + n + "', 'Électro', '/é/" + n +
            ".mp3', 'ABCD1234')");
    }
    catalog.Engine().Commit();
}

// What a tool without the program's case mapping computes: ASCII letters only.
void AsciiUpper(sqlite3_context* context, int, sqlite3_value** arguments) {
    std::string text(reinterpret_cast<const char*>(sqlite3_value_text(arguments[0])),
                     static_cast<std::size_t>(sqlite3_value_bytes(arguments[0])));
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Inserts one row through a connection whose upper() is ASCII-only, as another program
// writing to the catalog would: its index entries are filed under the wrong keys.
void InsertRowWithWrongIndexKeys(const std::string& dataDir) {
    sqlite3* other = nullptr;
    const std::string path = dataDir + "/" + catalog::Catalog::kDatabaseFileName;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    for (const char* name : {"upper", "unicode_upper"}) {
        sqlite3_create_function_v2(other, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   &AsciiUpper, nullptr, nullptr, nullptr);
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(other,
                                "insert into maindata (dArtist, dAlbum, dGenre, dPath) values "
                                "('björk', 'Homogenic', 'Pop', '/x.mp3')",
                                nullptr, nullptr, &message);
    EXPECT_EQ(rc, SQLITE_OK) << (message != nullptr ? message : "");
    sqlite3_free(message);
    sqlite3_close(other);
}

TEST(VerifyVerb, NonAsciiCatalogIsSoundAndADamagedIndexEntryIsReported) {
    CliRun cli;
    AddNonAsciiRows(cli.DataDir());
    for (const char* options : {"", "--quick"}) {
        const auto sound = cli.RunStdout(std::string("verify ") + options);
        EXPECT_EQ(sound.exitCode, 0) << options;
        EXPECT_EQ(sound.output, "ok\n") << options;
    }
    const auto soundJson = cli.RunStdout("verify --json");
    EXPECT_EQ(soundJson.output, "{\"ok\":true,\"problems\":[]}\n");

    InsertRowWithWrongIndexKeys(cli.DataDir());
    const std::string missing = "row " + std::to_string(kRows + 1) + " missing from index ";
    const auto damaged = cli.RunStdout("verify");
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.output.find(missing + "maindata_upper_artist\n"), std::string::npos)
        << damaged.output;
    EXPECT_EQ(damaged.output.find("ok\n"), std::string::npos);

    const auto damagedJson = cli.RunStdout("verify --json");
    EXPECT_EQ(damagedJson.exitCode, 1);
    const auto report = nlohmann::json::parse(damagedJson.output, nullptr, false);
    ASSERT_TRUE(report.is_object()) << damagedJson.output;
    EXPECT_EQ(report["ok"], false);
    EXPECT_NE(report["problems"].dump().find(missing + "maindata_upper_artist"), std::string::npos);

    // The quick check does not compare indexes with their tables: the row slips through it.
    EXPECT_EQ(cli.RunStdout("verify --quick").exitCode, 0);
}

TEST(VerifyVerb, NeitherMakesACatalogNorTakesAForeignFileForOne) {
    CliRun cli;
    const auto none = cli.Run("verify");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.output.find("There is no catalog in " + cli.DataDir()), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(cli.DataDir() + "/sonarchv.db"));

    std::filesystem::create_directories(cli.DataDir());
    sonarchive::testing::WriteBytes(cli.DataDir() + "/sonarchv.db", std::string(8192, 'x'));
    const auto foreign = cli.RunStdout("verify");
    EXPECT_EQ(foreign.exitCode, 1);
    EXPECT_NE(foreign.output.find("not a database"), std::string::npos) << foreign.output;
    EXPECT_EQ(cli.Run("verify surplus").exitCode, 2);
}

}  // namespace
}  // namespace sonarchive::cli
