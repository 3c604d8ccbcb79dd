// Small pieces the file-organisation windows are built from.
#pragma once

#include <QIcon>
#include <QString>
#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace sonarchive::gui {

class HelpWindow;

// A button found by its component name.
QPushButton* NamedButton(const QString& text, const char* name, QWidget* parent);

// A row of buttons at the right.
QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons);

// "&Help" opens the topic when the program has a help window.
void ConnectHelp(QPushButton* button, HelpWindow* help, int topic);

// The picture of a dDriveType code: 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk.
QIcon DriveTypeIcon(int driveType);

}  // namespace sonarchive::gui
