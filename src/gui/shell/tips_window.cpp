#include "gui/shell/tips_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "gui/shell/help_window.h"
#include "gui/shell/named_widgets.h"

namespace sonarchive::gui {

const char* HintHideValue(TipKind kind) {
    switch (kind) {
        case TipKind::Collections:
            return "HINT_HIDE_COLLECTIONS";
        case TipKind::Collection:
            return "HINT_HIDE_COLLECTION";
        case TipKind::Playlist:
            return "HINT_HIDE_PLAYLIST";
        case TipKind::Browse:
        case TipKind::Search:
            break;
    }
    return nullptr;
}

TFTips::TFTips(catalog::Registry& registry, HelpWindow& help, QWidget* parent)
    : QDialog(parent), registry_(registry), help_(help) {
    setObjectName(QStringLiteral("FTips"));
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("ImagePicture"));
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("LHeading"));
    QFont headingFont = heading_->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading_->setFont(headingFont);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("LTitle"));
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    title_->setFont(titleFont);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("LText"));
    text_->setWordWrap(true);
    text_->setMinimumWidth(340);
    gotIt_ = new QCheckBox(tr("Got it, don't show this message again!"), this);
    gotIt_->setObjectName(QStringLiteral("CBGotIt"));

    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("BClose"));
    close->setDefault(true);
    auto* more = new QPushButton(tr("&Tell me more"), this);
    more->setObjectName(QStringLiteral("BTellMore"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(more, &QPushButton::clicked, this, [this] { help_.ShowTopic(helpTopic_); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture_, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(heading_, 0, 1);
    grid->addWidget(title_, 1, 1);
    grid->addWidget(text_, 2, 1);
    grid->addWidget(gotIt_, 3, 1);
    auto* buttons = ButtonRow({more, close});
    grid->addLayout(buttons, 4, 0, 1, 2);
}

void TFTips::ShowTip(const Tip& tip) {
    setWindowTitle(tip.title);
    title_->setText(tip.title);
    text_->setText(tip.text);
    heading_->setText(tip.briefHelp ? tr("Brief help") : tr("Did you know...?"));
    const QIcon picture =
        tip.briefHelp ? QIcon::fromTheme(QStringLiteral("help-contents"),
                                         style()->standardIcon(QStyle::SP_DialogHelpButton))
                      : QIcon::fromTheme(QStringLiteral("dialog-information"),
                                         style()->standardIcon(QStyle::SP_MessageBoxInformation));
    picture_->setPixmap(picture.pixmap(48));
    helpTopic_ = tip.helpTopic;
    gotIt_->setChecked(false);
    exec();
    const char* value = HintHideValue(tip.kind);
    if (gotIt_->isChecked() && value != nullptr) {
        registry_.WriteRegInteger(value, 1);
    }
}

bool TFTips::ShowUnlessHidden(const Tip& tip) {
    const char* value = HintHideValue(tip.kind);
    if (value != nullptr && registry_.ReadRegInteger(value) == 1) {
        return false;
    }
    ShowTip(tip);
    return true;
}

}  // namespace sonarchive::gui
