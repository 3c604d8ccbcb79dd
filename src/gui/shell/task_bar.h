// The task bar of the main window: one button per child window, the active window's button
// pressed, each with a context menu to restore, minimize, maximize or close its window.
#pragma once

#include <QButtonGroup>
#include <QWidget>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolButton;

namespace sonarchive::gui {

class TaskBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxButtonWidth = 80;

    explicit TaskBar(QMdiArea& area, QWidget* parent = nullptr);

    // Adds the window's button, pressed. The button goes when the window is destroyed.
    void AddWindow(QMdiSubWindow* window);
    QToolButton* ButtonOf(const QMdiSubWindow* window) const;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }

    // "&Restore", "Minimize", "Maximize" and "&Close", enabled by the window's state.
    void FillContextMenu(QMenu& menu, QMdiSubWindow* window);

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Entry {
        QMdiSubWindow* window;
        QToolButton* button;
    };

    std::vector<Entry>::const_iterator FindEntry(const QObject* window) const;
    void RemoveWindow(QObject* window);
    void ShowCaption(const Entry& entry);
    void PressButtonOf(QMdiSubWindow* window);
    void LayoutButtons();
    int ButtonWidth() const;

    QMdiArea& area_;
    QButtonGroup group_;
    std::vector<Entry> buttons_;
};

// The text cut so that it fits `width` pixels, ending in "..." when it was cut.
QString ElideWithDots(const QFontMetrics& metrics, const QString& text, int width);

}  // namespace sonarchive::gui
