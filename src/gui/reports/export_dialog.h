// The export dialog of a list window: the rows of the list (all, or the selected ones) with
// its visible columns, written in a format the user picks, to a file or to the clipboard. What
// the user chose can be saved as a profile and loaded for a later export.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "reports/export_profile.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sonarchive {
class Interaction;
}

namespace sonarchive::gui {

class ColumnPicker;
class ReportView;
class ViewReportSource;

class TFExport : public QDialog {
    Q_OBJECT
public:
    // Asks for a file name: (caption, filter, save) -> the name, empty when cancelled.
    using FileChooser = std::function<QString(const QString&, const QString&, bool)>;

    // Takes the rows at once, so the export shows the list as it is now.
    TFExport(Interaction& user, const ReportView& view, bool selectionOnly,
             QWidget* parent = nullptr);
    ~TFExport() override;

    // Tests answer the file dialogs with this.
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // What the controls say now; the file in the program's form of a path.
    reports::ExportProfile Profile() const;
    // Puts a profile into the controls; its columns the rows lack are dropped.
    void ApplyProfile(const reports::ExportProfile& profile);

    // The buttons, without their file dialogs. False after a problem the user was told of.
    bool LoadProfileFrom(const std::string& file);
    bool SaveProfileTo(const std::string& file);
    bool ExportToFile();
    void CopyToClipboard();

private:
    void BuildControls();
    void ConnectControls();
    reports::ExportFormat CurrentFormat() const;
    void SetCurrentFormat(reports::ExportFormat format);
    void FormatChanged();
    void UpdateEnabled();
    std::string FileForExport() const;
    // The rows with the profile's columns, in its order.
    reports::ReportTable TableOf(const reports::ExportProfile& profile) const;
    void ChooseFile();
    void ChooseProfileToLoad();
    void ChooseProfileToSave();
    QString AskFile(const QString& caption, const QString& filter, bool save);

    Interaction& user_;
    std::unique_ptr<ViewReportSource> source_;
    FileChooser chooser_;
    // The file name follows the format until the user gives one of his own.
    bool fileFollowsFormat_ = true;
    bool footerFollowsFormat_ = true;
    // The file the save dialog already asked about replacing.
    std::string confirmedFile_;

    QLabel* rows_ = nullptr;
    QComboBox* format_ = nullptr;
    QLineEdit* file_ = nullptr;
    QPushButton* browse_ = nullptr;
    QCheckBox* titleRow_ = nullptr;
    QCheckBox* footer_ = nullptr;
    QCheckBox* digitGrouping_ = nullptr;
    QLineEdit* tableName_ = nullptr;
    ColumnPicker* columns_ = nullptr;
    QPushButton* load_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clipboard_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace sonarchive::gui
