#include "gui/organize/organize_widgets.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "gui/shell/help_window.h"

namespace sonarchive::gui {

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

}  // namespace sonarchive::gui
