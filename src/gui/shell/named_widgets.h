// Windows find their controls by component name (the tests do too): made and named in one step.
#pragma once

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>
#include <initializer_list>

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

// A row of buttons at the right, as a dialog's foot has them.
inline QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* button : buttons) {
        row->addWidget(button);
    }
    return row;
}

}  // namespace sonarchive::gui
