// The frame every result-list window shares (browse, search, and any window of another part
// that lists catalog rows the same way): a header with the window's text and its tool buttons
// ("Encoding panel", "Hint"), room for the window's own panels, the result list, the encoding
// panel area and the messages panel under it.
//
// It wires what every such window does alike: the popup menu and its enable rules, Delete,
// Shift+Delete, F11 and double-click, the encoding panel toggle (HIDE_TECHPANEL), previewing
// the selected row, and the hand-overs to the tools of other parts through the main window's
// providers (an empty provider disables its items). A window derives from it and says how it
// takes dropped files and reloads its rows.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "gui/lists/report_view.h"
#include "gui/lists/result_list.h"
#include "gui/shell/child_window.h"
#include "gui/shell/tips_window.h"

class QAction;
class QHBoxLayout;
class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;

namespace sonarchive::gui {

class EncodingPanels;
class MessagesPanel;
class TFMain;

class ResultWindow : public QWidget, public ListWindow, public ReportView {
    Q_OBJECT
public:
    // Without a hint the header has no "Hint" button.
    ResultWindow(TFMain& main, const ResultListOptions& options, std::optional<Tip> hint,
                 QWidget* parent = nullptr);
    ~ResultWindow() override;

    TFMain& Main() { return main_; }
    TResultList& List() { return *list_; }
    const TResultList& List() const { return *list_; }
    EncodingPanels& Encoding() { return *encoding_; }
    MessagesPanel& Messages() { return *messages_; }
    QToolButton& EncodingToggle() { return *encodingToggle_; }
    void SetHeaderText(const QString& text);

    // The main window's commands.
    void SelectAllRows() override;
    void FindText() override;
    void FindNext() override;
    void ShowVisibleFieldsDialog() override;
    void BuildViewColumnsMenu(QMenu& menu) override;
    void PreviewCurrent(TFMiniPlayer& player) override;
    void OpenInPlayer(bool enqueue) override;
    void ExportRows(bool selectionOnly) override;
    catalog::IdList SelectedIds() override;

    // What the export reads.
    std::vector<ReportColumn> ReportColumns() const override;
    std::size_t ReportRowCount(bool selectionOnly) const override;
    void ForEachRow(bool selectionOnly,
                    const std::function<void(const ReportRow&)>& visit) const override;

    // A popup item that runs `act` when chosen.
    static QAction* AddMenuItem(QMenu& menu, const QString& text, bool enabled, QObject* receiver,
                                const std::function<void()>& act);
    // The popup menu as it opens now: the common items with their enable rules, then the
    // window's own. A window whose menu differs altogether builds its own.
    virtual void BuildPopup(QMenu& menu);

    // The acts on rows.
    void PlayRow(bool enqueue);
    void PlaySelection(bool enqueue);
    // The focused row is a file the tag editor can open now (MP3, Ogg Vorbis, Monkey's Audio).
    bool CanEditTags() const;
    void EditRowTags();
    // Delete removes the selection from the catalog; from disk asks first and deletes the
    // files too. Lines about files that could not be deleted go to the messages panel.
    void DeleteSelection(bool fromDisk);
    void MassUpdate();
    void RenameFiles();
    void RunFileOrganizer();
    void AddSelectionToCollection(std::int64_t collectionId);
    void AddSelectionToNewCollection();

protected:
    // The grouping its group rows have (Browse); -1 for a list of files.
    virtual int GroupingCode() const { return -1; }
    // What Shift+Delete asks before files go from disk.
    virtual std::string FromDiskQuestion(std::size_t selectedRows) const;
    // Items the window adds to the popup after the common ones.
    virtual void AddPopupItems(QMenu& menu);
    // After the mass update or renaming changed files.
    virtual void AfterToolChangedFiles() { ReloadRows(); }
    // Files dropped on the list from other programs.
    virtual void TakeDroppedFiles(const std::vector<std::string>& paths) = 0;
    // Delete, or Shift+Delete, on the list.
    virtual void DeleteKeyPressed(bool withShift) { DeleteSelection(withShift); }

    // The child window around this one, or this one while it has none.
    QWidget& Frame();
    // The window's own panels go here, between the header and the list.
    QVBoxLayout& PanelArea() { return *panelArea_; }
    QHBoxLayout& HeaderArea() { return *headerArea_; }
    // "Export" with "&Window" and the selection item under the window's caption for it.
    void AddExportMenu(QMenu& menu, const QString& selectionCaption);
    void AddFileOrganizerItem(QMenu& menu);

private:
    void BuildFrame(const std::optional<Tip>& hint);
    void ConnectList();
    void AddCollectionMenu(QMenu& menu, bool enabled);
    void SetEncodingPanelShown(bool shown);
    void ShowRowDetails();
    void PreviewRow(TFMiniPlayer& player);
    void ShowPopup(const QPoint& globalPosition);

    TFMain& main_;
    TResultList* list_;
    EncodingPanels* encoding_;
    MessagesPanel* messages_;
    QLabel* header_;
    QToolButton* encodingToggle_;
    QVBoxLayout* panelArea_;
    QHBoxLayout* headerArea_;
};

}  // namespace sonarchive::gui
