#include "benchmark_corpus.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "formats/byte_order.h"
#include "formats/ogg_vorbis.h"

namespace sonarchive::benchmarks {
namespace {

namespace fs = std::filesystem;

bool Run(const std::string& command) {
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        std::cerr << "failed: " << command << "\n";
        return false;
    }
    return true;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One ID3v2 text frame in the 2.3 (plain size) or 2.4 (syncsafe size) form, ISO-8859-1.
std::string TextFrame(const std::string& id, const std::string& value, int version) {
    std::string frame = id;
    const auto size = static_cast<std::uint32_t>(value.size() + 1);
    version == 4 ? formats::AppendSyncsafe32(frame, size) : formats::AppendBE32(frame, size);
    frame += std::string(2, '\0');
    frame += '\0';
    return frame + value;
}

// An APIC frame holding `bytes` of fake JPEG data.
std::string PictureFrame(std::size_t bytes, int version) {
    std::string body = std::string(1, '\0') + "image/jpeg" + '\0' + '\3' + "cover" + '\0';
    body += "\xFF\xD8\xFF\xE0";
    body += std::string(bytes, '\x5A');
    std::string frame = "APIC";
    const auto size = static_cast<std::uint32_t>(body.size());
    version == 4 ? formats::AppendSyncsafe32(frame, size) : formats::AppendBE32(frame, size);
    return frame + std::string(2, '\0') + body;
}

std::string Id3v2Tag(int version, const std::string& title, const std::string& artist,
                     const std::string& album, int track, int year, std::size_t pictureBytes) {
    std::string frames = TextFrame("TIT2", title, version) + TextFrame("TPE1", artist, version) +
                         TextFrame("TALB", album, version) +
                         TextFrame("TRCK", std::to_string(track), version) +
                         TextFrame(version == 4 ? "TDRC" : "TYER", std::to_string(year), version) +
                         TextFrame("TCON", "Rock", version);
    if (pictureBytes > 0) {
        frames += PictureFrame(pictureBytes, version);
    }
    frames += std::string(1024, '\0');  // padding, as taggers leave it
    std::string tag = "ID3";
    tag += static_cast<char>(version);
    tag += std::string(2, '\0');
    formats::AppendSyncsafe32(tag, static_cast<std::uint32_t>(frames.size()));
    return tag + frames;
}

std::string Id3v1Tag(const std::string& title, const std::string& artist, int track) {
    std::string block(128, '\0');
    block.replace(0, 3, "TAG");
    block.replace(3, std::min<std::size_t>(30, title.size()), title.substr(0, 30));
    block.replace(33, std::min<std::size_t>(30, artist.size()), artist.substr(0, 30));
    block[126] = static_cast<char>(track);
    block[127] = 17;
    return block;
}

struct Pool {
    std::string cbr, vbr, ogg, wav;
};

bool EncodePool(const std::string& dir, Pool& pool) {
    fs::create_directories(dir);
    const std::string tone = dir + "/tone.wav";
    pool = {dir + "/cbr.mp3", dir + "/vbr.mp3", dir + "/pool.ogg", dir + "/short.wav"};
    return Run("sox -n -r 44100 -c 2 -b 16 " + tone + " synth 4 sine 440 vol 0.5") &&
           Run("sox -n -r 22050 -c 1 -b 16 " + pool.wav + " synth 1 sine 330 vol 0.5") &&
           Run("lame --quiet -b 128 " + tone + " " + pool.cbr) &&
           Run("lame --quiet -V 2 " + tone + " " + pool.vbr) &&
           Run("oggenc --quiet -q 3 -o " + pool.ogg + " " + tone);
}

enum class CorpusStart { AlreadyThere, Started, Failed };

// A corpus whose marker file is there is kept; otherwise the folder is emptied and the pool
// encoded into it.
CorpusStart StartCorpus(const std::string& folder, const std::string& marker, Pool& pool) {
    if (fs::exists(marker)) {
        return CorpusStart::AlreadyThere;
    }
    fs::remove_all(folder);
    return EncodePool(folder + "/.pool", pool) ? CorpusStart::Started : CorpusStart::Failed;
}

}  // namespace

bool MakeCorpus(const std::string& folder, int count) {
    const std::string marker = folder + "/.corpus-" + std::to_string(count);
    Pool pool;
    const CorpusStart start = StartCorpus(folder, marker, pool);
    if (start != CorpusStart::Started) {
        return start == CorpusStart::AlreadyThere;
    }
    const std::string cbr = ReadFile(pool.cbr);
    const std::string vbr = ReadFile(pool.vbr);
    const std::string wav = ReadFile(pool.wav);
    for (int i = 0; i < count; ++i) {
        const int artist = i / 100;
        const int album = i / 10;
        const int track = i % 10 + 1;
        const std::string dir =
            folder + "/Artist " + std::to_string(artist) + "/Album " + std::to_string(album);
        fs::create_directories(dir);
        const std::string title = "Title " + std::to_string(i);
        const std::string artistName = "Artist " + std::to_string(artist);
        const std::string albumName = "Album " + std::to_string(album);
        const std::string stem =
            dir + "/" + (track < 10 ? "0" : "") + std::to_string(track) + " " + title;
        switch (i % 20) {
            case 0:
            case 1:
            case 2:
            case 3:
            case 4:
            case 5:
            case 6:
            case 7:
                // CBR with an ID3v2.3 tag; every fourth with a 30 KB picture, every third
                // with an ID3v1 tag as well.
                WriteFile(stem + ".mp3",
                          Id3v2Tag(3, title, artistName, albumName, track, 1990 + i % 30,
                                   i % 4 == 0 ? 30 * 1024 : 0) +
                              cbr + (i % 3 == 0 ? Id3v1Tag(title, artistName, track) : ""));
                break;
            case 8:
            case 9:
            case 10:
            case 11:
                WriteFile(stem + ".mp3", Id3v2Tag(4, title, artistName, albumName, track, 2005,
                                                  i % 8 == 0 ? 30 * 1024 : 0) +
                                             vbr);
                break;
            case 12:
                WriteFile(stem + ".mp3", cbr + Id3v1Tag(title, artistName, track));
                break;
            case 13:
            case 14:
            case 15:
            case 16:
            case 17: {
                fs::copy_file(pool.ogg, stem + ".ogg", fs::copy_options::overwrite_existing);
                formats::TOggVorbis ogg;
                if (ogg.Read(stem + ".ogg")) {
                    ogg.SetTitle(title);
                    ogg.SetArtist(artistName);
                    ogg.SetAlbum(albumName);
                    ogg.SetTrack(static_cast<std::uint16_t>(track));
                    ogg.Write(stem + ".ogg");
                }
                break;
            }
            default:
                WriteFile(stem + ".wav", wav);
                break;
        }
    }
    WriteFile(marker, "");
    return true;
}

bool MakeMp3Corpus(const std::string& folder, int count) {
    const std::string marker = folder + "/.mp3-corpus-" + std::to_string(count);
    Pool pool;
    const CorpusStart start = StartCorpus(folder, marker, pool);
    if (start != CorpusStart::Started) {
        return start == CorpusStart::AlreadyThere;
    }
    const std::string cbr = ReadFile(pool.cbr);
    for (int i = 0; i < count; ++i) {
        const std::string artist = "Artist " + std::to_string(i / 100);
        const std::string title = "Title " + std::to_string(i);
        fs::create_directories(folder + "/" + artist);
        char number[16];
        std::snprintf(number, sizeof number, "%04d ", i);
        WriteFile(folder + "/" + artist + "/" + number + title + ".mp3",
                  Id3v2Tag(3, title, artist, "Album " + std::to_string(i / 10), i % 10 + 1,
                           1990 + i % 30, i % 4 == 0 ? 30 * 1024 : 0) +
                      cbr);
    }
    WriteFile(marker, "");
    return true;
}

}  // namespace sonarchive::benchmarks
