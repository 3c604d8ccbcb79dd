#include "gui/tags/tag_editor_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "formats/id3v1.h"
#include "gui/shell/app_context.h"
#include "gui/shell/help_window.h"
#include "gui/shell/named_widgets.h"
#include "tags/confirmation.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

using tags::TagField;

constexpr int kEditorHelpTopic = 11;
constexpr int kRemoveTagHelpTopic = 18;
constexpr const char* kLimitProperty = "typingLimit";

// The one-line fields: component name, caption, field and how many characters may be typed.
struct LineField {
    const char* name;
    const char* caption;
    TagField field;
    int limit;
};
constexpr LineField kLineFields[] = {
    {"TitleEdit", "Title:", TagField::Title, 50},
    {"ArtistEdit", "Artist:", TagField::Artist, 50},
    {"AlbumEdit", "Album:", TagField::Album, 50},
    {"YearEdit", "Year:", TagField::Year, 250},
    {"ComposerEdit", "Composer:", TagField::Composer, 50},
    {"CopyrightEdit", "Copyright:", TagField::Copyright, 50},
    {"EncoderEdit", "Encoder:", TagField::Encoder, 50},
    {"LanguageEdit", "Language:", TagField::Language, 25},
    {"LinkEdit", "Link:", TagField::Link, 100},
};
constexpr int kCommentLimit = 250;

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The limits bound what the user types: a longer text loaded from the file is shown whole
// and, untouched, written back as it was.
void ShowLoaded(QLineEdit& edit, const std::string& value) {
    const QString text = FromUtf8(value);
    edit.setMaxLength(
        std::max(edit.property(kLimitProperty).toInt(), static_cast<int>(text.size())));
    edit.setText(text);
}

void ShowLoaded(QPlainTextEdit& edit, const std::string& value) {
    const QString text = FromUtf8(value);
    edit.setProperty(kLimitProperty, std::max(kCommentLimit, static_cast<int>(text.size())));
    edit.setPlainText(text);
}

// A plain text editor has no length limit of its own: text typed beyond it is cut off.
void LimitTyping(QPlainTextEdit& edit) {
    QObject::connect(&edit, &QPlainTextEdit::textChanged, &edit, [&edit] {
        const int limit = edit.property(kLimitProperty).toInt();
        const QString text = edit.toPlainText();
        if (limit > 0 && text.size() > limit) {
            edit.setPlainText(text.left(limit));
            edit.moveCursor(QTextCursor::End);
        }
    });
}

// Read-only fields take the colour of buttons, editable ones the colour of the window.
void SetAccess(QWidget& control, bool editable) {
    QPalette palette = control.palette();
    const QPalette standard = QApplication::palette(&control);
    palette.setColor(QPalette::Base,
                     editable ? standard.color(QPalette::Base) : standard.color(QPalette::Button));
    control.setPalette(palette);
}

}  // namespace

TFEditMP3Properties::TFEditMP3Properties(AppContext& app, HelpWindow& help, QWidget* parent)
    : QDialog(parent), app_(app), help_(help) {
    setObjectName(QStringLiteral("FEditMP3Properties"));
    setWindowTitle(tr("Tag properties"));
    BuildControls();
}

TFEditMP3Properties::~TFEditMP3Properties() = default;

int TFEditMP3Properties::LastWritten() const {
    return session_ ? session_->LastWritten() : tags::kTagNone;
}

