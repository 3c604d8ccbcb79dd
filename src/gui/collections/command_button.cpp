#include "gui/collections/command_button.h"

#include <QIcon>
#include <QToolButton>

#include "gui/shell/main_window.h"

namespace sonarchive::gui {

QToolButton* CommandButton(TFMain& main, QWidget& parent, const char* name, const QString& text,
                           const QString& hint, const char* icon,
                           const std::function<void()>& command) {
    auto* button = new QToolButton(&parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QObject::connect(button, &QToolButton::clicked, &parent,
                     [&main, command] { main.Run(command); });
    return button;
}

}  // namespace sonarchive::gui
