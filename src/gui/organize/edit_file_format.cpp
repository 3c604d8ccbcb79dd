#include "gui/organize/edit_file_format.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/organize/format_widgets.h"
#include "gui/organize/organize_widgets.h"
#include "organize/file_format.h"

namespace sonarchive::gui {

TFEditFileFormat::TFEditFileFormat(Interaction& user, QWidget* parent)
    : QDialog(parent), user_(user) {
    setObjectName(QStringLiteral("FEditFileFormat"));
    setWindowTitle(tr("Edit File Format"));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    edit_->setMaxLength(static_cast<int>(organize::kMaxEditedFormatLength));
    explained_ = new QLabel(this);
    explained_->setObjectName(QStringLiteral("LFormatExplained"));
    ok_ = NamedButton(tr("&Ok"), "BOk", this);
    ok_->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    auto* help = NamedButton(tr("&Help"), "BHelp", this);

    connect(edit_, &QLineEdit::textChanged, this, &TFEditFileFormat::TextChanged);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (Acceptable()) {
            accepted_ = true;
            accept();
        }
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new FormattingVariables(this));
    layout->addWidget(new QLabel(tr("Format"), this));
    layout->addWidget(edit_);
    layout->addWidget(explained_);
    layout->addLayout(ButtonRow({ok_, cancel, help}));
}

bool TFEditFileFormat::Acceptable() const {
    return !edit_->text().isEmpty() && !edit_->text().contains(QLatin1Char(';'));
}

void TFEditFileFormat::TextChanged() {
    QString text = edit_->text();
    const qsizetype semicolon = text.indexOf(QLatin1Char(';'));
    if (semicolon >= 0) {
        user_.ShowInformation("; (semi-colon) cannot be used in a format.");
        text.remove(semicolon, 1);
        const QSignalBlocker quiet(edit_);
        edit_->setText(text);
    }
    explained_->setText(ExplainFormat(text));
    ok_->setEnabled(Acceptable());
}

std::optional<QString> TFEditFileFormat::Edit(const QString& text) {
    accepted_ = false;
    {
        const QSignalBlocker quiet(edit_);
        edit_->setText(text);
    }
    explained_->clear();
    ok_->setEnabled(Acceptable());
    exec();
    return accepted_ ? std::optional<QString>(edit_->text()) : std::nullopt;
}

}  // namespace sonarchive::gui
