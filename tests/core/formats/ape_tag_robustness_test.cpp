#include <gtest/gtest.h>

#include "format_bytes.h"
#include "formats/ape_tag.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using sonarchive::testing::RandomBytes;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;
using testing::ApeFrame;
using testing::ApeItem;
using testing::ApeTag;
using testing::Id3v1Tag;

const std::string kAudio(400, '\x42');

std::string SampleFile() {
    const std::string items = ApeItem("Title", "t") +
                              ApeItem("Cover Art (Front)", RandomBytes(90, 1), 2) +
                              ApeItem("Artist", "a") + ApeItem("Track", "1/2");
    return kAudio + ApeTag(2000, items, 4, true) + Id3v1Tag();
}

// Reading never fails on content; writing either fails leaving the file as it was, or
// produces a file that reads back with the fields written and keeps the audio in front.
void ExpectSaneReadAndWrite(const std::string& path, const std::string& bytes) {
    WriteBytes(path, bytes);
    TAPEtag tag;
    ASSERT_TRUE(tag.Read(path));
    tag.SetTitle("new title");
    if (!tag.Write(path)) {
        EXPECT_EQ(ReadBytes(path), bytes);
        return;
    }
    TAPEtag again;
    ASSERT_TRUE(again.Read(path));
    EXPECT_TRUE(again.Exists());
    EXPECT_EQ(again.Title(), "new title");
    EXPECT_LE(ReadBytes(path).size(), bytes.size() + 64);
}

TEST(ApeTagRobustness, MutatedTagsReadAndRewriteSafely) {
    TempDir dir;
    const std::string path = dir / "r.ape";
    const std::string sample = SampleFile();
    for (unsigned seed = 0; seed < 120; ++seed) {
        std::string bytes = sample;
        const std::string noise = RandomBytes(12, seed);
        for (std::size_t i = 0; i + 1 < noise.size(); i += 2) {
            const std::size_t at = kAudio.size() + static_cast<unsigned char>(noise[i]) %
                                                       (bytes.size() - kAudio.size());
            bytes[at] = noise[i + 1];
        }
        ExpectSaneReadAndWrite(path, bytes);
    }
    for (std::size_t cut = 0; cut < 200; cut += 13) {
        ExpectSaneReadAndWrite(path, sample.substr(0, sample.size() - cut));
    }
}

TEST(ApeTagRobustness, HostileSizesAndCounts) {
    TempDir dir;
    const std::string path = dir / "h.ape";
    // Huge item count over tiny items; a value size far past the end; a key without end.
    std::string items;
    for (int i = 0; i < 2000; ++i) {
        items += ApeItem("K", "");
    }
    ExpectSaneReadAndWrite(path, kAudio + items + ApeFrame(2000, items.size(), 0xFFFFFFFF, 0));
    items = ApeItem("Title", "x");
    items[3] = '\x7f';
    ExpectSaneReadAndWrite(path, kAudio + items + ApeFrame(2000, 14, 1, 0));
    items = "\x01\0\0\0\0\0\0\0" + std::string(300, 'K');
    ExpectSaneReadAndWrite(path, kAudio + items + ApeFrame(2000, 308, 1, 0));
    ExpectSaneReadAndWrite(path, kAudio + ApeFrame(2000, 0xFFFFFFFFu - 32, 1, 0x80000000));
    ExpectSaneReadAndWrite(path, ApeFrame(2000, 0, 0, 0x80000000));
    ExpectSaneReadAndWrite(path, "APETAGEX");
    for (unsigned seed = 0; seed < 40; ++seed) {
        ExpectSaneReadAndWrite(
            path, RandomBytes(seed * 3, seed) + "APETAGEX" + RandomBytes(24, seed + 1000));
    }
}

}  // namespace
}  // namespace sonarchive::formats
