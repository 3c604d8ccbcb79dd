// The files an installation gives the desktop: its entry, the metainfo and the icons, as the
// desktop's own validators and a file manager's "Open with" see them.
#include <filesystem>
#include <sstream>

#include "installation.h"

namespace sonarchive::testing {
namespace {

const std::string kId = SONARCHIVE_DESKTOP_ID;

class InstalledFiles : public Installation {};

std::string KeyOf(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(key + "=", 0) == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return {};
}

// Width and height from a PNG's header chunk; zero when it is no PNG.
std::pair<int, int> PngSize(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0) {
        return {0, 0};
    }
    const auto at = [&bytes](std::size_t i) {
        return (static_cast<unsigned char>(bytes[i]) << 24) |
               (static_cast<unsigned char>(bytes[i + 1]) << 16) |
               (static_cast<unsigned char>(bytes[i + 2]) << 8) |
               static_cast<unsigned char>(bytes[i + 3]);
    };
    return {static_cast<int>(at(16)), static_cast<int>(at(20))};
}

TEST_F(InstalledFiles, DesktopEntryOpensTheAudioFilesAndPlaylistsAndValidates) {
    ExpectTool("desktop-file-validate");
    const std::string path = Installed("share/applications/" + kId + ".desktop");
    const CommandResult validated = RunCommand("desktop-file-validate " + ShellQuote(path));
    EXPECT_EQ(validated.exitCode, 0);
    EXPECT_EQ(validated.output, "");

    const std::string entry = ReadBytes(path);
    EXPECT_EQ(KeyOf(entry, "Exec"), "sonarchive %F");
    EXPECT_EQ(KeyOf(entry, "Icon"), kId);
    EXPECT_EQ(KeyOf(entry, "MimeType"),
              "audio/mpeg;audio/x-vorbis+ogg;audio/ogg;audio/x-wav;audio/vnd.wave;audio/x-ape;"
              "audio/x-mpegurl;");
    EXPECT_TRUE(std::filesystem::is_regular_file(Installed("bin/sonarchive")));
}

TEST_F(InstalledFiles, MetainfoValidatesWithTheEntryAndIconsBesideIt) {
    ExpectTool("appstreamcli");
    const std::string path = Installed("share/metainfo/" + kId + ".metainfo.xml");
    const CommandResult file = RunCommand("appstreamcli validate --no-net " + ShellQuote(path));
    EXPECT_EQ(file.exitCode, 0) << file.output;
    // The tree check also finds the desktop entry the metainfo launches and its icon.
    const CommandResult tree =
        RunCommand("appstreamcli validate-tree --no-net " + ShellQuote(Root()));
    EXPECT_EQ(tree.exitCode, 0) << tree.output;
    EXPECT_EQ(tree.output.find("W: "), std::string::npos) << tree.output;

    const std::string metainfo = ReadBytes(path);
    for (const std::string& part :
         {"<id>" + kId + "</id>",
          "<launchable type=\"desktop-id\">" + kId + ".desktop</launchable>",
          std::string("<binary>sonarchive</binary>"),
          std::string("<binary>sonarchive-cli</binary>"), std::string("/main-window.png</image>"),
          std::string("<content_rating type=\"oars-1.1\"/>"),
          std::string("<project_license>GPL-3.0-or-later</project_license>")}) {
        EXPECT_NE(metainfo.find(part), std::string::npos) << part;
    }
}

// The software centre shows the pictures scripts/screenshots makes, by their file names.
TEST_F(InstalledFiles, MetainfoScreenshotsAreThePicturesTheScreenshotProgramMakes) {
    const std::string metainfo = ReadBytes(Installed("share/metainfo/" + kId + ".metainfo.xml"));
    TempDir pictures;
    const CommandResult shot =
        RunCommand("QT_QPA_PLATFORM=offscreen " + ShellQuote(SONARCHIVE_SCREENSHOTS) + " " +
                   ShellQuote(pictures.Path()));
    ASSERT_EQ(shot.exitCode, 0) << shot.output;
    int images = 0;
    for (std::size_t at = metainfo.find("<image>"); at != std::string::npos;
         at = metainfo.find("<image>", at + 1)) {
        const std::size_t end = metainfo.find("</image>", at);
        const std::string url = metainfo.substr(at + 7, end - at - 7);
        const std::string name = url.substr(url.rfind('/') + 1);
        EXPECT_EQ(url.rfind("https://", 0), 0u) << url;
        EXPECT_TRUE(std::filesystem::is_regular_file(pictures / name)) << name;
        ++images;
    }
    EXPECT_GE(images, 1);
}

TEST_F(InstalledFiles, IconAtEveryThemeSizeAndScalable) {
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(PngSize(Installed("share/icons/hicolor/" + folder + "/apps/" + kId + ".png")),
                  std::make_pair(size, size))
            << folder;
    }
    const std::string svg =
        ReadBytes(Installed("share/icons/hicolor/scalable/apps/" + kId + ".svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
}

}  // namespace
}  // namespace sonarchive::testing
