// The mini player's back-end on Qt Multimedia.
#pragma once

#include <QObject>
#include <memory>

#include "gui/shell/media_backend.h"

class QAudioOutput;
class QMediaPlayer;

namespace sonarchive::gui {

class QtMediaBackend : public QObject, public MediaBackend {
    Q_OBJECT
public:
    explicit QtMediaBackend(QObject* parent = nullptr);
    ~QtMediaBackend() override;

    bool Open(const QString& path) override;
    void Close() override;
    Mode State() const override;
    bool Play() override;
    bool Pause() override;
    bool Resume() override;
    bool Stop() override;
    bool Seek(qint64 milliseconds) override;
    qint64 Length() const override;
    qint64 Position() const override;
    bool HasVolumeControl() const override;
    int Volume() const override;
    void SetVolumeUnmuted(int volume) override;

private:
    bool Usable() const;

    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> output_;  // none on a machine without sound output
};

}  // namespace sonarchive::gui
