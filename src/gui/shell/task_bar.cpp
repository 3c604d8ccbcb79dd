#include "gui/shell/task_bar.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>
#include <algorithm>

namespace sonarchive::gui {
namespace {

constexpr int kSpacing = 2;
constexpr int kButtonHeight = 24;
constexpr int kTextMargin = 12;

}  // namespace

QString ElideWithDots(const QFontMetrics& metrics, const QString& text, int width) {
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    const QString dots = QStringLiteral("...");
    QString cut = text;
    while (!cut.isEmpty() && metrics.horizontalAdvance(cut + dots) > width) {
        cut.chop(1);
    }
    return cut + dots;
}

TaskBar::TaskBar(QMdiArea& area, QWidget* parent) : QWidget(parent), area_(area) {
    setObjectName(QStringLiteral("TaskBar"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    group_.setExclusive(true);
    connect(&area_, &QMdiArea::subWindowActivated, this, &TaskBar::PressButtonOf);
}

QSize TaskBar::sizeHint() const {
    return {kMaxButtonWidth, kButtonHeight + 2 * kSpacing};
}

void TaskBar::AddWindow(QMdiSubWindow* window) {
    auto* button = new QToolButton(this);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    group_.addButton(button);
    buttons_.push_back({window, button});

    connect(button, &QToolButton::clicked, this, [this, window] {
        area_.setActiveSubWindow(window);
        window->raise();
    });
    connect(button, &QToolButton::customContextMenuRequested, this,
            [this, window, button](const QPoint& at) {
                QMenu menu;
                FillContextMenu(menu, window);
                menu.exec(button->mapToGlobal(at));
            });
    connect(window, &QWidget::windowTitleChanged, this, [this, window] {
        if (const auto entry = FindEntry(window); entry != buttons_.end()) {
            ShowCaption(*entry);
        }
    });
    connect(window, &QObject::destroyed, this, &TaskBar::RemoveWindow);

    button->show();
    LayoutButtons();
    button->setChecked(true);
}

std::vector<TaskBar::Entry>::const_iterator TaskBar::FindEntry(const QObject* window) const {
    return std::find_if(buttons_.begin(), buttons_.end(),
                        [window](const Entry& e) { return e.window == window; });
}

QToolButton* TaskBar::ButtonOf(const QMdiSubWindow* window) const {
    const auto found = FindEntry(window);
    return found != buttons_.end() ? found->button : nullptr;
}

void TaskBar::FillContextMenu(QMenu& menu, QMdiSubWindow* window) {
    const bool minimized = window->isMinimized();
    const bool maximized = window->isMaximized();
    const bool normal = !minimized && !maximized;
    menu.addAction(tr("&Restore"), window, &QWidget::showNormal)->setEnabled(!normal);
    menu.addAction(tr("Minimize"), window, &QWidget::showMinimized)->setEnabled(!minimized);
    menu.addAction(tr("Maximize"), window, &QWidget::showMaximized)->setEnabled(!maximized);
    menu.addAction(tr("&Close"), window, &QWidget::close);
}

void TaskBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutButtons();
}

void TaskBar::RemoveWindow(QObject* window) {
    const auto found = FindEntry(window);
    if (found == buttons_.end()) {
        return;
    }
    group_.removeButton(found->button);
    found->button->deleteLater();
    buttons_.erase(found);
    LayoutButtons();
}

void TaskBar::ShowCaption(const Entry& entry) {
    const QString caption = entry.window->windowTitle();
    entry.button->setToolTip(caption);
    entry.button->setStatusTip(caption);
    entry.button->setText(
        ElideWithDots(entry.button->fontMetrics(), caption, entry.button->width() - kTextMargin));
}

void TaskBar::PressButtonOf(QMdiSubWindow* window) {
    if (QToolButton* button = ButtonOf(window)) {
        button->setChecked(true);
        return;
    }
    // No active child: no button is down.
    group_.setExclusive(false);
    for (const Entry& entry : buttons_) {
        entry.button->setChecked(false);
    }
    group_.setExclusive(true);
}

int TaskBar::ButtonWidth() const {
    if (buttons_.empty()) {
        return kMaxButtonWidth;
    }
    const int count = static_cast<int>(buttons_.size());
    const int fitting = (width() - kSpacing) / count - kSpacing;
    return std::clamp(fitting, 1, kMaxButtonWidth);
}

void TaskBar::LayoutButtons() {
    const int buttonWidth = ButtonWidth();
    int x = kSpacing;
    for (const Entry& entry : buttons_) {
        entry.button->setGeometry(x, kSpacing, buttonWidth, kButtonHeight);
        ShowCaption(entry);
        x += buttonWidth + kSpacing;
    }
}

}  // namespace sonarchive::gui
