// "Search": finds catalog rows by a simple condition or by the advanced grid and lists them.
// The same window lists the files an add brought in ("Files added"): from a folder, from every
// local drive, or dropped on the main window; then its condition panel is hidden and counters
// show what the add did.
#pragma once

#include <optional>

#include "gui/cataloguing/add_files_dialog.h"
#include "gui/lists/add_modes.h"
#include "gui/lists/result_window.h"
#include "lists/search_history.h"
#include "lists/search_statements.h"

namespace sonarchive::gui {

class AdvancedSearchGrid;
class CounterFigures;
class SimpleSearchPanel;
class VolumeFigures;

class TFSearch : public ResultWindow {
    Q_OBJECT
public:
    // The height of a window in an add mode, and of a search window after its first search.
    static constexpr int kAddModeHeight = 400;

    TFSearch(TFMain& main, AddMode mode, QWidget* parent = nullptr);

    AddMode Mode() const { return mode_; }
    SimpleSearchPanel& Simple() { return *simple_; }
    AdvancedSearchGrid& AdvancedGrid() { return *advanced_; }

    // Either "Search" button: builds the statement of the mode shown, records the search in
    // the history, lists the rows and words the caption.
    void SearchButton1Click();
    // Shows the simple or the advanced panel, and stores the choice in LASTSEARCHTYPE.
    void SetAdvanced(bool advanced, bool store);
    bool AdvancedShown() const;
    // Puts a history entry back into the window without running it.
    void ApplyHistoryEntry(const lists::TSearchHistoryEntry& entry);

    // The add modes: each lists the rows it added. A folder whose add cannot start closes the
    // window.
    void AddFolder(const AddFilesChoice& choice);
    void AddAllDrives(const std::vector<std::string>& masks);
    void AddDropped(const std::vector<std::string>& paths);

    // The listed rows read again by id, 50 at a time; rows gone from the catalog disappear.
    void ReloadRows() override;

protected:
    void AddPopupItems(QMenu& menu) override;
    void AfterToolChangedFiles() override;
    void TakeDroppedFiles(const std::vector<std::string>& paths) override;

private:
    struct LastSearch {
        std::string statement;
        bool advanced = false;
        lists::SimpleSearch simple;
    };
    void BuildSearchPanels();
    void BuildAddPanels();
    void RunLastSearch();
    void ShowFoundCaption(std::size_t count);
    void ListAddedSince(std::int64_t firstIdBefore);
    void GrowOnce();
    AddDisplay Display();

    AddMode mode_;
    SimpleSearchPanel* simple_ = nullptr;
    AdvancedSearchGrid* advanced_ = nullptr;
    VolumeFigures* volume_ = nullptr;
    CounterFigures* counters_ = nullptr;
    std::optional<LastSearch> last_;
    bool grown_ = false;
};

}  // namespace sonarchive::gui
