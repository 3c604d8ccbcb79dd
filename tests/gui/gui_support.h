// What the window tests share: a program on a private data directory and settings file with
// a scripted interaction, test doubles for the media back-end and for a list window, and a
// helper that answers the next modal dialog.
#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/shell/child_window.h"
#include "gui/shell/media_backend.h"
#include "gui/shell/program.h"
#include "platform/settings_file.h"
#include "support/fake_host_prober.h"
#include "support/fake_mount_table.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::testing {

// Plays nothing; records every request and keeps the state a device would have.
class FakeMediaBackend : public gui::MediaBackend {
public:
    std::vector<std::string> calls;  // "open NAME", "close", "play", "pause", "resume", ...
    Mode mode = Mode::NotReady;
    qint64 length = 200000;
    qint64 position = 0;
    bool openSucceeds = true;
    bool volumeControl = true;
    int volume = 30000;
    bool muted = true;

    bool Open(const QString& path) override;
    void Close() override;
    Mode State() const override { return mode; }
    bool Play() override;
    bool Pause() override;
    bool Resume() override;
    bool Stop() override;
    bool Seek(qint64 milliseconds) override;
    qint64 Length() const override { return length; }
    qint64 Position() const override { return position; }
    bool HasVolumeControl() const override { return volumeControl; }
    int Volume() const override { return volume; }
    void SetVolumeUnmuted(int value) override;
};

// A list window that records what the main window asks of it.
class FakeListWindow : public QWidget, public gui::ListWindow {
public:
    explicit FakeListWindow(std::vector<std::string>& calls, const QString& caption = "List");

    void SelectAllRows() override { calls_.push_back("select all"); }
    void FindText() override { calls_.push_back("find"); }
    void FindNext() override { calls_.push_back("find next"); }
    void ShowVisibleFieldsDialog() override { calls_.push_back("fields dialog"); }
    void BuildViewColumnsMenu(QMenu& menu) override;
    void PreviewCurrent(gui::TFMiniPlayer& player) override;
    void OpenInPlayer(bool enqueue) override { calls_.push_back(enqueue ? "enqueue" : "play"); }
    void ExportRows(bool selectionOnly) override {
        calls_.push_back(selectionOnly ? "export selection" : "export all");
    }
    catalog::IdList SelectedIds() override {
        calls_.push_back("selected ids");
        return {};
    }
    void ReloadRows() override { calls_.push_back("reload"); }

private:
    std::vector<std::string>& calls_;
};

// Waits for the next modal dialog and presses its button with that object name or text;
// `prepare` may set the dialog's controls first. Gives up after a few seconds.
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(QString button, std::function<void(QWidget&)> prepare = {});
    // Waits for a modal dialog with that caption, letting any other pass.
    ModalAnswerer(QString button, QString caption, std::function<void(QWidget&)> prepare);
    bool Answered() const { return answered_; }
    // The text of the dialog's labels, joined by new lines.
    const QString& SeenText() const { return seenText_; }
    const QString& SeenTitle() const { return seenTitle_; }

private:
    void Poll();

    QString button_;
    QString caption_;
    std::function<void(QWidget&)> prepare_;
    QTimer timer_;
    int attempts_ = 0;
    bool answered_ = false;
    QString seenText_;
    QString seenTitle_;
};

// A program on its own data directory and settings file, talking through a script.
class ProgramHarness {
public:
    // The welcome offer is taken unless `firstStart` is set.
    explicit ProgramHarness(bool firstStart = false);
    ~ProgramHarness();

    std::string DataDirectory() const { return dir / "data"; }
    std::string DatabasePath() const { return dir / "data/sonarchv.db"; }
    // Makes the program (not yet started).
    gui::Program& Make(gui::WindowProviders providers = {});
    gui::Program& Get() { return *program; }
    void Destroy() { program.reset(); }
    // Runs SQL on the catalog file before the program opens it.
    void Prefill(const std::vector<std::string>& statements);

    TempDir dir;
    platform::SettingsFile settings;
    ScriptedInteraction user;
    std::shared_ptr<FakeMountTable> mounts = std::make_shared<FakeMountTable>();
    std::shared_ptr<FakeHostProber> hosts = std::make_shared<FakeHostProber>();
    FakeMediaBackend* backend = nullptr;  // owned by the mini player
    std::unique_ptr<gui::Program> program;
};

// Deletes the windows closed so far (they go on the next pass of the event loop).
void FlushDeletedWindows();

}  // namespace sonarchive::testing
