#include "gui_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <filesystem>

#include "catalog_store/catalog.h"
#include "gui/shell/mini_player.h"

namespace sonarchive::testing {

bool FakeMediaBackend::Open(const QString& path) {
    calls.push_back("open " + path.toStdString());
    if (!openSucceeds) {
        mode = Mode::NotReady;
        return false;
    }
    mode = Mode::Stopped;
    position = 0;
    return true;
}

void FakeMediaBackend::Close() {
    calls.push_back("close");
    mode = Mode::NotReady;
}

bool FakeMediaBackend::Play() {
    calls.push_back("play");
    if (mode == Mode::NotReady) {
        return false;
    }
    mode = Mode::Playing;
    return true;
}

bool FakeMediaBackend::Pause() {
    calls.push_back("pause");
    mode = Mode::Paused;
    return true;
}

bool FakeMediaBackend::Resume() {
    calls.push_back("resume");
    mode = Mode::Playing;
    return true;
}

bool FakeMediaBackend::Stop() {
    calls.push_back("stop");
    mode = Mode::Stopped;
    return true;
}

bool FakeMediaBackend::Seek(qint64 milliseconds) {
    calls.push_back("seek " + std::to_string(milliseconds));
    position = milliseconds;
    return true;
}

void FakeMediaBackend::SetVolumeUnmuted(int value) {
    calls.push_back("volume " + std::to_string(value));
    volume = value;
    muted = false;
}

FakeListWindow::FakeListWindow(std::vector<std::string>& calls, const QString& caption)
    : calls_(calls) {
    setWindowTitle(caption);
    resize(300, 200);
}

void FakeListWindow::BuildViewColumnsMenu(QMenu& menu) {
    calls_.push_back("fields menu");
    menu.addAction(QStringLiteral("Artist"));
}

void FakeListWindow::PreviewCurrent(gui::TFMiniPlayer& player) {
    calls_.push_back("preview");
    player.PlayFile(QStringLiteral("/music/current.mp3"));
}

ModalAnswerer::ModalAnswerer(QString button, std::function<void(QWidget&)> prepare)
    : button_(std::move(button)), prepare_(std::move(prepare)) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Poll);
    timer_.start(10);
}

ModalAnswerer::ModalAnswerer(QString button, QString caption, std::function<void(QWidget&)> prepare)
    : ModalAnswerer(std::move(button), std::move(prepare)) {
    caption_ = std::move(caption);
}

void ModalAnswerer::Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || (!caption_.isEmpty() && dialog->windowTitle() != caption_)) {
        if (++attempts_ > 500) {
            timer_.stop();
        }
        return;
    }
    timer_.stop();
    seenTitle_ = dialog->windowTitle();
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            seenText_ += (seenText_.isEmpty() ? QString() : QStringLiteral("\n")) + label->text();
        }
    }
    if (prepare_) {
        prepare_(*dialog);
    }
    for (QAbstractButton* candidate : dialog->findChildren<QAbstractButton*>()) {
        if (candidate->objectName() == button_ || candidate->text() == button_) {
            answered_ = true;
            candidate->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << button_.toStdString() << " in " << seenTitle_.toStdString();
    dialog->close();
}

ProgramHarness::ProgramHarness(bool firstStart) : settings(dir / "settings.json") {
    std::filesystem::create_directories(DataDirectory());
    if (!firstStart) {
        settings.Write({{"FIRST_TIME_USAGE", std::int64_t{0}}});
    }
}

ProgramHarness::~ProgramHarness() {
    program.reset();
}

gui::Program& ProgramHarness::Make(gui::WindowProviders providers) {
    gui::ProgramParts parts;
    parts.providers = std::move(providers);
    parts.interaction = &user;
    parts.mounts = mounts;
    parts.hostProber = hosts;
    parts.mediaBackend = [this] {
        auto fake = std::make_unique<FakeMediaBackend>();
        backend = fake.get();
        return fake;
    };
    program = std::make_unique<gui::Program>(DataDirectory(), settings, std::move(parts));
    return *program;
}

void ProgramHarness::Prefill(const std::vector<std::string>& statements) {
    catalog::Catalog catalog(DataDirectory());
    for (const std::string& statement : statements) {
        catalog.Engine().Execute(statement);
    }
}

void FlushDeletedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace sonarchive::testing
