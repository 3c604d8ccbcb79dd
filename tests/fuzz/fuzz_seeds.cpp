// Writes the starting corpus of every fuzz target, built field by field by the tests' byte
// builders, into FOLDER/<target>/: fuzz_seeds FOLDER. Files made by the real encoders are
// added by scripts/fuzz.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "format_bytes.h"
#include "id3v2_bytes.h"
#include "ogg_test_files.h"

namespace {

namespace fs = std::filesystem;
namespace bytes = sonarchive::formats::testing;
namespace id3 = sonarchive::testing::id3v2;
using Seeds = std::vector<std::string>;

std::string MpegStream() {
    return bytes::Frames(bytes::HeaderBits{}, 417, 12);
}

// A first frame carrying a Xing header with a frame count, as LAME writes one.
std::string XingStream() {
    std::string xing = std::string(32, '\0') + "Xing" + bytes::Be32(3) + bytes::Be32(400) +
                       bytes::Be32(400 * 417);
    return bytes::Frame(bytes::HeaderBits{}, 417, std::string(2, '\0') + xing) + MpegStream();
}

std::string Id3v2WithTexts(std::uint8_t version) {
    if (version == 2) {
        return id3::Tag(2, id3::Frame22("TT2", id3::Text("Title")) +
                               id3::Frame22("TP1", id3::Text("Artist")) +
                               id3::Frame22("COM", id3::Text("eng\0Comment", '\0')), 64);
    }
    const auto frame = version == 4 ? id3::Frame24 : id3::Frame23;
    return id3::Tag(version,
                    frame("TIT2", id3::Text("Title"), 0) +
                        frame("TPE1", id3::Text(std::string("\xFF\xFE" "A\0r\0t\0", 8), '\1'), 0) +
                        frame("TRCK", id3::Text("3/12"), 0) + frame("TCON", id3::Text("(17)"), 0) +
                        frame("TCOM", id3::Text(std::string("One\0Two", 7), '\3'), 0) +
                        frame("COMM", id3::Text(std::string("eng\0Comment", 11)), 0) +
                        frame("APIC", std::string("\0image/png\0\3\0", 13) + "PNG", 0),
                    128);
}

std::string ApeItems() {
    return bytes::ApeItem("Title", "Title") + bytes::ApeItem("Artist", "Artist") +
           bytes::ApeItem("Track", "3/12") +
           bytes::ApeItem("Cover Art (Front)", std::string("cover\0\x89PNG", 10), 2);
}

std::string WavFile(std::uint16_t channels, bool chunkAfterData) {
    std::string format = std::string("\1\0", 2) + static_cast<char>(channels) + '\0' +
                         bytes::Le32(44100) + bytes::Le32(44100 * 2 * channels) +
                         static_cast<char>(2 * channels) + '\0' + std::string("\x10\0", 2);
    std::string body = "WAVE" + bytes::RiffChunk("fmt ", format) +
                       bytes::RiffChunk("fact", bytes::Le32(1000)) +
                       bytes::RiffChunk("data", std::string(4000, '\x11'));
    if (chunkAfterData) {
        body += bytes::RiffChunk("LIST", "INFOINAM" + bytes::Le32(5) + "Name\0");
    }
    return "RIFF" + bytes::Le32(static_cast<std::uint32_t>(body.size())) + body;
}

std::string MonkeyFile(bool newLayout) {
    const std::string header = newLayout ? bytes::MonkeyNewHeader(3990, 52, 16, 2, 44100)
                                         : bytes::MonkeyOldHeader(3970, 2000, 4, 2, 44100, 3, 100,
                                                                  bytes::Le32(30000));
    return header + std::string(600, '\x22') +
           bytes::ApeTag(2000, ApeItems(), 4, true);
}

std::string OggFile(std::size_t segmentsPerPage) {
    sonarchive::testing::TestOggVorbis layout;
    layout.headerSegmentsPerPage = segmentsPerPage;
    layout.audioPages = 2;
    layout.setupSize = 200;
    return sonarchive::testing::MakeOggVorbis(layout);
}

std::map<std::string, Seeds> ReaderSeeds() {
    const std::string audio = id3::Audio();
    const std::string id3v1 = "TAG" + std::string("Title") + std::string(25, '\0') + "Artist" +
                              std::string(24, ' ') + std::string(30, '\0') + "1999" +
                              std::string(28, '\0') + '\0' + '\7' + '\x11';
    const Seeds mpeg = {MpegStream(), XingStream(), Id3v2WithTexts(3) + XingStream() + id3v1,
                        Id3v2WithTexts(4) + std::string(3000, '\0') + XingStream(),
                        bytes::Id3v2Tag(40) + MpegStream() + bytes::ApeTag(2000, ApeItems(), 4)};
    return {
        {"read_id3v1", {id3v1, audio + id3v1, audio + bytes::Id3v1Tag()}},
        {"read_id3v2",
         {Id3v2WithTexts(2) + audio, Id3v2WithTexts(3) + audio, Id3v2WithTexts(4) + audio,
          id3::Tag(3, id3::Unsynchronise(id3::Frame23("TIT2", id3::Text("\xFF\xE0"))), 0, 0x80)}},
        {"read_mpeg", mpeg},
        {"read_ogg_vorbis", {OggFile(255), OggFile(2), sonarchive::testing::MakeId3v2Tag(64) + OggFile(255)}},
        {"read_ape_tag",
         {audio + bytes::ApeTag(2000, ApeItems(), 4, true),
          audio + bytes::ApeTag(1000, ApeItems(), 4) + id3v1}},
        {"read_monkey", {MonkeyFile(false), MonkeyFile(true), Id3v2WithTexts(3) + MonkeyFile(true)}},
        {"read_wav", {WavFile(2, false), WavFile(1, true)}},
    };
}

// A writer's seeds: each of the reader's files behind every byte that picks the texts written.
Seeds WriterSeeds(const Seeds& files) {
    Seeds seeds;
    for (const std::string& file : files) {
        for (char selector = 0; selector < 4; ++selector) {
            seeds.push_back(selector + file);
        }
    }
    return seeds;
}

bool WriteSeeds(const fs::path& folder, const Seeds& seeds) {
    fs::create_directories(folder);
    int number = 0;
    for (const std::string& seed : seeds) {
        std::ofstream out(folder / ("seed-" + std::to_string(++number)), std::ios::binary);
        out.write(seed.data(), static_cast<std::streamsize>(seed.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write a seed into %s\n", folder.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const fs::path root = argv[1];
    const std::map<std::string, Seeds> readers = ReaderSeeds();
    const std::map<std::string, std::string> writers = {{"write_id3v1", "read_id3v1"},
                                                        {"write_id3v2", "read_mpeg"},
                                                        {"write_ape_tag", "read_monkey"},
                                                        {"write_ogg_vorbis", "read_ogg_vorbis"}};
    for (const auto& [target, seeds] : readers) {
        if (!WriteSeeds(root / target, seeds)) {
            return 1;
        }
    }
    for (const auto& [target, reader] : writers) {
        if (!WriteSeeds(root / target, WriterSeeds(readers.at(reader)))) {
            return 1;
        }
    }
    return 0;
}
