// Small pieces the file-organisation windows are built from.
#pragma once

#include <QString>
#include <initializer_list>

#include "gui/shell/drive_icons.h"
#include "gui/shell/named_widgets.h"

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace sonarchive::gui {

class HelpWindow;

// "&Help" opens the topic when the program has a help window.
void ConnectHelp(QPushButton* button, HelpWindow* help, int topic);

}  // namespace sonarchive::gui
