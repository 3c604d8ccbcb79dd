// Reading ahead on several threads must leave the catalog exactly as reading one file after
// another: same rows, ids, counters and messages in the same order.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "catalog_store/catalog_rows.h"
#include "cataloguing/add_files.h"
#include "cataloguing/read_ahead.h"
#include "cataloguing/tag_reread.h"
#include "cataloguing_fixture.h"

namespace sonarchive::cataloguing {
namespace {

using testing::CataloguingTest;
using testing::ReadFakeFile;

// Reads take a few milliseconds that differ from file to file, so that reads on several
// threads finish out of order.
void Stall(const std::string& path) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::hash<std::string>()(path) % 4));
}

bool SlowFakeRead(const std::string& path, int format, catalog::TCommentInfoType& tags,
                  catalog::TEncoderInfoType& stream) {
    Stall(path);
    return ReadFakeFile(path, format, tags, stream);
}

// Every column but the two that hold the moment of the add.
std::vector<std::string> Dump(catalog::Catalog& catalog) {
    std::vector<std::string> rows;
    catalog::Query query(catalog.Engine(), "select * from maindata order by id");
    for (; !query.AtEnd(); query.Next()) {
        std::string row;
        const std::vector<std::string>& names = query.ColumnNames();
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] != "dDateAdded" && names[i] != "dTimeAdded") {
                row += names[i] + "=" + query[static_cast<int>(i)].AsText() + ";";
            }
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(ReadAhead, HandsResultsBackInOrderWhileReadsOverlap) {
    std::mutex mutex;
    std::condition_variable changed;
    int running = 0;
    int mostAtOnce = 0;
    ReadAhead<int> reads(4);
    EXPECT_EQ(reads.Depth(), 8u);
    for (int i = 0; i < 40; ++i) {
        reads.Submit([&, i] {
            std::unique_lock lock(mutex);
            mostAtOnce = std::max(mostAtOnce, ++running);
            changed.notify_all();
            // Wait a little for company: with four threads others start meanwhile.
            changed.wait_for(lock, std::chrono::milliseconds(20), [&] { return running >= 4; });
            --running;
            return i * i;
        });
    }
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(reads.Take(), i * i);
    }
    EXPECT_EQ(mostAtOnce, 4);
}

TEST(ReadAhead, RethrowsAReadsErrorAtItsTurnAndDropsWhatIsLeftWhenGone) {
    for (const unsigned threads : {1u, 3u}) {
        int started = 0;
        std::mutex mutex;
        {
            ReadAhead<std::string> reads(threads);
            reads.Submit([] { return std::string("first"); });
            reads.Submit([]() -> std::string { throw std::runtime_error("unreadable"); });
            for (int i = 0; i < 50; ++i) {
                reads.Submit([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    std::lock_guard lock(mutex);
                    return std::to_string(++started);
                });
            }
            EXPECT_EQ(reads.Take(), "first");
            EXPECT_THROW(reads.Take(), std::runtime_error);
        }
        // Leaving the scope waited for the reads in flight and never began the rest.
        EXPECT_LT(started, 50) << threads;
        if (threads == 1) {
            EXPECT_EQ(started, 0) << "one thread reads only when a result is taken";
        }
    }
}

class ParallelAddTest : public CataloguingTest {
protected:
    // Adds the found files into a catalog of its own with that many reader threads.
    struct Outcome {
        AddCounters counters;
        std::vector<std::string> errors;
        std::vector<std::string> rows;
    };

    Outcome AddInto(const std::string& folder, const std::vector<catalog::TMediaFileRec>& found,
                    unsigned threads, int cancelAfter = -1) {
        catalog::Catalog target(dir / folder);
        catalog::CatalogInserter slow(target, rules, SlowFakeRead, nullptr);
        sonarchive::testing::ScriptedInteraction quiet;
        Outcome outcome;
        FileAdder adder(target, rules, mounts, slow, quiet,
                        {nullptr, [&](const AddCounters& c) { outcome.counters = c; }, nullptr});
        adder.SetReaderThreads(threads);
        EXPECT_EQ(adder.AddOneFile(catalogued).code, 0);
        quiet.CancelAfterChecks(cancelAfter);
        adder.AddFoundFiles(found);
        outcome.errors = adder.ErrorLines();
        outcome.rows = Dump(target);
        return outcome;
    }

    std::string catalogued;
};

