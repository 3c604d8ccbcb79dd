// The figures an add shows while it runs, in its progress window and in the window that lists
// the added files: the volume being scanned and the four counters.
#pragma once

#include <QWidget>

#include "cataloguing/add_files.h"
#include "cataloguing/volume_identity.h"

class QLabel;

namespace sonarchive::gui {

// "Media type:", "Drive Letter:", "Serial no:", "Volumelabel:".
class VolumeFigures : public QWidget {
    Q_OBJECT
public:
    explicit VolumeFigures(QWidget* parent = nullptr);
    void Show(const cataloguing::VolumeIdentity& volume);

private:
    QLabel* type_;
    QLabel* letter_;
    QLabel* serial_;
    QLabel* label_;
};

// "Files found:", the added files, "Files already in archive:", "Invalid files:".
class CounterFigures : public QWidget {
    Q_OBJECT
public:
    // The progress window words the second counter without a colon.
    CounterFigures(const QString& addedCaption, QWidget* parent = nullptr);
    void Show(const cataloguing::AddCounters& counters);

private:
    QLabel* found_;
    QLabel* added_;
    QLabel* already_;
    QLabel* invalid_;
};

}  // namespace sonarchive::gui
