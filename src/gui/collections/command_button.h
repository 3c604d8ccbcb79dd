// The tool buttons of the collection and playlist windows: a theme icon with its caption beside
// it, running its command as the main window runs commands (engine errors end in the error box).
#pragma once

#include <QString>
#include <functional>

class QToolButton;
class QWidget;

namespace sonarchive::gui {

class TFMain;

QToolButton* CommandButton(TFMain& main, QWidget& parent, const char* name, const QString& text,
                           const QString& hint, const char* icon,
                           const std::function<void()>& command);

}  // namespace sonarchive::gui
