#include "gui/organize/organize_widgets.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "gui/shell/help_window.h"

namespace sonarchive::gui {

void ConnectHelp(QPushButton* button, HelpWindow* help, int topic) {
    QObject::connect(button, &QPushButton::clicked, button, [help, topic] {
        if (help != nullptr) {
            help->ShowTopic(topic);
        }
    });
}

}  // namespace sonarchive::gui
