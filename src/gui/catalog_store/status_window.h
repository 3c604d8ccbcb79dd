// What the two windows that report a blocking step share: a title without close button, on top
// of the other windows, and text painted before the step blocks the event loop.
#pragma once

#include <QApplication>
#include <QWidget>

namespace sonarchive::gui {

inline constexpr Qt::WindowFlags kStatusWindowFlags =
    Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// Paints the window now: the step that follows keeps the event loop from doing it.
inline void PaintNow(QWidget& window) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    window.repaint();
}

}  // namespace sonarchive::gui