void TFEditMP3Properties::BuildControls() {
    auto* toolBar = new QToolBar(this);
    toolBar->addWidget(
        BuildMenuButton("TBImportFromTag", tr("Import from..."),
                        {{tags::kTagId3v1, {"IMportfromid3v11", tr("Import from id3v1")}},
                         {tags::kTagId3v2, {"IMportfromid3v21", tr("Import from id3v2")}},
                         {tags::kTagOgg, {"ImportfromOggtag1", tr("Import from Ogg tag")}},
                         {tags::kTagApe, {"ImportfromApe101", tr("Import from Ape 1.0")}}},
                        importActions_));
    toolBar->addWidget(
        BuildMenuButton("TBRemoveTag", tr("Remove tag..."),
                        {{tags::kTagId3v1, {"Removeid3v1tag1", tr("Remove Id3v1 tag")}},
                         {tags::kTagId3v2, {"Removeid3v2tag1", tr("Remove Id3v2 tag")}},
                         {tags::kTagApe, {"RemoveAPE10tag1", tr("Remove Ape 1.0 tag")}}},
                        removeActions_));
    for (const auto& [tagType, action] : importActions_) {
        connect(action, &QAction::triggered, this, [this, type = tagType] { LoadFields(type); });
    }
    for (const auto& [tagType, action] : removeActions_) {
        connect(action, &QAction::triggered, this, [this, type = tagType] { RemoveTag(type); });
    }

    auto* form = new QFormLayout;
    fileName_ = new QLineEdit(this);
    fileName_->setObjectName(QStringLiteral("EFilename"));
    fileName_->setReadOnly(true);
    form->addRow(tr("Filename:"), fileName_);
    tagType_ = new QLineEdit(this);
    tagType_->setObjectName(QStringLiteral("ETagType"));
    tagType_->setReadOnly(true);
    auto* tagTypeRow = new QHBoxLayout;
    tagTypeRow->addWidget(tagType_);
    tagTypeRow->addWidget(
        new QLabel(tr("(See \"Preferences\" to change preferred tag type)"), this));
    form->addRow(tr("Tag type"), tagTypeRow);

    const auto addLine = [this, form](const LineField& entry) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(entry.name));
        edit->setProperty(kLimitProperty, entry.limit);
        edit->setMaxLength(entry.limit);
        lineEdits_[entry.field] = edit;
        form->addRow(tr(entry.caption), edit);
    };
    for (const LineField& entry : kLineFields) {
        if (entry.field == TagField::Year) {
            track_ = new QSpinBox(this);
            track_->setObjectName(QStringLiteral("CETrack"));
            form->addRow(tr("Track:"), track_);
        }
        addLine(entry);
        if (entry.field == TagField::Year) {
            genre_ = new QComboBox(this);
            genre_->setObjectName(QStringLiteral("CBGenre"));
            for (int i = 0; i < formats::GenreCount; ++i) {
                genre_->addItem(FromUtf8(std::string(formats::GenreNameAt(i))));
            }
            form->addRow(tr("Genre:"), genre_);
            comment_ = new QPlainTextEdit(this);
            comment_->setObjectName(QStringLiteral("MComment"));
            comment_->setProperty(kLimitProperty, kCommentLimit);
            comment_->setFixedHeight(comment_->fontMetrics().lineSpacing() * 4);
            LimitTyping(*comment_);
            form->addRow(tr("Comment:"), comment_);
        }
    }

    auto* update = new QPushButton(tr("&Update"), this);
    update->setObjectName(QStringLiteral("BitBtn1"));
    update->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    auto* helpButton = new QPushButton(tr("&Help"), this);
    helpButton->setObjectName(QStringLiteral("BitBtn3"));
    connect(update, &QPushButton::clicked, this, &TFEditMP3Properties::Update);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] { help_.ShowTopic(kEditorHelpTopic); });
    auto* buttons = ButtonRow({update, cancel, helpButton});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

QToolButton* TFEditMP3Properties::BuildMenuButton(
    const char* name, const QString& caption,
    const std::map<int, std::pair<const char*, QString>>& items, std::map<int, QAction*>& actions) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* menu = new QMenu(button);
    // The menu lists the items in the order of the editor's tags, not of their codes.
    for (const int tagType : {tags::kTagId3v1, tags::kTagId3v2, tags::kTagOgg, tags::kTagApe}) {
        const auto item = items.find(tagType);
        if (item == items.end()) {
            continue;
        }
        QAction* action = menu->addAction(item->second.second);
        action->setObjectName(QString::fromLatin1(item->second.first));
        actions[tagType] = action;
    }
    button->setMenu(menu);
    return button;
}

