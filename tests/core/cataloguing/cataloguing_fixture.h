// A catalog in a temporary folder, a fake mount table holding the folder, and a reader that
// takes a file's "tags" from its text content, so the cataloguing logic can be tested without
// audio files.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/catalog_writer.h"
#include "catalog_store/path_rules.h"
#include "support/fake_mount_table.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::cataloguing::testing {

// A file whose content begins with "BAD" is not accepted; otherwise its content is the title.
inline bool ReadFakeFile(const std::string& path, int, catalog::TCommentInfoType& tags,
                         catalog::TEncoderInfoType& stream) {
    std::string content;
    try {
        content = sonarchive::testing::ReadBytes(path);
    } catch (const std::exception&) {
        return false;
    }
    if (content.rfind("BAD", 0) == 0) {
        return false;
    }
    tags.Title = content;
    stream.Bitrate = 128;
    return true;
}

class CataloguingTest : public ::testing::Test {
protected:
    CataloguingTest() {
        mounts.Add("/", "0A1B2C3D", "Fixed", "root");
    }

    // Writes a file below the temporary folder, creating its folders.
    std::string MakeFile(const std::string& relative, const std::string& content = "Song") {
        const std::string path = dir / relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        sonarchive::testing::WriteBytes(path, content);
        return path;
    }

    std::int64_t Count(const std::string& condition = "1=1") {
        catalog::Query q(catalog.Engine(), "select count(*) from maindata where " + condition);
        return q[0].AsInteger();
    }

    sonarchive::testing::TempDir dir;
    catalog::Catalog catalog{dir / "data"};
    sonarchive::testing::FakeMountTable mounts;
    catalog::PosixPathRules rules{mounts};
    sonarchive::testing::ScriptedInteraction user;
    std::vector<std::string> registeredHosts;
    catalog::CatalogInserter inserter{
        catalog, rules, ReadFakeFile,
        [this](const std::string& host) { registeredHosts.push_back(host); }};
};

}  // namespace sonarchive::cataloguing::testing
