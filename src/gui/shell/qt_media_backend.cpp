#include "gui/shell/qt_media_backend.h"

#include <sys/stat.h>

#include <QAudioDevice>
#include <QAudioOutput>
#include <QEventLoop>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <cmath>

#include "gui/shell/path_text.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

constexpr int kMaxVolume = 65535;
constexpr int kOpenTimeoutMs = 5000;

bool Loaded(QMediaPlayer::MediaStatus status) {
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia ||
           status == QMediaPlayer::BufferingMedia;
}

bool Finished(QMediaPlayer::MediaStatus status) {
    return Loaded(status) || status == QMediaPlayer::InvalidMedia;
}

}  // namespace

QtMediaBackend::QtMediaBackend(QObject* parent)
    : QObject(parent), player_(std::make_unique<QMediaPlayer>()) {
    if (!QMediaDevices::defaultAudioOutput().isNull()) {
        output_ = std::make_unique<QAudioOutput>();
        player_->setAudioOutput(output_.get());
    }
}

QtMediaBackend::~QtMediaBackend() {
    player_->stop();
}

bool QtMediaBackend::Open(const QString& path) {
    Close();
    // The path is in the program's form of names (gui/shell/path_text.h).
    const std::string name = path.toStdString();
    struct stat st {};
    if (::stat(text::PathToSystem(name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    // Opening is asynchronous; wait for the outcome as a blocking open would, letting events
    // run, for at most a few seconds.
    QEventLoop wait;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, &wait,
            [&wait](QMediaPlayer::MediaStatus status) {
                if (Finished(status)) {
                    wait.quit();
                }
            });
    connect(player_.get(), &QMediaPlayer::errorOccurred, &wait, &QEventLoop::quit);
    player_->setSource(UrlOfPath(name));
    if (!Finished(player_->mediaStatus()) && player_->error() == QMediaPlayer::NoError) {
        timeout.start(kOpenTimeoutMs);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!Loaded(player_->mediaStatus()) || player_->error() != QMediaPlayer::NoError) {
        Close();
        return false;
    }
    return true;
}

void QtMediaBackend::Close() {
    player_->stop();
    player_->setSource(QUrl());
}

bool QtMediaBackend::Usable() const {
    return !player_->source().isEmpty() && player_->error() == QMediaPlayer::NoError;
}

MediaBackend::Mode QtMediaBackend::State() const {
    if (!Usable()) {
        return Mode::NotReady;
    }
    switch (player_->playbackState()) {
        case QMediaPlayer::PlayingState:
            return Mode::Playing;
        case QMediaPlayer::PausedState:
            return Mode::Paused;
        case QMediaPlayer::StoppedState:
            break;
    }
    return Mode::Stopped;
}

bool QtMediaBackend::Play() {
    if (!Usable()) {
        return false;
    }
    player_->play();
    return player_->error() == QMediaPlayer::NoError;
}

bool QtMediaBackend::Pause() {
    if (!Usable()) {
        return false;
    }
    player_->pause();
    return true;
}

bool QtMediaBackend::Resume() {
    return Play();
}

bool QtMediaBackend::Stop() {
    if (!Usable()) {
        return false;
    }
    player_->stop();
    return true;
}

bool QtMediaBackend::Seek(qint64 milliseconds) {
    if (!Usable()) {
        return false;
    }
    player_->setPosition(milliseconds);
    return true;
}

qint64 QtMediaBackend::Length() const {
    return player_->duration();
}

qint64 QtMediaBackend::Position() const {
    return player_->position();
}

bool QtMediaBackend::HasVolumeControl() const {
    return output_ != nullptr;
}

int QtMediaBackend::Volume() const {
    return output_ ? static_cast<int>(std::lround(output_->volume() * kMaxVolume)) : 0;
}

void QtMediaBackend::SetVolumeUnmuted(int volume) {
    if (output_) {
        output_->setVolume(static_cast<float>(volume) / kMaxVolume);
        output_->setMuted(false);
    }
}

}  // namespace sonarchive::gui
