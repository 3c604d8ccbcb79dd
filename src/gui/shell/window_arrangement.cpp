#include "gui/shell/window_arrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace sonarchive::gui {
namespace {

QList<QMdiSubWindow*> Windows(QMdiArea& area, bool minimized) {
    QList<QMdiSubWindow*> found;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && window->isMinimized() == minimized) {
            found.append(window);
        }
    }
    return found;
}

// The height the row of minimized windows takes at the bottom, 0 when there is none.
int IconRowHeight(QMdiArea& area) {
    const QList<QMdiSubWindow*> icons = Windows(area, true);
    return icons.isEmpty() ? 0 : icons.first()->height();
}

void Tile(QMdiArea& area, Qt::Orientation stacking) {
    const QList<QMdiSubWindow*> windows = Windows(area, false);
    if (windows.isEmpty()) {
        return;
    }
    const QRect space = area.viewport()->rect().adjusted(0, 0, 0, -IconRowHeight(area));
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows[i];
        if (window->isMaximized()) {
            window->showNormal();
        }
        if (stacking == Qt::Vertical) {
            const int h = space.height() / count;
            window->setGeometry(space.left(), space.top() + i * h, space.width(), h);
        } else {
            const int w = space.width() / count;
            window->setGeometry(space.left() + i * w, space.top(), w, space.height());
        }
    }
    ArrangeIcons(area);
}

}  // namespace

void TileHorizontally(QMdiArea& area) {
    Tile(area, Qt::Vertical);
}

void TileVertically(QMdiArea& area) {
    Tile(area, Qt::Horizontal);
}

void MinimizeAll(QMdiArea& area) {
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        window->showMinimized();
    }
    ArrangeIcons(area);
}

void ArrangeIcons(QMdiArea& area) {
    const QRect space = area.viewport()->rect();
    int x = 0;
    int rowTop = -1;
    for (QMdiSubWindow* icon : Windows(area, true)) {
        const QSize size = icon->size();
        if (rowTop < 0) {
            rowTop = space.height() - size.height();
        }
        if (x > 0 && x + size.width() > space.width()) {
            x = 0;
            rowTop -= size.height();
        }
        icon->move(x, rowTop);
        x += size.width();
    }
}

}  // namespace sonarchive::gui
