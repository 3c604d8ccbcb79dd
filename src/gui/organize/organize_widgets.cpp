#include "gui/organize/organize_widgets.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "gui/shell/help_window.h"

namespace sonarchive::gui {

QPushButton* NamedButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* button : buttons) {
        row->addWidget(button);
    }
    return row;
}

void ConnectHelp(QPushButton* button, HelpWindow* help, int topic) {
    QObject::connect(button, &QPushButton::clicked, button, [help, topic] {
        if (help != nullptr) {
            help->ShowTopic(topic);
        }
    });
}

QIcon DriveTypeIcon(int driveType) {
    switch (driveType) {
        case 2:
            return QIcon::fromTheme(QStringLiteral("drive-removable-media"));
        case 4:
            return QIcon::fromTheme(QStringLiteral("network-server"));
        case 5:
            return QIcon::fromTheme(QStringLiteral("media-optical"));
        case 6:
            return QIcon::fromTheme(QStringLiteral("media-flash"));
        default:
            return QIcon::fromTheme(QStringLiteral("drive-harddisk"));
    }
}

}  // namespace sonarchive::gui
