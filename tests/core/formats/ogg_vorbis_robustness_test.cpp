// Truncated, damaged, random and hostile Ogg files: reading and writing never crash, never
// allocate much more than the file holds, and a write that fails leaves the file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "formats/byte_order.h"
#include "formats/ogg_vorbis.h"
#include "ogg_test_files.h"
#include "support/test_support.h"

// The sanitizer runtime's allocation hooks (declared in its allocator_interface.h, which GCC
// does not install).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*));

namespace {

std::size_t gLargestAllocation = 0;

// Every allocation of this (sanitized) test program is seen here, so that a reader trusting a
// hostile length field shows up as one huge allocation.
void NoteAllocation(const volatile void*, std::size_t size) {
    gLargestAllocation = std::max(gLargestAllocation, size);
}

void NoteRelease(const volatile void*) {}

const int kHooksInstalled = __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteRelease);

}  // namespace

namespace sonarchive::formats {
namespace {

using sonarchive::testing::MakeOggVorbis;
using sonarchive::testing::OggStreamBuilder;
using sonarchive::testing::RandomBytes;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::TestOggVorbis;
using sonarchive::testing::VorbisCommentPacket;
using sonarchive::testing::VorbisIdentificationPacket;
using sonarchive::testing::VorbisSetupPacket;
using sonarchive::testing::WriteBytes;

// Reads `bytes` as a file; reading may fail but must stay within the file's size.
void ReadSafely(const TempDir& dir, const std::string& bytes) {
    // A new file each time: truncating and refilling one file makes the filesystem flush it.
    static unsigned files = 0;
    const std::string path = dir / ("in" + std::to_string(++files) + ".ogg");
    WriteBytes(path, bytes);
    ASSERT_NE(kHooksInstalled, 0);
    gLargestAllocation = 0;
    TOggVorbis ogg;
    if (ogg.Read(path)) {
        EXPECT_LE(ogg.FileSize(), bytes.size());
        ogg.Valid();
        ogg.BitRate();
    } else {
        EXPECT_FALSE(ogg.LastError().empty());
    }
    EXPECT_LE(gLargestAllocation, 2 * bytes.size() + 64 * 1024);
    std::filesystem::remove(path);
}

// Writes a title into `bytes` as a file; a failed write leaves it unchanged, a successful one
// leaves a file that reads back with that title.
void WriteSafely(const TempDir& dir, const std::string& bytes) {
    const std::string path = dir / "out.ogg";
    WriteBytes(path, bytes);
    TOggVorbis ogg;
    ogg.SetTitle("robust");
    if (ogg.Write(path)) {
        TOggVorbis back;
        ASSERT_TRUE(back.Read(path)) << back.LastError();
        EXPECT_EQ(back.Title(), "robust");
    } else {
        EXPECT_EQ(ReadBytes(path), bytes) << ogg.LastError();
    }
}

TestOggVorbis SpreadHeaders() {
    TestOggVorbis layout;
    layout.headerSegmentsPerPage = 3;
    layout.fields = {"TITLE=t", "PICTURE=" + RandomBytes(2000, 8), "ARTIST=a"};
    return layout;
}

TEST(OggVorbisRobustness, EveryTruncation) {
    TempDir dir;
    const std::string stream = MakeOggVorbis(SpreadHeaders());
    for (std::size_t length = 0; length <= stream.size(); ++length) {
        ReadSafely(dir, stream.substr(0, length));
        if (length % 499 == 0) {
            WriteSafely(dir, stream.substr(0, length));
        }
    }
}

TEST(OggVorbisRobustness, DamagedBytesAndRandomFiles) {
    TempDir dir;
    const std::string stream = MakeOggVorbis(SpreadHeaders());
    for (unsigned seed = 0; seed < 300; ++seed) {
        std::string damaged = stream;
        const std::string noise = RandomBytes(8, seed);
        for (std::size_t i = 0; i + 1 < noise.size(); i += 2) {
            // Mostly in the headers, where the lengths are.
            const std::size_t span = seed % 3 == 0 ? damaged.size() : 2500;
            damaged[static_cast<unsigned char>(noise[i]) * 7919u * (seed + 1) % span] =
                noise[i + 1];
        }
        ReadSafely(dir, damaged);
        if (seed % 10 == 0) {
            WriteSafely(dir, damaged);
        }
        ReadSafely(dir, "OggS" + RandomBytes(seed * 13, seed));
        ReadSafely(dir, RandomBytes(seed * 7, seed + 1000));
    }
}

std::string WithComment(const std::string& comment) {
    OggStreamBuilder stream(1);
    stream.AddPages({VorbisIdentificationPacket(2, 44100, 128000)}, 0);
    stream.AddPages({comment, VorbisSetupPacket(50)}, 0);
    stream.AddPages({"audio"}, 44100, 0x04);
    return stream.Bytes();
}

TEST(OggVorbisRobustness, HostileLengths) {
    TempDir dir;
    const std::string huge("\xFF\xFF\xFF\xFF", 4);
    const std::string comment = VorbisCommentPacket("vendor", {"TITLE=x", "ARTIST=y"});
    // Offsets in the comment packet: vendor length at 7, count at 17, first field length at 21.
    for (const std::size_t at : {std::size_t{7}, std::size_t{17}, std::size_t{21}}) {
        std::string hostile = comment;
        hostile.replace(at, 4, huge);
        ReadSafely(dir, WithComment(hostile));
        WriteSafely(dir, WithComment(hostile));
    }

    // A page whose segment table promises far more data than the file has.
    std::string page = WithComment(comment);
    page[58 + 26] = '\xFF';
    ReadSafely(dir, page);
    WriteSafely(dir, page);

    // Thousands of pages of another stream between the identification and comment headers.
    OggStreamBuilder vorbis(1);
    vorbis.AddPages({VorbisIdentificationPacket(2, 44100, 128000)}, 0);
    OggStreamBuilder noise(2);
    for (int i = 0; i < 5000; ++i) {
        noise.AddPages({""}, 0);
    }
    const std::string crowded = vorbis.Bytes() + noise.Bytes() + WithComment(comment).substr(58);
    ReadSafely(dir, crowded);
    WriteSafely(dir, crowded);
}

}  // namespace
}  // namespace sonarchive::formats
