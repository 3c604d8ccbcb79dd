#include "gui/shell/opened_files.h"

#include <QScopedValueRollback>
#include <QStringList>
#include <QTimer>
#include <filesystem>

#include "gui/shell/app_context.h"
#include "gui/shell/file_drops.h"
#include "gui/shell/main_window.h"
#include "text/path_bytes.h"
#include "text/text.h"

namespace sonarchive::gui {
namespace {

std::string AbsoluteName(const std::string& argument, const std::string& workingDirectory) {
    std::filesystem::path path(argument);
    if (path.is_relative()) {
        path = std::filesystem::path(workingDirectory) / path;
    }
    std::string bytes = path.lexically_normal().string();
    while (bytes.size() > 1 && bytes.back() == '/') {
        bytes.pop_back();
    }
    return text::PathFromSystem(bytes);
}

bool EndsWithIgnoringCase(const std::string& text, std::string_view end) {
    return text.size() > end.size() &&
           text::EqualsIgnoringCase(std::string_view(text).substr(text.size() - end.size()), end);
}

}  // namespace

std::vector<std::string> NamedPaths(const std::vector<std::string>& arguments,
                                    const QStringList& positional,
                                    const std::string& workingDirectory) {
    std::vector<std::string> paths;
    qsizetype next = 0;
    for (const std::string& argument : arguments) {
        if (next < positional.size() &&
            QString::fromLocal8Bit(argument.data(), static_cast<qsizetype>(argument.size())) ==
                positional[next]) {
            ++next;
            if (!argument.empty()) {
                paths.push_back(AbsoluteName(argument, workingDirectory));
            }
        }
    }
    return paths;
}

bool IsPlaylistName(const std::string& path) {
    return EndsWithIgnoringCase(path, ".m3u") || EndsWithIgnoringCase(path, ".m3u8");
}

OpenedFiles::OpenedFiles(TFMain& main) : QObject(&main), main_(main) {}

void OpenedFiles::Receive(std::vector<std::string> paths) {
    if (paths.empty()) {
        return;
    }
    waiting_.push_back(std::move(paths));
    if (ready_) {
        ScheduleWaiting();
    }
}

void OpenedFiles::StartupDone() {
    ready_ = true;
    ScheduleWaiting();
}

void OpenedFiles::ScheduleWaiting() {
    QTimer::singleShot(0, this, [this] { TakeWaiting(); });
}

void OpenedFiles::TakeWaiting() {
    // An add lets events run between its files; a hand-over that comes meanwhile waits here
    // instead of starting a second add inside the first.
    if (taking_ || !ready_) {
        return;
    }
    const QScopedValueRollback<bool> taking(taking_, true);
    while (!waiting_.empty()) {
        const std::vector<std::string> paths = std::move(waiting_.front());
        waiting_.pop_front();
        Take(paths);
    }
}

void OpenedFiles::Take(const std::vector<std::string>& paths) {
    if (!main_.App().CatalogOpen()) {
        return;
    }
    const WindowProviders& providers = main_.Providers();
    std::vector<std::string> others;
    for (const std::string& path : paths) {
        if (IsPlaylistName(path) && providers.openPlaylist) {
            main_.OpenPlaylistFile(QtFileName(path), false);
        } else {
            others.push_back(path);
        }
    }
    if (others.empty() || !providers.addDroppedFiles) {
        return;
    }
    main_.Run([this, &providers, &others] {
        const std::vector<std::string> dropped = WithFolderFiles(main_.Drives().Mounts(), others);
        if (!dropped.empty()) {
            providers.addDroppedFiles(main_, dropped);
        }
    });
}

}  // namespace sonarchive::gui
