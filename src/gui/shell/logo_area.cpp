#include "gui/shell/logo_area.h"

#include <QPaintEvent>
#include <QPainter>

namespace sonarchive::gui {

LogoArea::LogoArea(QWidget* parent) : QMdiArea(parent), logo_(QStringLiteral(":/images/logo.png")) {
    setObjectName(QStringLiteral("ClientArea"));
    setBackground(QColor(0x5a, 0x6b, 0x7d));
}

QRect LogoArea::LogoRect() const {
    QRect rect(QPoint(0, 0), logo_.deviceIndependentSize().toSize());
    rect.moveCenter(viewport()->rect().center());
    return rect;
}

void LogoArea::paintEvent(QPaintEvent* event) {
    QMdiArea::paintEvent(event);
    QPainter painter(viewport());
    painter.drawPixmap(LogoRect(), logo_);
}

}  // namespace sonarchive::gui
