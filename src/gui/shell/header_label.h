// The bold, larger line of text that heads a child window (the list windows, the summary).
#pragma once

#include <QLabel>

namespace sonarchive::gui {

// An empty header named "LHeader".
inline QLabel* NewHeaderLabel(QWidget* parent) {
    auto* header = new QLabel(parent);
    header->setObjectName(QStringLiteral("LHeader"));
    QFont bold = header->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    header->setFont(bold);
    return header;
}

}  // namespace sonarchive::gui
