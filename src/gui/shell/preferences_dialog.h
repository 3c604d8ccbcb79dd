// "Preferences": the settings that no other window edits, on pages chosen from a tree.
#pragma once

#include <QDialog>

#include "catalog_store/settings.h"

class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace sonarchive::gui {

class HelpWindow;
class TFPrefer_General;

class TFPreferences : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 23;

    TFPreferences(catalog::Registry& registry, HelpWindow& help, QWidget* parent = nullptr);

    // Reads every value, shows the first page and runs the dialog modally. True when it was
    // closed with "&Ok", which has written every value by then.
    bool Edit();

    // Reads the values and shows the first page, without running the dialog.
    void Prepare();
    // Shows the page of the node with this text ("Formats" shows none).
    void SelectNode(const QString& text);
    TFPrefer_General& Pages() { return *pages_; }

private:
    void ShowSelectedPage();
    void WriteAndClose();

    catalog::Registry& registry_;
    QTreeWidget* tree_;
    QStackedWidget* area_;
    QWidget* emptyPage_;
    TFPrefer_General* pages_;
};

}  // namespace sonarchive::gui
