// "Find Duplicates": catalog rows that may describe the same song, found by equal tags, sizes,
// file names or audio, listed in numbered groups of alternating colour with a box on every row,
// so the user can tick the copies to throw away.
//
// The window asks for a method as soon as it is shown; cancelling that first question closes
// it, cancelling a later one keeps the groups listed. While a search runs the window is
// disabled and the progress window counts the possible duplicates.
#pragma once

#include <QPointer>
#include <optional>

#include "gui/lists/result_window.h"
#include "gui/organize/duplicate_dialogs.h"
#include "organize/duplicates.h"

class QLabel;

namespace sonarchive::gui {

class TFCheckIndividualFiles;

class TFDuplicates : public ResultWindow {
    Q_OBJECT
public:
    explicit TFDuplicates(TFMain& main, QWidget* parent = nullptr);
    ~TFDuplicates() override;

    // "New search...": the method dialog, then the search on a cleared list.
    void NewSearch();
    // The search of a method on a cleared list; "Tag - Custom..." asks for its fields first.
    void RunSearch(organize::DuplicateMethod method);
    // The search of a method on these fields (the custom method's), on a cleared list.
    void RunSearch(organize::DuplicateMethod method, const organize::DuplicateFields& fields);
    // The ticked rows become the selection, which goes from disk and catalog after the
    // question; with nothing ticked nothing happens.
    void DeleteMarked();
    // The listed rows read again by id, each in its place and group; rows gone from the
    // catalog disappear.
    void ReloadRows() override;

    TFCheckIndividualFiles& Progress();
    // "Counter" and the time range of the last bit-pattern search.
    QString CounterText() const;
    QString TimeRangeText() const;

protected:
    std::string FromDiskQuestion(std::size_t selectedRows) const override;
    void AddPopupItems(QMenu& menu) override;
    // Files dropped from other programs are not duplicates to look at.
    void TakeDroppedFiles(const std::vector<std::string>&) override {}

private:
    void BuildBottomPanel();
    organize::DuplicateSearch Search(organize::DuplicateMethod method,
                                     const organize::DuplicateFields& fields);
    void ShowRows(const std::vector<GroupedId>& rows);
    void ShowRange(const organize::DuplicateSearch& found);

    QPointer<TFCheckIndividualFiles> progress_;
    QLabel* counter_ = nullptr;
    QLabel* timeRange_ = nullptr;
    bool searchedOnce_ = false;
};

}  // namespace sonarchive::gui
