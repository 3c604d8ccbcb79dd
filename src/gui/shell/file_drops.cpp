#include "gui/shell/file_drops.h"

#include <QFile>
#include <QList>
#include <QUrl>
#include <filesystem>

#include "cataloguing/add_files.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

bool IsLocalFile(const QUrl& url) {
    return url.scheme() == QLatin1String("file") &&
           (url.host().isEmpty() || url.host() == QLatin1String("localhost"));
}

}  // namespace

std::vector<std::string> DroppedFilePaths(const QMimeData& data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (!IsLocalFile(url)) {
            continue;
        }
        // toLocalFile() would decode the bytes as UTF-8 and lose those that are not.
        const QByteArray bytes =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8());
        if (!bytes.isEmpty()) {
            paths.push_back(text::PathFromSystem(bytes.toStdString()));
        }
    }
    return paths;
}

std::vector<std::string> WithFolderFiles(const platform::MountTable& mounts,
                                         const std::vector<std::string>& paths) {
    const std::vector<std::string> masks = cataloguing::ExtensionMasks({.all = true});
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code error;
        if (std::filesystem::is_directory(text::PathToSystem(path), error)) {
            const std::vector<std::string> inside = cataloguing::FolderFiles(mounts, path, masks);
            files.insert(files.end(), inside.begin(), inside.end());
        } else {
            files.push_back(path);
        }
    }
    return files;
}

bool OffersLocalFiles(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (IsLocalFile(url)) {
            return true;
        }
    }
    return false;
}

QString QtFileName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(text::PathToSystem(path)));
}

std::unique_ptr<QMimeData> FileUrlsMimeData(const std::vector<std::string>& paths) {
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        const QByteArray bytes = QByteArray::fromStdString(text::PathToSystem(path));
        urls.append(QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode));
    }
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

}  // namespace sonarchive::gui
