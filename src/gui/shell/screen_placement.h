// Where windows go on the screen.
#pragma once

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace sonarchive::gui {

// The part of the primary screen that windows may use.
inline QRect AvailableScreen() {
    const QScreen* screen = QApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
}

inline void CentreOnScreen(QWidget& window) {
    window.move(AvailableScreen().center() - window.rect().center());
}

}  // namespace sonarchive::gui
