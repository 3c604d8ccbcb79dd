// The mini player: previews one song at a time with a position slider, a volume slider and
// Play, Pause, Stop and Close. It stays on top of the other windows and hides when closed.
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>

#include "gui/shell/media_backend.h"

class QPushButton;
class QSlider;

namespace sonarchive::gui {

class TFMiniPlayer : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInitialLength = 30000;
    static constexpr int kRefreshMs = 1000;

    explicit TFMiniPlayer(std::unique_ptr<MediaBackend> backend, QWidget* parent = nullptr);
    ~TFMiniPlayer() override;

    // Shows the window, closes the current file and plays this one from its start; false
    // (silently) when it cannot be opened or started.
    bool PlayFile(const QString& path);

    void Play();
    // Pauses a playing file, resumes a paused one.
    void Pause();
    // Stops and goes back to the start.
    void Stop();

    MediaBackend& Backend() { return *backend_; }

signals:
    // The window was closed; the main window releases its "Preview songs" toggle.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    // Closing by any means closes the file; the window only hides.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Refresh();
    // Moves the position slider without taking it for the user's seeking.
    void ShowPosition(qint64 position);
    void SeekTo(int position);

    std::unique_ptr<MediaBackend> backend_;
    QSlider* position_;
    QSlider* volume_;
    QTimer refresh_;
    bool updating_ = false;
    bool placed_ = false;
};

}  // namespace sonarchive::gui
