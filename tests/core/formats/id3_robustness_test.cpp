#include <gtest/gtest.h>

#include <random>

#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "id3v2_bytes.h"
#include "support/test_support.h"

namespace sonarchive::formats {
namespace {

using namespace sonarchive::testing::id3v2;
using sonarchive::testing::RandomBytes;
using sonarchive::testing::ReadBytes;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

// Tags of every version with the features that have sizes and offsets to get wrong.
std::vector<std::string> SampleTags() {
    std::string dataLength;
    AppendSyncsafe32(dataLength, 6);
    const std::string comment = Text(std::string("eng\0Comment", 11));
    return {
        Tag(2,
            Frame22("TT2", Text("Title")) + Frame22("COM", comment) +
                Frame22("PIC", Text(std::string("PNG\x03\0\x89PNG", 9))) +
                Frame22("TCO", Text("(13)")),
            16),
        Tag(3,
            Unsynchronise(std::string("\0\0\0\x06\0\0\0\0\0\0", 10) +
                          Frame23("TIT2", Text("\xFF\xE0\xFF")) + Frame23("COMM", comment) +
                          Frame23("WXXX", Text(std::string("\0http://x/", 10))) +
                          Frame23("TRCK", Text("1/2")) + Frame23("TIT3", "\0\0\0\x09zz", 0x0080) +
                          Frame23("TPE1", "\x01" + Text("Grouped"), 0x0020)),
            8, 0xC0),
        Tag(4,
            std::string("\0\0\0\x06\x01\0", 6) +
                Frame24("TIT2", dataLength + Unsynchronise(Text("\xFF\xFF\xFF\xFF\xFF")), 0x0003) +
                Frame24("TPE1", Text(std::string("A\0B", 3), '\x03')) +
                Frame24("TDRC", Text("2004-05-06T07:08")) +
                Frame24("APIC", Text(std::string("image/png\0\x03\0data", 16), '\x03')) +
                Frame24("TSOP", "\x07\x01" + Text("Sorted"), 0x2044),
            0, 0x50),
    };
}

class ID3Robustness : public ::testing::Test {
  protected:
    // Every operation on `bytes`; none may crash, and whatever a write reports as done must
    // have kept the audio and given back the fields.
    void Exercise(const std::string& bytes) {
        WriteBytes(path_, bytes);
        TID3v2 v2;
        EXPECT_EQ(v2.Read(path_), bytes.size() >= 10);
        EXPECT_LE(v2.Size(), bytes.size());
        const std::uint32_t oldSize = v2.Size();
        v2.SetTitle("Fuzzed");
        if (v2.Write(path_)) {
            TID3v2 back;
            ASSERT_TRUE(back.Read(path_));
            EXPECT_EQ(back.Fields(), v2.Fields());
            EXPECT_EQ(ReadBytes(path_).substr(back.Size()), bytes.substr(oldSize));
        }
        WriteBytes(path_, bytes);
        if (v2.Strip(path_)) {
            EXPECT_EQ(ReadBytes(path_), bytes.substr(oldSize));
        } else {
            EXPECT_EQ(ReadBytes(path_), bytes);
        }

        WriteBytes(path_, bytes);
        TID3v1 v1;
        EXPECT_EQ(v1.Read(path_), bytes.size() >= 128);
        v1.SetTitle("Fuzzed");
        if (v1.Write(path_)) {
            const std::string written = ReadBytes(path_);
            const std::size_t kept = bytes.size() - (v1.Exists() ? 128 : 0);
            EXPECT_EQ(written.substr(0, kept), bytes.substr(0, kept));
        }
        WriteBytes(path_, bytes);
        v1.Strip(path_);
    }

    TempDir dir_;
    std::string path_ = dir_ / "fuzz.mp3";
};

TEST_F(ID3Robustness, TruncatedTags) {
    for (const std::string& tag : SampleTags()) {
        const std::string file = tag + Audio();
        for (std::size_t length = 0; length <= tag.size() + 4; ++length) {
            SCOPED_TRACE(length);
            Exercise(file.substr(0, length));
        }
    }
}

TEST_F(ID3Robustness, DamagedTags) {
    std::mt19937 random(7);
    const std::vector<std::string> tags = SampleTags();
    for (int round = 0; round < 150; ++round) {
        std::string file = tags[static_cast<std::size_t>(round) % tags.size()] + Audio();
        const int changes = 1 + round % 4;
        for (int i = 0; i < changes; ++i) {
            const std::size_t at = random() % 120;
            file[at] = static_cast<char>(random() % 4 == 0 ? 0xFF : random());
        }
        SCOPED_TRACE(round);
        Exercise(file);
    }
}

TEST_F(ID3Robustness, RandomBytesAndHostileSizes) {
    for (unsigned seed = 0; seed < 100; ++seed) {
        std::string bytes = RandomBytes(seed * 29 % 700, seed);
        if (seed % 2 == 0 && bytes.size() >= 10) {
            bytes.replace(0, 5, std::string("ID3") + static_cast<char>(2 + seed % 3) + '\0');
        }
        SCOPED_TRACE(seed);
        Exercise(bytes);
    }
    const auto withSize = [](std::string tag, std::size_t at, std::string_view size) {
        tag.replace(at, size.size(), size);
        return tag + Audio();
    };
    const std::string frames = Frame23("TIT2", Text("T")) + Frame23("TPE1", Text("A"));
    Exercise(withSize(Tag(3, frames), 6, "\x7F\x7F\x7F\x7F"));       // tag beyond the file
    Exercise(withSize(Tag(3, frames, 100), 6, "\xFF\xFF\xFF\xFF"));  // not even syncsafe
    Exercise(withSize(Tag(3, frames), 14, "\xFF\xFF\xFF\xFF"));      // frame beyond the tag
    Exercise(withSize(Tag(4, Frame24("TIT2", Text("T")), 10), 14, "\x7F\x7F\x7F\x7F"));
    Exercise(withSize(Tag(2, Frame22("TT2", Text("T")), 10), 13, "\xFF\xFF\xFF"));
    Exercise(withSize(Tag(3, std::string(10, '\0') + frames, 0, 0x40), 10, "\xFF\xFF\xFF\xF0"));
    Exercise(withSize(Tag(4, std::string(6, '\0') + frames, 0, 0x40), 10, "\x7F\x7F\x7F\x7F"));
    Exercise(Tag(4, Frame24("TIT2", "\xFF\xFF\xFF\x7F", 0x0009)) + Audio());  // data length only
    Exercise(Tag(3, Frame23("COMM", "\x01") + Frame23("WXXX", "") + Frame23("TCON", Text("(((("))) +
             Audio());
}

}  // namespace
}  // namespace sonarchive::formats
