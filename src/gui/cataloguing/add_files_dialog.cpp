#include "gui/cataloguing/add_files_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/shell/help_window.h"
#include "gui/shell/named_widgets.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

constexpr int kHelpTopic = 5;
constexpr const char* kSearchPath = "SEARCH_PATH";
constexpr const char* kSearchType = "ADDFILES_SEARCHTYPE";
constexpr const char* kIncludeSub = "ADDFILES_INCLUDE_SUB";

QString ForDisplay(const std::string& path) {
    return QString::fromStdString(text::PathForDisplay(path));
}

std::int64_t Stored(bool ticked) {
    return ticked ? 1 : 0;
}

}  // namespace

TFSelDir2::TFSelDir2(catalog::Registry& registry, const catalog::PathRules& rules, HelpWindow* help,
                     QWidget* parent)
    : QDialog(parent), registry_(registry), rules_(rules), help_(help) {
    setObjectName(QStringLiteral("FSelDir2"));
    setWindowTitle(tr("Search for and add MP3 files to the archive"));
    BuildControls();
    ApplyEnableRules();
}

void TFSelDir2::BuildControls() {
    all_ = new QRadioButton(tr("Search all local drives"), this);
    all_->setObjectName(QStringLiteral("RBAll"));
    folder_ = new QRadioButton(tr("Search folder(s)"), this);
    folder_->setObjectName(QStringLiteral("RBFolder"));
    all_->setChecked(true);

    auto* folderLabel = new QLabel(tr("Selected folder"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    edit_->setMinimumWidth(320);
    folderLabel->setBuddy(edit_);
    browse_ = new QPushButton(tr("Browse..."), this);
    browse_->setObjectName(QStringLiteral("Button3"));
    subfolders_ = new QCheckBox(tr("Look in subfolders"), this);
    subfolders_->setObjectName(QStringLiteral("CheckBox1"));
    subfolders_->setChecked(true);

    auto* formats = new QGroupBox(tr(" Select formats to accept"), this);
    allFormats_ = new QCheckBox(tr("All formats"), formats);
    allFormats_->setObjectName(QStringLiteral("CBAll"));
    mp3_ = new QCheckBox(tr("MP3"), formats);
    mp3_->setObjectName(QStringLiteral("CBMP3"));
    ogg_ = new QCheckBox(tr("Ogg Vorbis"), formats);
    ogg_->setObjectName(QStringLiteral("CBOgg"));
    monkey_ = new QCheckBox(tr("Monkey's Audio"), formats);
    monkey_->setObjectName(QStringLiteral("CBMonkey"));
    wave_ = new QCheckBox(tr("Wav"), formats);
    wave_->setObjectName(QStringLiteral("CBWave"));
    auto* formatLayout = new QGridLayout(formats);
    formatLayout->addWidget(allFormats_, 0, 0, 1, 2);
    formatLayout->addWidget(mp3_, 1, 0);
    formatLayout->addWidget(ogg_, 1, 1);
    formatLayout->addWidget(monkey_, 2, 0);
    formatLayout->addWidget(wave_, 2, 1);

    auto* search = new QPushButton(tr("&Search"), this);
    search->setObjectName(QStringLiteral("Button1"));
    search->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    auto* helpButton = new QPushButton(tr("&Help"), this);
    helpButton->setObjectName(QStringLiteral("BitBtn1"));
    helpButton->setEnabled(help_ != nullptr);

    connect(all_, &QRadioButton::toggled, this, &TFSelDir2::ApplyEnableRules);
    connect(allFormats_, &QCheckBox::toggled, this, &TFSelDir2::ApplyEnableRules);
    connect(browse_, &QPushButton::clicked, this, &TFSelDir2::PickFolder);
    connect(search, &QPushButton::clicked, this, &TFSelDir2::Search);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] { help_->ShowTopic(kHelpTopic); });

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(edit_, 1);
    folderRow->addWidget(browse_);
    auto* buttons = ButtonRow({search, cancel, helpButton});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(all_);
    layout->addWidget(folder_);
    layout->addWidget(folderLabel);
    layout->addLayout(folderRow);
    layout->addWidget(subfolders_);
    layout->addWidget(formats);
    layout->addLayout(buttons);
}

