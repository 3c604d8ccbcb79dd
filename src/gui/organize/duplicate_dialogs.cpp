#include "gui/organize/duplicate_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/organize/organize_widgets.h"
namespace sonarchive::gui {
namespace {

QCheckBox* Box(const QString& text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

TFSelectDuplicateMethod::TFSelectDuplicateMethod(catalog::Registry& registry, Interaction& user,
                                                 QWidget* parent)
    : QDialog(parent), registry_(registry), user_(user) {
    setObjectName(QStringLiteral("FSelectDuplicateMethod"));
    setWindowTitle(tr("Find Duplicates"));
    methods_ = new QComboBox(this);
    methods_->setObjectName(QStringLiteral("ComboBox1"));
    for (const std::string& name : organize::DuplicateMethodNames()) {
        methods_->addItem(QString::fromStdString(name));
    }
    auto* search = NamedButton(tr("Search now"), "BSearch", this);
    search->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    auto* help = NamedButton(tr("&Help"), "BHelp", this);
    connect(search, &QPushButton::clicked, this, [this] {
        if (methods_->currentIndex() < 0) {
            user_.ShowInformation("Select Method first.");
            return;
        }
        organize::WriteLastDuplicateMethod(registry_, methods_->currentIndex());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Method"), this));
    layout->addWidget(methods_);
    layout->addLayout(ButtonRow({search, cancel, help}));
}

std::optional<organize::DuplicateMethod> TFSelectDuplicateMethod::Choose() {
    methods_->setCurrentIndex(organize::ReadLastDuplicateMethod(registry_));
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return static_cast<organize::DuplicateMethod>(methods_->currentIndex());
}

TFDuplicateSelectCustomFields::TFDuplicateSelectCustomFields(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FDuplicateSelectCustomFields"));
    setWindowTitle(tr("Select which fields to evaluate"));
    artist_ = Box(tr("Artist"), "CBArtist", this);
    title_ = Box(tr("Title"), "CBTitle", this);
    album_ = Box(tr("Album"), "CBAlbum", this);
    track_ = Box(tr("Track"), "CBTrack", this);
    size_ = Box(tr("File size"), "CBFileSize", this);
    auto* ok = NamedButton(tr("&Ok"), "BOk", this);
    ok->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    auto* help = NamedButton(tr("&Help"), "BHelp", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("Select which fields should be used when searching for duplicates."), this));
    for (QCheckBox* box : {artist_, title_, album_, track_, size_}) {
        layout->addWidget(box);
    }
    layout->addLayout(ButtonRow({ok, cancel, help}));
}

std::optional<organize::DuplicateFields> TFDuplicateSelectCustomFields::Choose() {
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    organize::DuplicateFields fields;
    fields.artist = artist_->isChecked();
    fields.title = title_->isChecked();
    fields.album = album_->isChecked();
    fields.track = track_->isChecked();
    fields.size = size_->isChecked();
    return fields;
}

}  // namespace sonarchive::gui
