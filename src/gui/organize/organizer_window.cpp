#include "gui/organize/organizer_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "catalog_store/catalog_writer.h"
#include "cataloguing/add_files.h"
#include "cataloguing/record_builder.h"
#include "gui/organize/edit_file_format.h"
#include "gui/organize/format_widgets.h"
#include "gui/organize/organize_widgets.h"
#include "gui/organize/organizer_messages.h"
#include "gui/organize/organizer_preview.h"
#include "gui/organize/organizing_progress.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

constexpr int kHelpTopic = 33;

QRadioButton* Radio(const QString& text, const char* name, QButtonGroup* group, int id,
                    QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    group->addButton(button, id);
    return button;
}

QGroupBox* Group(const QString& title, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    new QVBoxLayout(group);
    return group;
}

void Put(QGroupBox* group, QWidget* widget) {
    group->layout()->addWidget(widget);
}

}  // namespace

TFDiskOrgMain& TFDiskOrgMain::Of(TFMain& main) {
    auto* window = main.findChild<TFDiskOrgMain*>(QStringLiteral("FDiskOrgMain"));
    return window != nullptr ? *window : *new TFDiskOrgMain(main);
}

TFDiskOrgMain::TFDiskOrgMain(TFMain& main) : QDialog(&main), main_(main) {
    setObjectName(QStringLiteral("FDiskOrgMain"));
    setWindowTitle(tr("File Organizer"));
    formatEditor_ = new TFEditFileFormat(main.App().User(), &main);
    preview_ = new TFDiskOrgPreview(main.Windows().help, &main);

    auto* operation = Group(tr(" Operation "), this);
    action_ = new QButtonGroup(this);
    Put(operation, Radio(tr("Copy files"), "RBCopy", action_, 0, operation));
    Put(operation, Radio(tr("move files"), "RBMove", action_, 1, operation));
    removeEmpty_ = new QCheckBox(tr("Remove empty folders"), operation);
    removeEmpty_->setObjectName(QStringLiteral("CBRemoveEmptyFolders"));
    removeEmpty_->setToolTip(
        tr("If moved files are leaving behind empty folders, checking this "
           "box will remove the folders"));
    Put(operation, removeEmpty_);

    auto* baseGroup = new QGroupBox(tr(" Base folder "), this);
    base_ = new QLineEdit(baseGroup);
    base_->setObjectName(QStringLiteral("Edit1"));
    base_->setReadOnly(true);
    auto* select = NamedButton(tr("Select..."), "BSelect", baseGroup);
    auto* baseLayout = new QHBoxLayout(baseGroup);
    baseLayout->addWidget(base_, 1);
    baseLayout->addWidget(select);

    auto* folderGroup = Group(tr(" Folder names "), this);
    folders_ = new QButtonGroup(this);
    Put(folderGroup, Radio(tr("Artist"), "RBArtist", folders_, 0, folderGroup));
    auto* twoLevels = new QWidget(folderGroup);
    auto* twoLevelsLayout = new QHBoxLayout(twoLevels);
    twoLevelsLayout->setContentsMargins(0, 0, 0, 0);
    twoLevelsLayout->addWidget(Radio(tr("Artist"), "RBArtistAlbum", folders_, 1, twoLevels));
    twoLevelsLayout->addWidget(new QLabel(QStringLiteral("\u2192 ") + tr("Album"), twoLevels));
    twoLevelsLayout->addStretch(1);
    Put(folderGroup, twoLevels);
    Put(folderGroup, Radio(tr("Album"), "RBAlbum", folders_, 2, folderGroup));
    Put(folderGroup, Radio(tr("Comment"), "RBComment", folders_, 3, folderGroup));
    Put(folderGroup, Radio(tr("Genre"), "RBGenre", folders_, 4, folderGroup));
    Put(folderGroup, Radio(tr("Year"), "RBYear", folders_, 5, folderGroup));
    QRadioButton* skip = Radio(tr("Skip"), "RBSkip", folders_, 6, folderGroup);
    skip->setToolTip(tr("Skip subfolder, place files directly below \"parent folder\""));
    Put(folderGroup, skip);

    auto* nameGroup = Group(tr(" File names "), this);
    names_ = new QButtonGroup(this);
    Put(nameGroup, Radio(tr("No changes"), "RBNoChanges", names_, 0, nameGroup));
    Put(nameGroup, Radio(tr("Artist - Title"), "RBArtistTitle", names_, 1, nameGroup));
    Put(nameGroup, Radio(tr("Title"), "RBTitle", names_, 2, nameGroup));
    auto* customRow = new QWidget(nameGroup);
    auto* customLayout = new QHBoxLayout(customRow);
    customLayout->setContentsMargins(0, 0, 0, 0);
    custom_ = Radio(tr("Custom..."), "RBCustom", names_, 3, customRow);
    auto* set = NamedButton(tr("set..."), "BSetFormat", customRow);
    customLayout->addWidget(custom_);
    customLayout->addWidget(set);
    customLayout->addStretch(1);
    Put(nameGroup, customRow);

    auto* rangeGroup = Group(tr(" Range "), this);
    range_ = new QButtonGroup(this);
    Put(rangeGroup, Radio(tr("Selected files"), "RBSelectedFiles", range_, 0, rangeGroup));
    Put(rangeGroup, Radio(tr("All files in archive"), "RBAllFiles", range_, 1, rangeGroup));

    messages_ = new OrganizerMessagePanel(this);
    auto* preview = NamedButton(tr("&Preview"), "BPreview", this);
    preview->setToolTip(
        tr("Create a preview, so that you can see the changes before they are made."));
    auto* organize = NamedButton(tr("&Organize now"), "BOrganize", this);
    organize->setDefault(true);
    auto* close = NamedButton(tr("&Close"), "BClose", this);
    auto* help = NamedButton(tr("&Help"), "BHelp", this);

    for (QButtonGroup* group : {action_, folders_, names_, range_}) {
        connect(group, &QButtonGroup::idClicked, this, [this] { WriteSettings(); });
    }
    connect(removeEmpty_, &QCheckBox::toggled, this, [this] { WriteSettings(); });
    connect(select, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, tr("Select the folder you wish to use as the parent folder"), base_->text(),
            QFileDialog::ShowDirsOnly);
        if (!folder.isEmpty()) {
            base_->setText(folder);
            WriteSettings();
        }
    });
    connect(set, &QPushButton::clicked, this, &TFDiskOrgMain::SetCustomFormat);
    connect(preview, &QPushButton::clicked, this, [this] { main_.Run([this] { Preview(); }); });
    connect(organize, &QPushButton::clicked, this,
            [this] { main_.Run([this] { OrganizeNow(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    ConnectHelp(help, main_.Windows().help, kHelpTopic);
    connect(messages_, &OrganizerMessagePanel::visibilityChanged, this, [this] { adjustSize(); });

    auto* grid = new QGridLayout;
    grid->addWidget(operation, 0, 0);
    grid->addWidget(baseGroup, 0, 1);
    grid->addWidget(folderGroup, 1, 0, 2, 1);
    grid->addWidget(nameGroup, 1, 1);
    grid->addWidget(rangeGroup, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow({preview, organize, close, help}));
    layout->addWidget(messages_);
}

bool TFDiskOrgMain::ShowModal(Selection selection) {
    selection_ = std::move(selection);
    realRunDone_ = false;
    ReadSettings();
    exec();
    return realRunDone_;
}

void TFDiskOrgMain::ReadSettings() {
    organize::ReadOrganizerSettings(main_.App().Registry(), settings_);
    loading_ = true;
    base_->setText(QString::fromStdString(text::PathForDisplay(settings_.baseDir)));
    action_->button(static_cast<int>(settings_.action))->setChecked(true);
    removeEmpty_->setChecked(settings_.removeEmptyFolders);
    folders_->button(static_cast<int>(settings_.folders))->setChecked(true);
    names_->button(static_cast<int>(settings_.names))->setChecked(true);
    range_->button(static_cast<int>(settings_.range))->setChecked(true);
    loading_ = false;
    UpdateControls();
}

void TFDiskOrgMain::UpdateControls() {
    removeEmpty_->setEnabled(action_->checkedId() == 1);
    custom_->setToolTip(ExplainFormat(QString::fromStdString(settings_.customFormat)));
}

void TFDiskOrgMain::WriteSettings() {
    if (loading_) {
        return;
    }
    // The picked folder is a name of the system's: its bytes are kept as they are.
    settings_.baseDir = text::PathFromSystem(base_->text().toStdString());
    settings_.action = static_cast<organize::OrganizeAction>(action_->checkedId());
    settings_.removeEmptyFolders = removeEmpty_->isChecked();
    settings_.folders = static_cast<organize::FolderNaming>(folders_->checkedId());
    settings_.names = static_cast<organize::FileNaming>(names_->checkedId());
    settings_.range = static_cast<organize::OrganizeRange>(range_->checkedId());
    organize::WriteOrganizerSettings(main_.App().Registry(), settings_);
    UpdateControls();
}

void TFDiskOrgMain::SetCustomFormat() {
    if (const auto format = formatEditor_->Edit(QString::fromStdString(settings_.customFormat))) {
        settings_.customFormat = format->toStdString();
        custom_->setChecked(true);
        WriteSettings();
    }
}

organize::OrganizeOutcome TFDiskOrgMain::RunOnce(organize::OrganizeMode mode,
                                                 OrganizerMessagePanel& messages) {
    AppContext& app = main_.App();
    ShellDrives& drives = main_.Drives();
    TfOrganizing progressWindow(app.User(), mode, this);
    OrganizingProgress progress(app.User(), progressWindow);
    catalog::CatalogInserter inserter(
        app.Catalog(), drives.PathRules(),
        [preferences = cataloguing::TagPreferences::From(app.General())](
            const std::string& path, int format, catalog::TCommentInfoType& tags,
            catalog::TEncoderInfoType& stream) {
            return cataloguing::ReadFileOfFormat(path, format, preferences, tags, stream);
        },
        [&drives](const std::string& host) { drives.Hosts().RegisterHost(host); });
    cataloguing::FileAdder adder(app.Catalog(), drives.PathRules(), drives.Mounts(), inserter,
                                 progress);
    organize::DiskOrganizer organizer(
        app.Catalog(), drives.PathRules(), drives.Mounts(), app.Registry(), app.General(), progress,
        adder, [&drives](const std::string& host) { drives.Hosts().RegisterHost(host); });
    setEnabled(false);
    progressWindow.show();
    const std::optional<catalog::IdList> selection =
        selection_ ? selection_() : std::optional<catalog::IdList>();
    const organize::OrganizeOutcome outcome = organizer.Run(
        settings_, mode, selection,
        {[&progressWindow](const std::string& from, const std::string& to) {
             progressWindow.ShowPaths(from, to);
         },
         [&messages](const organize::OrganizerMessage& message) { messages.Append(message); }});
    progressWindow.hide();
    setEnabled(true);
    return outcome;
}

void TFDiskOrgMain::Preview() {
    const bool moving = settings_.action == organize::OrganizeAction::Move;
    preview_->Begin(moving);
    const organize::OrganizeOutcome outcome =
        RunOnce(organize::OrganizeMode::Preview, preview_->Messages());
    if (!outcome.validBase) {
        return;
    }
    preview_->AddLines(outcome.preview);
    if (preview_->Ask()) {
        OrganizeNow();
    }
}

void TFDiskOrgMain::OrganizeNow() {
    messages_->Clear();
    const organize::OrganizeOutcome outcome =
        RunOnce(settings_.action == organize::OrganizeAction::Move ? organize::OrganizeMode::Move
                                                                   : organize::OrganizeMode::Copy,
                *messages_);
    realRunDone_ = realRunDone_ || outcome.started;
}

}  // namespace sonarchive::gui
