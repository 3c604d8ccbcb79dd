// "Collections": every collection with its totals, and the commands on whole collections:
// new, open, delete, play and enqueue their members, and dragging their files out. It follows
// every change of the collections while it is open.
#pragma once

#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <vector>

class QMenu;

namespace sonarchive::gui {

class TFMain;

// The table of collections; a drag hands out the files of the selected collections that can be
// opened now.
class CollectionsTable : public QTreeWidget {
    Q_OBJECT
public:
    explicit CollectionsTable(TFMain& main, QWidget* parent = nullptr);

    // The ids of the selected collections, top to bottom.
    std::vector<std::int64_t> SelectedIds() const;
    // The member paths a drag of the selection hands out, in order.
    std::vector<std::string> SelectedMemberPaths() const;

signals:
    void playRequested(bool enqueue);
    void deleteRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    TFMain& main_;
};

class TFCollections : public QWidget {
    Q_OBJECT
public:
    explicit TFCollections(TFMain& main, QWidget* parent = nullptr);
    ~TFCollections() override;

    CollectionsTable& Table() { return *table_; }

    // Reads the collections again, keeping the selection where the rows remain.
    void Reload();
    // Shows the brief help unless the user ticked it away (HINT_HIDE_COLLECTIONS).
    void ShowHintUnlessHidden();

    // The buttons and popup items.
    void NewCollection();
    void OpenSelected();
    void DeleteSelected();
    void PlaySelected(bool enqueue);
    void BuildPopup(QMenu& menu);

private:
    void ShowPopup(const QPoint& globalPosition);

    TFMain& main_;
    CollectionsTable* table_;
    int subscription_ = 0;
};

}  // namespace sonarchive::gui