void TFSelDir2::LoadChoicesOnce() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    const std::int64_t type = registry_.ReadRegInteger(kSearchType);
    if (type >= 0) {
        folder_->setChecked(type != 0);
        all_->setChecked(type == 0);
        const std::int64_t sub = registry_.ReadRegInteger(kIncludeSub);
        subfolders_->setChecked(sub < 0 || sub == 1);
    }
    const std::pair<const char*, QCheckBox*> formats[] = {{"ADD_FILES_FORMATS_ALL", allFormats_},
                                                          {"ADD_FILES_FORMATS_MP3", mp3_},
                                                          {"ADD_FILES_FORMATS_OGG", ogg_},
                                                          {"ADD_FILES_FORMATS_MONKEY", monkey_},
                                                          {"ADD_FILES_FORMATS_WAVE", wave_}};
    bool anyStored = false;
    for (const auto& [name, box] : formats) {
        const std::int64_t value = registry_.ReadRegInteger(name);
        anyStored = anyStored || value >= 0;
        box->setChecked(value == 1);
    }
    // A first add takes every format rather than finding nothing.
    if (!anyStored) {
        allFormats_->setChecked(true);
    }
    ApplyEnableRules();
}

void TFSelDir2::SaveChoices() {
    if (!loaded_) {
        return;
    }
    registry_.WriteValues({{kSearchType, Stored(folder_->isChecked())},
                           {kIncludeSub, Stored(subfolders_->isChecked())},
                           {"ADD_FILES_FORMATS_ALL", Stored(allFormats_->isChecked())},
                           {"ADD_FILES_FORMATS_MP3", Stored(mp3_->isChecked())},
                           {"ADD_FILES_FORMATS_OGG", Stored(ogg_->isChecked())},
                           {"ADD_FILES_FORMATS_MONKEY", Stored(monkey_->isChecked())},
                           {"ADD_FILES_FORMATS_WAVE", Stored(wave_->isChecked())}},
                          std::string("Couldn't write to registry (") + kSearchType + ").");
}

void TFSelDir2::ApplyEnableRules() {
    const bool folder = folder_->isChecked();
    edit_->setEnabled(folder);
    browse_->setEnabled(folder);
    subfolders_->setEnabled(folder);
    const bool single = !allFormats_->isChecked();
    for (QCheckBox* box : {mp3_, ogg_, monkey_, wave_}) {
        box->setEnabled(single);
    }
}

std::string TFSelDir2::FolderInEdit() const {
    const QString shown = edit_->text();
    if (!picked_.empty() && shown == ForDisplay(picked_)) {
        return picked_;
    }
    return text::PathFromSystem(shown.toStdString());
}

void TFSelDir2::TakePickedFolder(const std::string& folder) {
    picked_ = folder;
    edit_->setText(ForDisplay(folder));
}

void TFSelDir2::PickFolder() {
    const QString start =
        QFile::decodeName(QByteArray::fromStdString(text::PathToSystem(FolderInEdit())));
    const QString chosen = QFileDialog::getExistingDirectory(
        this, tr("Select a folder for Sonarchive to look in"), start);
    if (!chosen.isEmpty()) {
        TakePickedFolder(text::PathFromSystem(QFile::encodeName(chosen).toStdString()));
    }
}

void TFSelDir2::Search() {
    const std::string folder = FolderInEdit();
    if (folder_->isChecked() && folder.empty()) {
        registry_.User().ShowInformation(
            "You have to choose a folder first. Press the \"Browse\" button.");
        return;
    }
    registry_.WriteRegString(kSearchPath, folder);
    accept();
}

cataloguing::FormatSelection TFSelDir2::Formats() const {
    return {allFormats_->isChecked(), mp3_->isChecked(), ogg_->isChecked(), monkey_->isChecked(),
            wave_->isChecked()};
}

std::vector<std::string> TFSelDir2::Masks() {
    LoadChoicesOnce();
    return cataloguing::ExtensionMasks(Formats());
}

AddFilesChoice TFSelDir2::Choose() {
    LoadChoicesOnce();
    TakePickedFolder(registry_.ReadRegString(kSearchPath));
    AddFilesChoice choice;
    if (exec() != QDialog::Accepted) {
        return choice;
    }
    choice.allDrives = all_->isChecked();
    choice.mode = !choice.allDrives && subfolders_->isChecked() ? 2 : 1;
    choice.folder = FolderInEdit();
    choice.networkHost = rules_.NetworkHostOf(choice.folder, false);
    choice.driveLetter = rules_.DriveLetterOf(choice.folder);
    choice.masks = Masks();
    return choice;
}

}  // namespace sonarchive::gui
