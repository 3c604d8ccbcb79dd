// What the mini player needs of a media back-end: one open file at a time, the four device
// states, positions in milliseconds, and an output volume from 0 to 65535.
#pragma once

#include <QString>
#include <QtGlobal>

namespace sonarchive::gui {

class MediaBackend {
public:
    enum class Mode { NotReady, Stopped, Playing, Paused };

    virtual ~MediaBackend() = default;

    // Closes the open file, if any, and opens this one (named in the program's form,
    // gui/shell/path_text.h); false when it cannot be played.
    virtual bool Open(const QString& path) = 0;
    virtual void Close() = 0;
    virtual Mode State() const = 0;

    // Each answers false when the device refused.
    virtual bool Play() = 0;
    virtual bool Pause() = 0;
    virtual bool Resume() = 0;
    virtual bool Stop() = 0;
    virtual bool Seek(qint64 milliseconds) = 0;

    virtual qint64 Length() const = 0;
    virtual qint64 Position() const = 0;

    // False when there is no audio output whose volume could be set.
    virtual bool HasVolumeControl() const = 0;
    virtual int Volume() const = 0;
    // Sets the volume and switches muting off.
    virtual void SetVolumeUnmuted(int volume) = 0;
};

}  // namespace sonarchive::gui
