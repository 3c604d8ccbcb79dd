#include "gui/shell/child_windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVariant>

#include "gui/shell/task_bar.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kKindProperty = "sonarchiveChildKind";

}  // namespace

ChildWindows::ChildWindows(QMdiArea& area, TaskBar& taskBar, QObject* parent)
    : QObject(parent), area_(area), taskBar_(taskBar) {}

QMdiSubWindow* ChildWindows::Add(QWidget* contents, ChildKind kind) {
    QMdiSubWindow* window = area_.addSubWindow(contents);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setProperty(kKindProperty, static_cast<int>(kind));
    taskBar_.AddWindow(window);
    window->show();
    area_.setActiveSubWindow(window);
    return window;
}

QMdiSubWindow* ChildWindows::ShowSingle(ChildKind kind, const std::function<QWidget*()>& create) {
    if (QMdiSubWindow* open = FindOpen(kind)) {
        BringToFront(open);
        return open;
    }
    QWidget* contents = create();
    return contents != nullptr ? Add(contents, kind) : nullptr;
}

QMdiSubWindow* ChildWindows::FindOpen(ChildKind kind) const {
    const QList<QMdiSubWindow*> windows = Windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (KindOf(*it) == kind) {
            return *it;
        }
    }
    return nullptr;
}

void ChildWindows::BringToFront(QMdiSubWindow* window) {
    area_.setActiveSubWindow(window);
    window->raise();
}

std::optional<ChildKind> ChildWindows::KindOf(const QMdiSubWindow* window) const {
    const QVariant kind = window != nullptr ? window->property(kKindProperty) : QVariant();
    if (!kind.isValid()) {
        return std::nullopt;
    }
    return static_cast<ChildKind>(kind.toInt());
}

std::optional<ChildKind> ChildWindows::ActiveKind() const {
    return KindOf(area_.activeSubWindow());
}

ListWindow* ChildWindows::ActiveListWindow() const {
    const QMdiSubWindow* active = area_.activeSubWindow();
    return active != nullptr ? dynamic_cast<ListWindow*>(active->widget()) : nullptr;
}

QList<QMdiSubWindow*> ChildWindows::Windows() const {
    // A closed window stays in the area's list until it is deleted.
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* window : area_.subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isHidden()) {
            open.append(window);
        }
    }
    return open;
}

void ChildWindows::CloseAll() {
    area_.closeAllSubWindows();
}

}  // namespace sonarchive::gui
