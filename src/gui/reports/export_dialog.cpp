#include "gui/reports/export_dialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <filesystem>

#include "collections/playlist_document.h"
#include "gui/reports/column_picker.h"
#include "gui/reports/export_formats.h"
#include "gui/reports/view_report_source.h"
#include "gui/shell/named_widgets.h"
#include "gui/shell/path_text.h"
#include "interaction/scopes.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

using reports::ExportFormat;

// Where an export goes unless the user names a folder: the documents folder where there is
// one.
std::string DefaultFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return PathFromQtName(!documents.isEmpty() && QDir(documents).exists() ? documents
                                                                           : QDir::homePath());
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(text::PathToSystem(path), error);
}

// Enter exports: no other button takes it.
QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = NamedButton(text, name, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TFExport::TFExport(Interaction& user, const ReportView& view, bool selectionOnly, QWidget* parent)
    : QDialog(parent), user_(user) {
    {
        BusyScope busy(user_);
        source_ = std::make_unique<ViewReportSource>(view, selectionOnly);
    }
    setObjectName(QStringLiteral("FExport"));
    setWindowTitle(tr("Export"));
    BuildControls();
    ConnectControls();

    std::vector<std::string> captions;
    for (std::size_t column = 0; column < source_->ColumnCount(); ++column) {
        captions.push_back(source_->Caption(column));
    }
    columns_->SetColumns(captions);
    const reports::ExportOptions options;
    titleRow_->setChecked(options.titleRow);
    digitGrouping_->setChecked(options.digitGrouping);
    tableName_->setText(QString::fromStdString(options.tableName));
    SetCurrentFormat(ExportFormat::Tab);
    FormatChanged();
}

TFExport::~TFExport() = default;

void TFExport::BuildControls() {
    rows_ = new QLabel(tr("Rows to export: %1").arg(source_->RowCount()), this);
    rows_->setObjectName(QStringLiteral("LRows"));
    format_ = new QComboBox(this);
    format_->setObjectName(QStringLiteral("CBFormat"));
    for (const ExportFormat format : kDialogFormats) {
        format_->addItem(FormatCaption(format), static_cast<int>(format));
    }
    file_ = new QLineEdit(this);
    file_->setObjectName(QStringLiteral("EFileName"));
    browse_ = Button(QStringLiteral("..."), "BBrowse", this);
    browse_->setToolTip(tr("Choose the file"));
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(browse_->text()) * 3);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse_);

    auto* options = new QGroupBox(tr("Options"), this);
    options->setObjectName(QStringLiteral("GBOptions"));
    titleRow_ = NamedCheckBox(tr("&Title row with the column names"), "CBTitleRow", options);
    footer_ =
        NamedCheckBox(tr("&Footer line \"%1\"").arg(QString::fromLatin1(reports::kFooterText)),
                      "CBFooter", options);
    digitGrouping_ = NamedCheckBox(tr("&Group digits"), "CBDigitGrouping", options);
    tableName_ = new QLineEdit(options);
    tableName_->setObjectName(QStringLiteral("ETableName"));
    auto* optionsLayout = new QFormLayout(options);
    optionsLayout->addRow(titleRow_);
    optionsLayout->addRow(footer_);
    optionsLayout->addRow(digitGrouping_);
    optionsLayout->addRow(tr("Table &name:"), tableName_);

    auto* columnsBox = new QGroupBox(tr("Columns"), this);
    columnsBox->setObjectName(QStringLiteral("GBColumns"));
    columns_ = new ColumnPicker(columnsBox);
    auto* columnsLayout = new QVBoxLayout(columnsBox);
    columnsLayout->addWidget(columns_);

    load_ = Button(tr("Load specification..."), "BLoadProfile", this);
    save_ = Button(tr("Save specification..."), "BSaveProfile", this);
    clipboard_ = Button(tr("Clipboard"), "BClipboard", this);
    clipboard_->setToolTip(tr("Copies the rows as tab-separated text"));
    export_ = Button(tr("&Export"), "BExport", this);
    export_->setDefault(true);
    cancel_ = Button(tr("Cancel"), "BCancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(load_);
    buttons->addWidget(save_);
    buttons->addWidget(clipboard_);
    buttons->addStretch(1);
    buttons->addWidget(export_);
    buttons->addWidget(cancel_);

    // A label beside a row of controls needs its buddy named to show its shortcut.
    auto* fileLabel = new QLabel(tr("F&ile:"), this);
    fileLabel->setBuddy(file_);
    auto* form = new QFormLayout;
    form->addRow(tr("F&ormat:"), format_);
    form->addRow(fileLabel, fileRow);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows_);
    layout->addLayout(form);
    layout->addWidget(options);
    layout->addWidget(columnsBox, 1);
    layout->addLayout(buttons);
    resize(520, 560);
}

