#include "gui/shell/preference_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "organize/file_name_characters.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kReplaceCharacterValue = "DISKORG_REPLACE_WITH_CHARACTER";
constexpr const char* kPlayerCommandValue = "PLAYER_COMMAND";
constexpr const char* kEnqueueCommandValue = "PLAYER_ENQUEUE_COMMAND";

std::int64_t Stored(bool ticked) {
    return ticked ? 1 : 0;
}

QLabel* Note(QWidget* page, const QString& text) {
    auto* note = new QLabel(text, page);
    note->setWordWrap(true);
    return note;
}

// The entry whose index is the stored value; none when it is out of range. A value that was
// never stored shows the entry the program uses when it is missing (the first one).
void ShowTagChoice(QComboBox& combo, catalog::Registry& registry, const std::string& name) {
    const std::int64_t value = registry.ReadRegInteger(name);
    if (!registry.File().Contains(name)) {
        combo.setCurrentIndex(0);
    } else {
        combo.setCurrentIndex(value >= 0 && value < combo.count() ? static_cast<int>(value) : -1);
    }
}

}  // namespace

TFPrefer_General::TFPrefer_General(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FPrefer_General"));
    general_ = BuildGeneralPage();
    confirmations_ = BuildConfirmationsPage();
    mp3_ =
        BuildTagPage("ComboMP3", {tr("ID3 V2 (recommended)"), tr("ID3 V1")}, QString(), comboMp3_);
    ogg_ = BuildTagPage(
        "ComboOgg", {tr("OGG TAG (recommended)"), tr("ID3 V2")},
        tr("Note that some audio players (like Winamp 3.0) can't handle Ogg files with Id3v2 "
           "tags."),
        comboOgg_);
    monkey_ = BuildTagPage("ComboMonkey", {tr("APE 1.0"), tr("ID3 V1"), tr("ID3 V2")}, QString(),
                           comboMonkey_);
    organizer_ = BuildOrganizerPage();
    player_ = BuildPlayerPage();
}

QCheckBox* TFPrefer_General::Box(QWidget* page, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, page);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QWidget* TFPrefer_General::BuildGeneralPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PGeneral"));
    useCombos_ = Box(page, "CBUseCombos", tr("Use \"pick lists\" in search."));
    useCombos_->setVisible(false);
    refreshPicklists_ =
        Box(page, "CBRefreshPicklists",
            tr("Refresh search \"pick lists\" after changes have been made to the archive."));
    openBrowseStartup_ = Box(page, "CBOpenBrowseStartup",
                             tr("Open the \"Browse\" window automatically at startup."));
    connect(useCombos_, &QCheckBox::clicked, this, &TFPrefer_General::ApplyEnableRules);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(useCombos_);
    layout->addWidget(refreshPicklists_);
    layout->addWidget(Note(page, tr(" (On slow computers and/or on computers with a huge "
                                    "archive, you can turn this off to speed things up in the "
                                    "search window).")));
    layout->addSpacing(12);
    layout->addWidget(openBrowseStartup_);
    layout->addStretch(1);
    return page;
}

QWidget* TFPrefer_General::BuildConfirmationsPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PConfirmations"));
    confirmDelete_ =
        Box(page, "CBConfirmDeleteFromArchive", tr("Confirm delete items from archive"));
    confirmDeleteFromHarddisk_ = Box(page, "CBConfirmDeleteFromHarddisk",
                                     tr("Confirm delete files physically from harddisk/ media"));
    confirmDeleteFromHarddisk_->setVisible(false);
    confirmDeleteFromCollections_ =
        Box(page, "CBConfirmDeleteFromCollections", tr("Confirm delete items from collections"));
    modifyTags_ = Box(page, "CBModifyTags", tr("Confirm modify tags"));
    renameFiles_ = Box(page, "CBRenameFiles", tr("Confirm rename files"));
    confirmOrganize_ = Box(page, "CBConfirmOrganize", tr("Confirm organize files"));

    auto* layout = new QVBoxLayout(page);
    for (QCheckBox* box :
         {confirmDelete_, confirmDeleteFromHarddisk_, confirmDeleteFromCollections_, modifyTags_,
          renameFiles_, confirmOrganize_}) {
        layout->addWidget(box);
    }
    layout->addStretch(1);
    return page;
}