TEST_F(ParallelAddTest, EndsEqualToReadingOneFileAfterAnother) {
    for (int i = 0; i < 30; ++i) {
        MakeFile("m/good" + std::to_string(10 + i) + ".mp3", "Song " + std::to_string(i));
    }
    MakeFile("m/bad1.mp3", "BAD one");
    MakeFile("m/bad2.ogg", "BAD two");
    catalogued = MakeFile("m/known.mp3", "Known");
    const std::string vanishing = MakeFile("m/vanishing.wav", "Gone");
    FileAdder scanner(catalog, rules, mounts, inserter, user);
    std::vector<catalog::TMediaFileRec> found;
    scanner.ScanFolder(dir / "m", false, ExtensionMasks({true}), 0,
                       {"Fixed", 3, "0A1B2C3D", "root", "/"}, found);
    std::filesystem::remove(vanishing);
    // The same file twice in one list, good and bad: the second counts as one list would.
    found.push_back(found[3]);
    found.push_back(found[0]);
    ASSERT_EQ(found.size(), 36u);

    const Outcome sequential = AddInto("one", found, 1);
    EXPECT_EQ(sequential.counters.added, 30);
    EXPECT_EQ(sequential.counters.invalid, 3 + 1);  // the bad one listed twice
    EXPECT_EQ(sequential.counters.alreadyInArchive, 2);
    EXPECT_EQ(sequential.rows.size(), 31u);
    for (const unsigned threads : {2u, 8u, 16u}) {
        const Outcome parallel = AddInto("many" + std::to_string(threads), found, threads);
        EXPECT_EQ(parallel.rows, sequential.rows) << threads;
        EXPECT_EQ(parallel.errors, sequential.errors) << threads;
        EXPECT_EQ(parallel.counters.added, sequential.counters.added);
        EXPECT_EQ(parallel.counters.invalid, sequential.counters.invalid);
        EXPECT_EQ(parallel.counters.alreadyInArchive, sequential.counters.alreadyInArchive);
    }
}

TEST_F(ParallelAddTest, CancelAfterSomeFilesKeepsExactlyTheRowsAdded) {
    for (int i = 0; i < 40; ++i) {
        MakeFile("c/" + std::to_string(100 + i) + ".mp3");
    }
    catalogued = MakeFile("known.mp3", "Known");
    FileAdder scanner(catalog, rules, mounts, inserter, user);
    std::vector<catalog::TMediaFileRec> found;
    scanner.ScanFolder(dir / "c", false, {"*.MP3"}, 0, {"Fixed", 3, "0A1B2C3D", "", "/"}, found);
    // Each file is preceded by one look at the cancel flag: the 13th look stops before the
    // 13th file.
    const Outcome sequential = AddInto("one", found, 1, 13);
    const Outcome parallel = AddInto("many", found, 8, 13);
    EXPECT_EQ(sequential.counters.added, 12);
    EXPECT_EQ(parallel.counters.added, 12);
    EXPECT_EQ(parallel.rows, sequential.rows);
    ASSERT_EQ(parallel.rows.size(), 13u);  // with the file added before
    catalog::Catalog reopened(dir / "many");
    EXPECT_EQ(reopened.FileCount(), 13);
}

class ParallelRereadTest : public CataloguingTest {
protected:
    static bool SlowReread(const std::string& path, catalog::TMainDataRecComplete& record) {
        catalog::TCommentInfoType tags;
        catalog::TEncoderInfoType stream;
        if (!SlowFakeRead(path, 2, tags, stream)) {
            return false;
        }
        record.dTitle = tags.Title;
        record.dMPEGBitrate = stream.Bitrate;
        return true;
    }

    void AddRow(const std::string& serial, const std::string& path) {
        catalog.Engine().Execute(
            "insert into maindata (dDriveSerialNumber, dPath, dTitle) values ('" + serial + "', '" +
            catalog::SqlQuote(path) + "', 'old')");
    }

    std::pair<std::vector<std::string>, std::vector<std::string>> Reread(unsigned threads) {
        catalog.Engine().Execute("update maindata set dTitle = 'old', dMPEGBitrate = 0");
        std::vector<std::string> messages;
        TagReread reread(catalog, rules, user, SlowReread,
                         [&](const std::string& line) { messages.push_back(line); });
        reread.SetReaderThreads(threads);
        EXPECT_TRUE(reread.Run());
        return {messages, Dump(catalog)};
    }
};

TEST_F(ParallelRereadTest, UpdatesAndReportsInRowOrder) {
    for (int i = 0; i < 25; ++i) {
        AddRow("0A1B2C3D", MakeFile("r/" + std::to_string(i) + ".mp3", "New " + std::to_string(i)));
        if (i % 7 == 0) {
            AddRow("0A1B2C3D", MakeFile("r/bad" + std::to_string(i) + ".mp3", "BAD"));
        }
        if (i % 5 == 0) {
            AddRow("FFFF0000", "/away/" + std::to_string(i) + ".mp3");
        }
    }
    const auto sequential = Reread(1);
    EXPECT_EQ(sequential.first.size(), 4u + 5u);
    EXPECT_EQ(Count("dTitle like 'New %'"), 25);
    for (const unsigned threads : {4u, 8u}) {
        EXPECT_EQ(Reread(threads), sequential) << threads;
    }
}

}  // namespace
}  // namespace sonarchive::cataloguing
