// The window tests run on Qt's offscreen platform, with the temporary folder of the program
// (where its temporary playlists live) moved to a private one.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The offscreen platform says on every window that it cannot do what a window manager does.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("This plugin does not support")) ||
        text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR"))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietPlatformNotes);
    std::string temp = (std::filesystem::temp_directory_path() / "sonarchive-gui-XXXXXX").string();
    if (::mkdtemp(temp.data()) == nullptr) {
        return 1;
    }
    ::setenv("TMPDIR", temp.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(temp, ignored);
    return result;
}