void TFExport::ConnectControls() {
    connect(format_, &QComboBox::currentIndexChanged, this, &TFExport::FormatChanged);
    connect(file_, &QLineEdit::textEdited, this, [this] {
        fileFollowsFormat_ = false;
        UpdateEnabled();
    });
    connect(footer_, &QCheckBox::clicked, this, [this] { footerFollowsFormat_ = false; });
    connect(columns_, &ColumnPicker::changed, this, &TFExport::UpdateEnabled);
    connect(browse_, &QPushButton::clicked, this, &TFExport::ChooseFile);
    connect(load_, &QPushButton::clicked, this, &TFExport::ChooseProfileToLoad);
    connect(save_, &QPushButton::clicked, this, &TFExport::ChooseProfileToSave);
    connect(clipboard_, &QPushButton::clicked, this, &TFExport::CopyToClipboard);
    connect(export_, &QPushButton::clicked, this, &TFExport::ExportToFile);
    // Nothing is written before Export, so there is nothing to confirm.
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

ExportFormat TFExport::CurrentFormat() const {
    return static_cast<ExportFormat>(format_->currentData().toInt());
}

void TFExport::SetCurrentFormat(ExportFormat format) {
    format_->setCurrentIndex(format_->findData(static_cast<int>(format)));
}

void TFExport::FormatChanged() {
    const ExportFormat format = CurrentFormat();
    if (fileFollowsFormat_) {
        file_->setText(QString::fromStdString(DefaultFolder() + "/" + reports::kDefaultFileStem +
                                              std::string(reports::FileExtensionOf(format))));
    }
    if (footerFollowsFormat_) {
        footer_->setChecked(reports::DefaultOptions(format).footer);
    }
    UpdateEnabled();
}

void TFExport::UpdateEnabled() {
    const ExportFormat format = CurrentFormat();
    titleRow_->setEnabled(UsesTitleRow(format));
    footer_->setEnabled(UsesFooter(format));
    digitGrouping_->setEnabled(UsesDigitGrouping(format));
    tableName_->setEnabled(UsesTableName(format));
    const bool anyColumn = !columns_->Chosen().empty();
    clipboard_->setEnabled(anyColumn);
    export_->setEnabled(anyColumn && !file_->text().trimmed().isEmpty());
}

std::string TFExport::FileForExport() const {
    const std::string typed = file_->text().trimmed().toStdString();
    if (typed.empty() || typed.front() == '/') {
        return typed;
    }
    return DefaultFolder() + "/" + typed;
}

reports::ExportProfile TFExport::Profile() const {
    reports::ExportProfile profile;
    profile.format = CurrentFormat();
    profile.file = FileForExport();
    profile.options.titleRow = titleRow_->isChecked();
    profile.options.footer = footer_->isChecked();
    profile.options.digitGrouping = digitGrouping_->isChecked();
    profile.options.tableName = tableName_->text().toStdString();
    profile.columns = columns_->Chosen();
    return profile;
}

void TFExport::ApplyProfile(const reports::ExportProfile& profile) {
    fileFollowsFormat_ = profile.file.empty();
    footerFollowsFormat_ = false;
    if (!fileFollowsFormat_) {
        file_->setText(QString::fromStdString(profile.file));
    }
    titleRow_->setChecked(profile.options.titleRow);
    footer_->setChecked(profile.options.footer);
    digitGrouping_->setChecked(profile.options.digitGrouping);
    tableName_->setText(QString::fromStdString(profile.options.tableName));
    columns_->Choose(profile.columns);
    SetCurrentFormat(profile.format);
    FormatChanged();
}

bool TFExport::LoadProfileFrom(const std::string& file) {
    std::string problem;
    const auto profile = reports::LoadProfile(file, &problem);
    if (!profile) {
        user_.ShowError(reports::ProfileProblem(file, problem));
        return false;
    }
    ApplyProfile(*profile);
    return true;
}

bool TFExport::SaveProfileTo(const std::string& file) {
    if (reports::SaveProfile(Profile(), file) != 0) {
        user_.ShowError(collections::WriteProblem(file));
        return false;
    }
    return true;
}

reports::ReportTable TFExport::TableOf(const reports::ExportProfile& profile) const {
    reports::ReportTable table = reports::ReportTable::AllRows(*source_);
    table.SelectFields(profile.columns);
    return table;
}

bool TFExport::ExportToFile() {
    const reports::ExportProfile profile = Profile();
    if (profile.file.empty() || profile.columns.empty()) {
        return false;
    }
    if (profile.file != confirmedFile_ && FileExists(profile.file) &&
        !user_.AskYesNo("The file (" + profile.file +
                        ") already exists. Do you want to replace it?")) {
        return false;
    }
    const reports::ReportTable table = TableOf(profile);
    int error = 0;
    {
        BusyScope busy(user_);
        error = ExportTable(table, profile.format, profile.options, profile.file);
    }
    if (error != 0) {
        user_.ShowError(collections::WriteProblem(profile.file));
        return false;
    }
    accept();
    return true;
}

void TFExport::CopyToClipboard() {
    const reports::ExportProfile profile = Profile();
    const reports::ReportTable table = TableOf(profile);
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(reports::ExportToText(table, ExportFormat::Tab, profile.options)));
}

QString TFExport::AskFile(const QString& caption, const QString& filter, bool save) {
    if (chooser_) {
        return chooser_(caption, filter, save);
    }
    return save ? QFileDialog::getSaveFileName(this, caption, file_->text(), filter)
                : QFileDialog::getOpenFileName(this, caption, QString(), filter);
}

void TFExport::ChooseFile() {
    const QString chosen = AskFile(tr("Export to"), FormatCaption(CurrentFormat()), true);
    if (chosen.isEmpty()) {
        return;
    }
    // The file dialog asked before it offered a file that exists.
    confirmedFile_ = PathFromQtName(chosen);
    fileFollowsFormat_ = false;
    file_->setText(QString::fromStdString(confirmedFile_));
    UpdateEnabled();
}

void TFExport::ChooseProfileToLoad() {
    const QString chosen =
        AskFile(tr("Load specification"), tr("Export specifications (*.json)"), false);
    if (!chosen.isEmpty()) {
        LoadProfileFrom(PathFromQtName(chosen));
    }
}

void TFExport::ChooseProfileToSave() {
    const QString chosen =
        AskFile(tr("Save specification"), tr("Export specifications (*.json)"), true);
    if (!chosen.isEmpty()) {
        SaveProfileTo(PathFromQtName(chosen));
    }
}

}  // namespace sonarchive::gui
