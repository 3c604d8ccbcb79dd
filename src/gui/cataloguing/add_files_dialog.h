// "Search for and add MP3 files to the archive": where to look (every local drive or one
// folder, with or without its subfolders) and which formats to take.
//
// One dialog serves the whole run: the search type, the subfolder box and the formats are read
// from the settings the first time they are needed and written back when the program ends, so
// an add started without the dialog (the first-start offer) uses the formats last chosen.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "cataloguing/add_files.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sonarchive::gui {

class HelpWindow;

// What the dialog was closed with.
struct AddFilesChoice {
    int mode = 0;  // 0 cancelled, 1 all drives or a folder without subfolders, 2 with them
    bool allDrives = false;
    std::string folder;       // as the program holds paths (non-UTF-8 bytes kept)
    std::string networkHost;  // "//host" when the folder is a network address
    std::string driveLetter;  // the folder's mount point; a blank for a network folder
    std::vector<std::string> masks;
};

class TFSelDir2 : public QDialog {
    Q_OBJECT
public:
    TFSelDir2(catalog::Registry& registry, const catalog::PathRules& rules, HelpWindow* help,
              QWidget* parent = nullptr);

    // Shows the dialog modally with the folder of SEARCH_PATH.
    AddFilesChoice Choose();
    // The extension masks of the formats ticked now (read from the settings on first use).
    std::vector<std::string> Masks();
    // Writes the search type, the subfolder box and the formats, when they were read.
    void SaveChoices();

    // The folder picker's answer, as if the user had picked that folder.
    void TakePickedFolder(const std::string& folder);

private:
    void BuildControls();
    void LoadChoicesOnce();
    void ApplyEnableRules();
    void PickFolder();
    void Search();
    std::string FolderInEdit() const;
    cataloguing::FormatSelection Formats() const;

    catalog::Registry& registry_;
    const catalog::PathRules& rules_;
    HelpWindow* help_;
    bool loaded_ = false;
    // The folder last picked, byte for byte, while the edit still shows it.
    std::string picked_;

    QRadioButton* all_;
    QRadioButton* folder_;
    QLineEdit* edit_;
    QPushButton* browse_;
    QCheckBox* subfolders_;
    QCheckBox* allFormats_;
    QCheckBox* mp3_;
    QCheckBox* ogg_;
    QCheckBox* monkey_;
    QCheckBox* wave_;
};

}  // namespace sonarchive::gui
