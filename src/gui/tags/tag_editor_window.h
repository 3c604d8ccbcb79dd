// The single-file tag editor: the fields of a file's primary tag, filled from any tag the file
// carries, written back with "&Update"; tags removed one by one.
#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <string>

#include "tags/tag_editor.h"

class QAction;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QToolButton;
class QWidget;

namespace sonarchive::gui {

class AppContext;
class HelpWindow;

class TFEditMP3Properties : public QDialog {
    Q_OBJECT
public:
    TFEditMP3Properties(AppContext& app, HelpWindow& help, QWidget* parent = nullptr);
    ~TFEditMP3Properties() override;

    // Sets the window up for a file, with the tag preferences of this moment. False, after
    // the message "File not found (PATH)", when the file is not there. `path` is in the
    // program's form.
    bool Prepare(const std::string& path);
    // Prepare, then shown modally; answers the tag type written, kTagNone when none was.
    int Edit(const std::string& path);
    int LastWritten() const;

private:
    void BuildControls();
    QToolButton* BuildMenuButton(const char* name, const QString& caption,
                                 const std::map<int, std::pair<const char*, QString>>& items,
                                 std::map<int, QAction*>& actions);
    void ApplyFieldAccess();
    void RefreshCommands();
    void LoadFields(int tagType);
    catalog::TCommentInfoType CollectFields() const;
    void Update();
    void RemoveTag(int tagType);

    AppContext& app_;
    HelpWindow& help_;
    std::unique_ptr<tags::TagEditorSession> session_;

    QLineEdit* fileName_;
    QLineEdit* tagType_;
    std::map<tags::TagField, QLineEdit*> lineEdits_;
    QSpinBox* track_;
    QComboBox* genre_;
    QPlainTextEdit* comment_;
    std::map<int, QAction*> importActions_;
    std::map<int, QAction*> removeActions_;
};

}  // namespace sonarchive::gui