bool TFEditMP3Properties::Prepare(const std::string& path) {
    session_ = std::make_unique<tags::TagEditorSession>(
        path, cataloguing::TagPreferences::From(app_.General()));
    fileName_->setText(FromUtf8(text::PathForDisplay(path)));
    tagType_->setText(FromUtf8(session_->TagTypeLabel()));
    ApplyFieldAccess();
    session_->DetectTags();
    RefreshCommands();
    if (!session_->FileExists()) {
        app_.User().ShowError("File not found (" + text::PathForDisplay(path) + ")");
        return false;
    }
    LoadFields(session_->TagType());
    return true;
}

int TFEditMP3Properties::Edit(const std::string& path) {
    if (!Prepare(path)) {
        return tags::kTagNone;
    }
    exec();
    return LastWritten();
}

void TFEditMP3Properties::ApplyFieldAccess() {
    for (const auto& [field, edit] : lineEdits_) {
        const bool editable = session_->Editable(field);
        edit->setReadOnly(!editable);
        SetAccess(*edit, editable);
    }
    SetAccess(*comment_, true);
    SetAccess(*track_, true);
    track_->setRange(0, tags::TrackFits(session_->TagType(), 65535) ? 65535 : 255);
    genre_->setEditable(!session_->GenreListOnly());
}

void TFEditMP3Properties::RefreshCommands() {
    for (const auto& [tagType, action] : importActions_) {
        const tags::TagCommand command = session_->ImportCommand(tagType);
        action->setVisible(command.visible);
        action->setEnabled(command.enabled);
    }
    for (const auto& [tagType, action] : removeActions_) {
        const tags::TagCommand command = session_->RemoveCommand(tagType);
        action->setVisible(command.visible);
        action->setEnabled(command.enabled);
    }
}

void TFEditMP3Properties::LoadFields(int tagType) {
    const catalog::TCommentInfoType values = session_->Load(tagType);
    for (const auto& [field, edit] : lineEdits_) {
        ShowLoaded(*edit, *tags::TextFieldOf(values, field));
    }
    ShowLoaded(*comment_, values.Comment);
    track_->setValue(std::clamp(values.Track, 0, track_->maximum()));
    if (session_->GenreListOnly()) {
        genre_->setCurrentIndex(formats::GenreIndexOf(values.Genre));
    } else {
        genre_->setEditText(FromUtf8(values.Genre));
    }
}

catalog::TCommentInfoType TFEditMP3Properties::CollectFields() const {
    catalog::TCommentInfoType values;
    for (const auto& [field, edit] : lineEdits_) {
        *tags::TextFieldOf(values, field) = edit->text().toStdString();
    }
    values.Comment = comment_->toPlainText().toStdString();
    values.Track = track_->value();
    // With the genre list alone, no entry selected sends empty text: the file's genre byte
    // stays as it is.
    if (session_->GenreListOnly()) {
        values.Genre = genre_->currentIndex() >= 0 ? genre_->currentText().toStdString() : "";
    } else {
        values.Genre = genre_->currentText().toStdString();
    }
    return values;
}

void TFEditMP3Properties::Update() {
    if (session_->Update(CollectFields())) {
        accept();
    } else {
        app_.User().ShowError(
            "Couldn't write to file (maybe the file is in use or it is read only?)");
    }
}

void TFEditMP3Properties::RemoveTag(int tagType) {
    if (!tags::ConfirmUnderSetting(app_.User(), app_.Registry(), app_.General(),
                                   &catalog::GeneralSettings::ConfirmDeleteTag, "Remove tag?",
                                   kRemoveTagHelpTopic)) {
        return;
    }
    // A failed strip shows nothing: the menus, detected anew, tell what the file still has.
    session_->Remove(tagType);
    if (tagType == session_->TagType()) {
        LoadFields(tagType);
    }
    RefreshCommands();
}

}  // namespace sonarchive::gui
