#include "result_lists_corpus.h"

#include <array>
#include <random>

#include "catalog_store/date_time.h"
#include "catalog_store/sql_text.h"

namespace sonarchive::benchmarks {
namespace {

constexpr std::size_t kArtistsAt200000 = 4000;
constexpr const char* kMountedSerial = "0A1B2C3D";
constexpr const char* kUnmountedSerial = "DEADBEEF";
constexpr const char* kHost = "//nas";
constexpr const char* kShare = "//nas/music";

constexpr std::array<const char*, 24> kSyllables{
    "ka",  "lo",  "mi",  "ne",  "ru",  "sa",  "to",  "vi",   "ber", "dan",  "fel", "gor",
    "hal", "jun", "kor", "lin", "mar", "nor", "pel", "quin", "ros", "sten", "tur", "zel"};
constexpr std::array<const char*, 8> kAccented{"ö", "é", "ñ", "ø", "ß", "Ж", "ł", "ü"};
constexpr std::array<const char*, 10> kWords{"Love",  "Night", "River", "Blue", "Song",
                                             "Light", "Road",  "Heart", "Rain", "Dream"};
constexpr std::array<const char*, 6> kGenres{"Rock",  "Pop",       "Jazz",
                                             "Blues", "Classical", "Hip Hop/R&B"};

std::string ArtistName(std::size_t index, std::mt19937& random) {
    std::string name;
    for (std::size_t n = index + 1; n > 0; n /= kSyllables.size()) {
        name += kSyllables[n % kSyllables.size()];
    }
    if (index % 5 == 0) {
        name += kAccented[index % kAccented.size()];
    }
    name += " " + std::string(kWords[random() % kWords.size()]);
    return name;
}

// The same artist written in upper, lower or title case, as tags from many sources are.
std::string InSomeCase(std::string name, unsigned variant) {
    if (variant % 3 == 0) {
        for (char& c : name) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    } else if (variant % 3 == 1) {
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    return name;
}

platform::MountEntry Local(std::string mountPoint, std::string serial) {
    return {std::move(mountPoint), "/dev/bench", "ext4", "Fixed", std::move(serial), "MUSIC", ""};
}

}  // namespace

ResultListCorpus FillResultListCatalog(catalog::Catalog& catalog, std::size_t rows) {
    ResultListCorpus corpus;
    corpus.rows = rows;
    corpus.artists = std::max<std::size_t>(1, kArtistsAt200000 * rows / 200000);
    corpus.titleWord = "Zephyr";
    corpus.drives = {Local("/media/bench/MUSIC", kMountedSerial),
                     {"/mnt/nas", kShare, "cifs", "Remote", "", "", kShare}};
    corpus.drivesAfterChange = corpus.drives;
    corpus.drivesAfterChange.push_back(Local("/media/bench/STICK", kUnmountedSerial));
    corpus.hosts.RegisterHost(kHost);

    std::mt19937 random(20040501);
    std::vector<std::string> artists;
    for (std::size_t i = 0; i < corpus.artists; ++i) {
        artists.push_back(ArtistName(i, random));
    }
    corpus.largestArtist = artists[0];

    catalog::Database& database = catalog.Engine();
    database.BeginTransaction();
    const double firstDay = catalog::DateTimeFromCivil({2000, 1, 1, 0, 0, 0});
    for (std::size_t row = 0; row < rows; ++row) {
        // 1 % of the rows belong to the first artist; the others are spread over all.
        const std::size_t artist = row % 100 == 0 ? 0 : random() % artists.size();
        const bool network = row % 20 == 1;
        const bool unmounted = !network && row % 10 == 2;
        const std::string title = std::string(kWords[random() % kWords.size()]) + " " +
                                  (row % 100 == 3 ? corpus.titleWord : kWords[row % 10]) + " " +
                                  std::to_string(row);
        const std::string folder = "/" + artists[artist] + "/Album " + std::to_string(row % 12);
        catalog::TableAppender append(database, "maindata");
        append.SetText("dArtist", InSomeCase(artists[artist], static_cast<unsigned>(random())));
        append.SetText("dTitle", title);
        append.SetText("dAlbum", "Album " + std::to_string(row % 12));
        append.SetText("dGenre", kGenres[row % kGenres.size()]);
        append.SetText("dComment", row % 7 == 0 ? "live recording" : "");
        append.SetInteger("dYear", 1960 + static_cast<int>(random() % 60));
        append.SetInteger("dTrack", static_cast<int>(row % 12) + 1);
        append.SetInteger("dFileSize", 1000 + static_cast<int>(random() % 12000));
        append.SetInteger("dFormat", row % 4 == 0 ? catalog::kFormatOgg : catalog::kFormatMp3);
        append.SetInteger("dMPEGBitrate", 128 + 32 * static_cast<int>(random() % 6));
        append.SetInteger("dMPEGFrequency", row % 9 == 0 ? 48000 : 44100);
        append.SetDouble("dLength", 60 + static_cast<double>(random() % 600) + 0.4);
        append.SetDateTime("dDateAdded", firstDay + static_cast<double>(random() % 9000));
        append.SetDateTime("dFileDate", firstDay + static_cast<double>(random() % 9000));
        append.SetText("dDriveLabel", network ? "" : "MUSIC");
        append.SetInteger("dDriveType", network ? catalog::kDriveRemote : catalog::kDriveFixed);
        append.SetText("dDriveSerialNumber",
                       network ? kHost : (unmounted ? kUnmountedSerial : kMountedSerial));
        append.SetText("dPath", (network ? std::string(kShare) : std::string()) + folder + "/" +
                                    title + ".mp3");
        append.Post();
    }
    database.Commit();
    return corpus;
}

}  // namespace sonarchive::benchmarks
