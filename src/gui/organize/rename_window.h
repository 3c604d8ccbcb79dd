// "Rename files": the files of the rows a list hands over, each renamed to a name built from
// its own tags by one format; every file's new name shows before anything changes.
#pragma once

#include <QDialog>
#include <memory>

#include "catalog_store/sql_text.h"
#include "organize/rename_files.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QTreeWidget;

namespace sonarchive::gui {

class MessagesPanel;
class WindowProgress;
class TFMain;
class TfPredefined;

class TFRename : public QDialog {
    Q_OBJECT
public:
    // The one window of the main window, made on first use (the format is read then).
    static TFRename& Of(TFMain& main);
    explicit TFRename(TFMain& main);
    ~TFRename() override;

    // Replaces the update list by the rows of the ids.
    void SetIds(catalog::IdList ids);
    // Shows the window modally; true when a run took place.
    bool ShowModal();

protected:
    // The Delete key on the list removes the selected rows from it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillList();
    void Preview();
    void RunRename();
    void ChoosePredefined();
    void RemoveSelected();

    TFMain& main_;
    QProgressBar* progress_;
    bool neverCancelled_ = false;
    std::unique_ptr<WindowProgress> progressInteraction_;
    std::unique_ptr<organize::FileRenamer> renamer_;
    QLineEdit* format_;
    QLabel* explained_;
    QTreeWidget* list_;
    MessagesPanel* messages_;
    TfPredefined* predefined_;
    bool runDone_ = false;
};

}  // namespace sonarchive::gui
