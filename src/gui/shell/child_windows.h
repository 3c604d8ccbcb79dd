// The child windows of the main window: creating them with their task-bar button, the
// single-instance rule, and finding the active list window.
#pragma once

#include <QList>
#include <QObject>
#include <functional>
#include <optional>

#include "gui/shell/child_window.h"

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace sonarchive::gui {

class TaskBar;

class ChildWindows : public QObject {
    Q_OBJECT
public:
    ChildWindows(QMdiArea& area, TaskBar& taskBar, QObject* parent = nullptr);

    // Puts the contents into a new child window, shows it and presses its task-bar button.
    // The window is freed when it closes.
    QMdiSubWindow* Add(QWidget* contents, ChildKind kind);
    // Brings the open window of that kind to the front; only when none is open is a new one
    // made from `create`.
    QMdiSubWindow* ShowSingle(ChildKind kind, const std::function<QWidget*()>& create);
    // The open window of that kind created last; null when none is open.
    QMdiSubWindow* FindOpen(ChildKind kind) const;
    void BringToFront(QMdiSubWindow* window);

    std::optional<ChildKind> KindOf(const QMdiSubWindow* window) const;
    std::optional<ChildKind> ActiveKind() const;
    // The active child when it lists files; null otherwise.
    ListWindow* ActiveListWindow() const;
    // The open windows in the order they were made.
    QList<QMdiSubWindow*> Windows() const;
    void CloseAll();

private:
    QMdiArea& area_;
    TaskBar& taskBar_;
};

}  // namespace sonarchive::gui
