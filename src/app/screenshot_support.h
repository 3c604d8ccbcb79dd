// What every part's pictures share: the program on its demonstration catalog and the saving
// of one window as a PNG file.
#pragma once

#include <QDir>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace sonarchive::gui {
class Program;
}

namespace sonarchive::screenshots {

// Saves the window as DIR/NAME.png and prints the path; false when it cannot be written.
bool Save(QWidget& window, const QDir& dir, const QString& name);

// Saves the next modal window once it is up, lets `inside` use it, then closes it; `saved`
// turns false when no window came or it could not be saved. `out` must outlive the window.
void ShootNextModal(const QDir& out, const QString& name, bool& saved,
                    const std::function<void(QDialog&)>& inside = {});

// The pictures of each part of the program, taken on the running program; false when one
// could not be saved.
bool ShootShellWindows(gui::Program& program, const QDir& out);
bool ShootCataloguingWindows(gui::Program& program, const QDir& out);
bool ShootTagWindows(gui::Program& program, const QDir& out);
bool ShootListWindows(gui::Program& program, const QDir& out);
bool ShootOrganizeWindows(gui::Program& program, const QDir& out);
bool ShootCollectionWindows(gui::Program& program, const QDir& out);
bool ShootReportWindows(gui::Program& program, const QDir& out);

}  // namespace sonarchive::screenshots
