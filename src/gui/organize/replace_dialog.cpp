#include "gui/organize/replace_dialog.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace sonarchive::gui {

QDateTime DateTimeFromDays(double days) {
    const double whole = std::floor(days);
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(whole));
    const auto seconds = static_cast<int>(std::lround((days - whole) * 86400.0));
    return QDateTime(date, QTime(0, 0)).addSecs(seconds);
}

QString TfReplace::SizeText(std::uint64_t bytes) {
    return QString::number(bytes / 1000) + QStringLiteral("KB");
}

void TfReplace::AddFileBlock(QVBoxLayout* layout, const QString& heading, const std::string& path,
                             std::uint64_t size, double modified) {
    const QString fullPath = QString::fromStdString(path);
    auto* title = new QLabel(heading, this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QFileIconProvider().icon(QFileInfo(fullPath)).pixmap(32));
    auto* details =
        new QLabel(fullPath + QLatin1Char('\n') + SizeText(size) + QLatin1Char('\n') +
                       QLocale().toString(DateTimeFromDays(modified), QLocale::ShortFormat),
                   this);
    details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* row = new QHBoxLayout;
    row->addSpacing(16);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(details, 1);
    layout->addWidget(title);
    layout->addLayout(row);
}

void TfReplace::AddButton(QHBoxLayout* row, const QString& text, const char* name,
                          ReplaceAnswer answer) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, [this, answer] {
        answer_ = answer;
        accept();
    });
    row->addWidget(button);
    button->setDefault(answer == ReplaceAnswer::Yes);
}

TfReplace::TfReplace(const ReplaceQuestion& question, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fReplace"));
    setWindowTitle(tr("Confirm file replace"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("This folder already contains a file named '") +
                                     QString::fromStdString(question.targetName) +
                                     QStringLiteral("'."),
                                 this));
    AddFileBlock(layout, tr("Would you like to replace the existing file"), question.existingPath,
                 question.existingSize, question.existingModified);
    AddFileBlock(layout, tr("With this one"), question.newPath, question.newSize,
                 question.newModified);
    auto* buttons = new QHBoxLayout;
    AddButton(buttons, tr("&Yes"), "BYes", ReplaceAnswer::Yes);
    AddButton(buttons, tr("Yes to &all"), "BYesToAll", ReplaceAnswer::YesToAll);
    AddButton(buttons, tr("&No"), "BNo", ReplaceAnswer::No);
    AddButton(buttons, tr("No to a&ll"), "BNoToAll", ReplaceAnswer::NoToAll);
    AddButton(buttons, tr("&Cancel"), "BCancel", ReplaceAnswer::Cancel);
    layout->addLayout(buttons);
}

ReplaceAnswer TfReplace::Ask() {
    answer_ = ReplaceAnswer::No;
    return exec() == QDialog::Accepted ? answer_ : ReplaceAnswer::No;
}

}  // namespace sonarchive::gui