QWidget* TFPrefer_General::BuildTagPage(const char* comboName, const QStringList& entries,
                                        const QString& note, QComboBox*& combo) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("P") + QString::fromLatin1(comboName).mid(5));
    combo = new QComboBox(page);
    combo->setObjectName(QString::fromLatin1(comboName));
    combo->addItems(entries);
    combo->setMaximumWidth(260);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Preferred tag"), page));
    layout->addWidget(combo);
    if (!note.isEmpty()) {
        layout->addSpacing(12);
        layout->addWidget(Note(page, note));
    }
    layout->addStretch(1);
    return page;
}

QWidget* TFPrefer_General::BuildOrganizerPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PFileOrganizer"));
    // Check boxes do not wrap their text: the caption breaks after its first sentence.
    replaceIllegal_ = Box(page, "CBReplaceIllegalCharacters",
                          tr("Replace/ delete characters not legal for filenames.\nOtherwise "
                             "file operations will be ignored for filenames with illegal "
                             "characters."));
    replaceWith_ = new QRadioButton(tr("Replace illegal characters with"), page);
    replaceWith_->setObjectName(QStringLiteral("RBReplaceIllegalCharacters"));
    deleteIllegal_ = new QRadioButton(tr("Delete illegal characters"), page);
    deleteIllegal_->setObjectName(QStringLiteral("RBDeleteIllegalCharacters"));
    replaceCharacter_ = new QComboBox(page);
    replaceCharacter_->setObjectName(QStringLiteral("ComboReplaceWithCharacter"));
    replaceCharacter_->setEditable(true);
    replaceCharacter_->setInsertPolicy(QComboBox::NoInsert);
    replaceCharacter_->addItems({QStringLiteral("-"), QStringLiteral("_"), QStringLiteral(" ")});
    replaceCharacter_->lineEdit()->setMaxLength(1);
    replaceCharacter_->setMaximumWidth(60);
    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{replaceIllegal_, replaceWith_, deleteIllegal_}) {
        connect(button, &QAbstractButton::clicked, this, &TFPrefer_General::ApplyEnableRules);
    }

    auto* replaceRow = new QHBoxLayout;
    replaceRow->addWidget(replaceWith_);
    replaceRow->addWidget(replaceCharacter_);
    replaceRow->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(replaceIllegal_);
    auto* choices = new QVBoxLayout;
    choices->setContentsMargins(24, 0, 0, 0);
    choices->addLayout(replaceRow);
    choices->addWidget(deleteIllegal_);
    layout->addLayout(choices);
    layout->addStretch(1);
    return page;
}

QWidget* TFPrefer_General::BuildPlayerPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PPlayer"));
    const auto command = [page](const char* name) {
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(tr("the desktop's default application"));
        return edit;
    };
    playerCommand_ = command("EPlayerCommand");
    enqueueCommand_ = command("EEnqueueCommand");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Play with"), page));
    layout->addWidget(playerCommand_);
    layout->addWidget(new QLabel(tr("Enqueue with"), page));
    layout->addWidget(enqueueCommand_);
    layout->addSpacing(12);
    layout->addWidget(Note(page, tr("%f stands for the file")));
    layout->addStretch(1);
    return page;
}

QWidget* TFPrefer_General::PageFor(const QString& node) const {
    const std::vector<std::pair<QString, QWidget*>> pages = {
        {QStringLiteral("General"), general_},
        {QStringLiteral("Confirmations"), confirmations_},
        {QStringLiteral("Ogg Vorbis"), ogg_},
        {QStringLiteral("MP3"), mp3_},
        {QStringLiteral("Monkey's Audio"), monkey_},
        {QStringLiteral("File Organizer"), organizer_},
        {QStringLiteral("Player"), player_},
    };
    for (const auto& [text, page] : pages) {
        if (text == node) {
            return page;
        }
    }
    return nullptr;
}

