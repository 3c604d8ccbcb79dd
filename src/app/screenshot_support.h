// What every part's pictures share: the program on its demonstration catalog and the saving
// of one window as a PNG file.
#pragma once

#include <QDir>
#include <QString>

class QWidget;

namespace sonarchive::gui {
class Program;
}

namespace sonarchive::screenshots {

// Saves the window as DIR/NAME.png and prints the path; false when it cannot be written.
bool Save(QWidget& window, const QDir& dir, const QString& name);

// The pictures of each part of the program, taken on the running program; false when one
// could not be saved.
bool ShootShellWindows(gui::Program& program, const QDir& out);
bool ShootCataloguingWindows(gui::Program& program, const QDir& out);
bool ShootTagWindows(gui::Program& program, const QDir& out);
bool ShootReportWindows(gui::Program& program, const QDir& out);

}  // namespace sonarchive::screenshots
