// Windows find their controls by component name (the tests do too): made and named in one step.
#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <QString>

namespace sonarchive::gui {

inline QPushButton* NamedButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

inline QCheckBox* NamedCheckBox(const QString& text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace sonarchive::gui