void TFPrefer_General::ReadValues(catalog::Registry& registry) {
    useCombos_->setChecked(registry.ReadRegInteger("SEARCH_DONT_USE_COMBOS") != 1);
    const std::int64_t refresh = registry.ReadRegInteger("SEARCH_REFRESH_PICKLISTS");
    refreshPicklists_->setChecked(refresh == 1 || refresh == -1);
    openBrowseStartup_->setChecked(registry.ReadRegInteger("BROWSE_WINDOW_STARTUP") == 1);
    ShowTagChoice(*comboMp3_, registry, "MP3_PRIMARY_TAG");
    ShowTagChoice(*comboOgg_, registry, "OGG_USE_ID3");
    ShowTagChoice(*comboMonkey_, registry, "MAC_PRIMARY_TAG");

    confirmDelete_->setChecked(registry.ReadRegInteger("CONFIRM_DELETE") != 0);
    confirmDeleteFromHarddisk_->setChecked(
        registry.ReadRegInteger("CONFIRM_DELETE_FROM_HARDDISK") != 0);
    confirmDeleteFromCollections_->setChecked(
        registry.ReadRegInteger("CONFIRM_DELETE_IF_IN_COLLECTIONS") != 0);
    modifyTags_->setChecked(registry.ReadRegInteger("CONFIRM_MASS_UPDATE") != 0);
    renameFiles_->setChecked(registry.ReadRegInteger("CONFIRM_RENAME_FILES") != 0);
    confirmOrganize_->setChecked(registry.ReadRegInteger("CONFIRM_ORGANIZE_FILES") != 0);

    replaceIllegal_->setChecked(
        registry.ReadRegInteger("DISKORG_REPLACE_DELETE_ILLEGAL_CHARACTERS") != 0);
    const bool deleteMode = registry.ReadRegInteger("DISKORG_DELETE_ILLEGAL_CHARACTERS") == 1;
    deleteIllegal_->setChecked(deleteMode);
    replaceWith_->setChecked(!deleteMode);
    const std::string character = registry.ReadRegString(kReplaceCharacterValue);
    replaceCharacter_->setEditText(character.empty() ? QStringLiteral(" ")
                                                     : QString::fromStdString(character));
    playerCommand_->setText(QString::fromStdString(registry.ReadRegString(kPlayerCommandValue)));
    enqueueCommand_->setText(QString::fromStdString(registry.ReadRegString(kEnqueueCommandValue)));
    ApplyEnableRules();
}

void TFPrefer_General::WriteValues(catalog::Registry& registry) {
    registry.WriteRegInteger("CONFIRM_DELETE", Stored(confirmDelete_->isChecked()));
    registry.WriteRegInteger("CONFIRM_DELETE_FROM_HARDDISK",
                             Stored(confirmDeleteFromHarddisk_->isChecked()));
    registry.WriteRegInteger("CONFIRM_DELETE_IF_IN_COLLECTIONS",
                             Stored(confirmDeleteFromCollections_->isChecked()));
    registry.WriteRegInteger("CONFIRM_MASS_UPDATE", Stored(modifyTags_->isChecked()));
    registry.WriteRegInteger("CONFIRM_RENAME_FILES", Stored(renameFiles_->isChecked()));
    registry.WriteRegInteger("CONFIRM_ORGANIZE_FILES", Stored(confirmOrganize_->isChecked()));

    registry.WriteRegInteger("SEARCH_DONT_USE_COMBOS", useCombos_->isChecked() ? 0 : 1);
    registry.WriteRegInteger("SEARCH_REFRESH_PICKLISTS", Stored(refreshPicklists_->isChecked()));
    registry.WriteRegInteger("BROWSE_WINDOW_STARTUP", Stored(openBrowseStartup_->isChecked()));
    registry.WriteRegInteger("MP3_PRIMARY_TAG", comboMp3_->currentIndex());
    registry.WriteRegInteger("OGG_USE_ID3", comboOgg_->currentIndex());
    registry.WriteRegInteger("MAC_PRIMARY_TAG", comboMonkey_->currentIndex());

    registry.WriteRegInteger("DISKORG_REPLACE_DELETE_ILLEGAL_CHARACTERS",
                             Stored(replaceIllegal_->isChecked()));
    registry.WriteRegInteger("DISKORG_DELETE_ILLEGAL_CHARACTERS",
                             replaceWith_->isChecked() ? 0 : 1);
    const std::string character = replaceCharacter_->currentText().toStdString();
    std::string vetted = character;
    if (!character.empty() && organize::LegalizeFileName(vetted, false, {false, false, {}})) {
        registry.WriteRegString(kReplaceCharacterValue, character);
    }
    registry.WriteRegString(kPlayerCommandValue, playerCommand_->text().trimmed().toStdString());
    registry.WriteRegString(kEnqueueCommandValue, enqueueCommand_->text().trimmed().toStdString());
}

void TFPrefer_General::ApplyEnableRules() {
    refreshPicklists_->setEnabled(useCombos_->isChecked());
    const bool legalize = replaceIllegal_->isChecked();
    replaceWith_->setEnabled(legalize);
    deleteIllegal_->setEnabled(legalize);
    replaceCharacter_->setEnabled(legalize && replaceWith_->isChecked());
}

}  // namespace sonarchive::gui
