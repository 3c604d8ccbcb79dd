#include "gui/shell/main_tool_bar.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "gui/shell/collections_box.h"
#include "gui/shell/main_menus.h"

namespace sonarchive::gui {
namespace {

// A tool button that runs its action on a click and offers a menu from its arrow.
QMenu* AddButtonWithMenu(QToolBar& bar, QAction* action, const char* menuName) {
    auto* menu = new QMenu(&bar);
    menu->setObjectName(QString::fromLatin1(menuName));
    auto* button = new QToolButton(&bar);
    button->setDefaultAction(action);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setFocusPolicy(Qt::NoFocus);
    bar.addWidget(button);
    return menu;
}

}  // namespace

MainToolBar BuildMainToolBar(QMainWindow& window, const MainActions& actions) {
    MainToolBar t{};
    t.bar = window.addToolBar(QObject::tr("Tool bar"));
    t.bar->setObjectName(QStringLiteral("ToolBar1"));
    t.bar->setMovable(false);
    t.bar->setIconSize(QSize(24, 24));

    t.bar->addAction(actions.addFiles);
    t.bar->addAction(actions.browse);
    t.historyMenu = AddButtonWithMenu(*t.bar, actions.search, "MSearchHistory");
    t.fieldsMenu = AddButtonWithMenu(*t.bar, actions.setFields, "MViewFields");
    t.bar->addSeparator();
    t.bar->addAction(actions.cascade);
    t.bar->addAction(actions.tileHorizontally);
    t.bar->addAction(actions.tileVertically);
    t.bar->addSeparator();
    t.bar->addAction(actions.previewSongs);
    t.bar->addSeparator();

    auto* label = new QLabel(QObject::tr("Collections"), t.bar);
    label->setObjectName(QStringLiteral("LCollections"));
    label->setContentsMargins(4, 0, 4, 0);
    t.bar->addWidget(label);
    t.collections = new CollectionsBox(t.bar);
    t.bar->addWidget(t.collections);
    t.manageCollections = new QToolButton(t.bar);
    t.manageCollections->setObjectName(QStringLiteral("BManageCollections"));
    t.manageCollections->setText(QStringLiteral("..."));
    t.manageCollections->setToolTip(QObject::tr("Manage collections"));
    t.manageCollections->setStatusTip(QObject::tr("Manage collections"));
    QObject::connect(t.manageCollections, &QToolButton::clicked, actions.manageCollections,
                     &QAction::trigger);
    QObject::connect(actions.manageCollections, &QAction::enabledChanged, t.manageCollections,
                     &QWidget::setEnabled);
    t.bar->addWidget(t.manageCollections);
    t.bar->addSeparator();

    t.fileCounter = new QLabel(t.bar);
    t.fileCounter->setObjectName(QStringLiteral("PNoOfFiles"));
    t.fileCounter->setFrameShape(QFrame::Panel);
    t.fileCounter->setFrameShadow(QFrame::Sunken);
    t.fileCounter->setContentsMargins(6, 2, 6, 2);
    t.fileCounter->setMinimumWidth(150);
    t.bar->addWidget(t.fileCounter);
    return t;
}

}  // namespace sonarchive::gui
