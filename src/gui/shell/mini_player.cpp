#include "gui/shell/mini_player.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>

#include "gui/shell/screen_placement.h"

namespace sonarchive::gui {
namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& hint,
                    QStyle::StandardPixmap icon) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

TFMiniPlayer::TFMiniPlayer(std::unique_ptr<MediaBackend> backend, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), backend_(std::move(backend)) {
    setObjectName(QStringLiteral("FMiniPlayer"));
    setWindowTitle(tr("Preview"));
    setAttribute(Qt::WA_QuitOnClose, false);
    BuildControls();
    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &TFMiniPlayer::Refresh);
}

TFMiniPlayer::~TFMiniPlayer() {
    backend_->Close();
}

void TFMiniPlayer::BuildControls() {
    auto* logo = new QLabel(this);
    logo->setPixmap(QApplication::windowIcon().pixmap(32));

    position_ = new QSlider(Qt::Horizontal, this);
    position_->setObjectName(QStringLiteral("TrackBarPosition"));
    position_->setRange(0, kInitialLength);
    position_->setMinimumWidth(220);
    connect(position_, &QSlider::valueChanged, this, &TFMiniPlayer::SeekTo);

    volume_ = new QSlider(Qt::Vertical, this);
    volume_->setObjectName(QStringLiteral("TrackBarVolume"));
    volume_->setRange(0, 65535);
    volume_->setToolTip(tr("Volume"));
    volume_->setMinimumHeight(72);
    connect(volume_, &QSlider::valueChanged, this,
            [this](int value) { backend_->SetVolumeUnmuted(value); });

    QPushButton* play = Button(this, "BPlay", tr("Play"), QStyle::SP_MediaPlay);
    QPushButton* pause = Button(this, "BPause", tr("Pause"), QStyle::SP_MediaPause);
    QPushButton* stop = Button(this, "BStop", tr("Stop"), QStyle::SP_MediaStop);
    QPushButton* close = Button(this, "BClose", tr("Close"), QStyle::SP_TitleBarCloseButton);
    connect(play, &QPushButton::clicked, this, &TFMiniPlayer::Play);
    connect(pause, &QPushButton::clicked, this, &TFMiniPlayer::Pause);
    connect(stop, &QPushButton::clicked, this, &TFMiniPlayer::Stop);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(play);
    buttons->addWidget(pause);
    buttons->addWidget(stop);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* grid = new QGridLayout(this);
    grid->addWidget(logo, 0, 0);
    grid->addWidget(position_, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->addWidget(volume_, 0, 2, 2, 1);
}

bool TFMiniPlayer::PlayFile(const QString& path) {
    if (isHidden()) {
        show();
    }
    backend_->Close();
    if (!backend_->Open(path)) {
        return false;
    }
    position_->setMaximum(static_cast<int>(backend_->Length()));
    ShowPosition(backend_->Position());
    return backend_->Play();
}

void TFMiniPlayer::Play() {
    backend_->Play();
}

void TFMiniPlayer::Pause() {
    switch (backend_->State()) {
        case MediaBackend::Mode::Playing:
            backend_->Pause();
            break;
        case MediaBackend::Mode::Paused:
            backend_->Resume();
            break;
        case MediaBackend::Mode::NotReady:
        case MediaBackend::Mode::Stopped:
            break;
    }
}

void TFMiniPlayer::Stop() {
    if (backend_->State() == MediaBackend::Mode::NotReady) {
        return;
    }
    backend_->Stop();
    backend_->Seek(0);
    ShowPosition(0);
}

void TFMiniPlayer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        CentreOnScreen(*this);
    }
    const QSignalBlocker quiet(volume_);  // reading the volume is no move of the slider
    volume_->setEnabled(backend_->HasVolumeControl());
    volume_->setValue(backend_->HasVolumeControl() ? backend_->Volume() : 0);
    updating_ = false;
    refresh_.start();
}

void TFMiniPlayer::closeEvent(QCloseEvent* event) {
    refresh_.stop();
    backend_->Close();
    QWidget::closeEvent(event);
    emit closed();
}

void TFMiniPlayer::Refresh() {
    const qint64 length = backend_->Length();
    if (length > 0 && length != position_->maximum()) {
        position_->setMaximum(static_cast<int>(length));  // known late on some back-ends
    }
    ShowPosition(backend_->Position());
}

void TFMiniPlayer::ShowPosition(qint64 position) {
    updating_ = true;
    position_->setValue(static_cast<int>(position));
    updating_ = false;
}

void TFMiniPlayer::SeekTo(int position) {
    if (updating_) {
        return;
    }
    const MediaBackend::Mode mode = backend_->State();
    if (mode == MediaBackend::Mode::Stopped || mode == MediaBackend::Mode::NotReady) {
        return;
    }
    Pause();  // a playing device pauses, a paused one resumes
    backend_->Seek(position);
    backend_->Play();
}

}  // namespace sonarchive::gui
