// "MP3 Browser": the whole catalog as a tree of group rows (one per artist, album or genre),
// each expanding into its files, or every file at top level in the plain listing. The choice of
// "Top level" is kept in LAST_BROWSE_TOP_LEVEL.
#pragma once

#include "gui/lists/result_window.h"

class QComboBox;

namespace sonarchive::gui {

class TFBrowse : public ResultWindow {
    Q_OBJECT
public:
    explicit TFBrowse(TFMain& main, QWidget* parent = nullptr);

    // Clears the tree and builds it again for the current top level.
    void RebuildBrowseTree();
    // 1 artist, 3 album, 8 genre, -1 the plain listing.
    int GroupingCode() const override;
    QComboBox& TopLevel() { return *topLevel_; }

    void ReloadRows() override { RebuildBrowseTree(); }

protected:
    void AddPopupItems(QMenu& menu) override;
    void TakeDroppedFiles(const std::vector<std::string>& paths) override;

private:
    void ChangeTopLevel(int position);

    QComboBox* topLevel_;
};

}  // namespace sonarchive::gui
