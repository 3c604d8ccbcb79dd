#include "gui/organize/organizer_messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kDescriptionLink = "description";

QString Escaped(const std::string& text) {
    return QString::fromStdString(text::PathForDisplay(text)).toHtmlEscaped();
}

}  // namespace

TfRichViewMessages::TfRichViewMessages(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fRichViewMessages"));
    setWindowTitle(tr("File Organizer - error messages"));
    auto* view = new QTextBrowser(this);
    view->setObjectName(QStringLiteral("RichView1"));
    const std::pair<QString, QString> entries[] = {
        {tr("Couldn't create folder"),
         tr("The new folder name contains an illegal character or the folder name is empty.")},
        {tr("Couldn't remove folder"),
         tr("Most likely the folder is read only or some other application is accessing the "
            "folder.")},
        {tr("Couldn't update archive for ... File info couldn't be obtained."),
         tr("For some reason, the file is not accessable from the new location after the move/ "
            "copy operation.")},
        {tr("Illegal filename"),
         tr("The new file name contains an illegal character or the folder name is empty.")},
    };
    QString html = QStringLiteral("<h3>%1</h3><hr>").arg(tr("File Organizer - error messages"));
    for (const auto& [title, explanation] : entries) {
        html += QStringLiteral("<p><b>%1</b><br>%2</p><p></p>")
                    .arg(title.toHtmlEscaped(), explanation.toHtmlEscaped());
    }
    view->setHtml(html);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("BClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(480, 380);
}

OrganizerMessagePanel::OrganizerMessagePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PMessages"));
    setFrameShape(QFrame::StyledPanel);
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("BHideMessages"));
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        emit visibilityChanged();
    });
    view_ = new QTextBrowser(this);
    view_->setObjectName(QStringLiteral("RichView1"));
    view_->setOpenLinks(false);
    view_->setMaximumHeight(140);
    connect(view_, &QTextBrowser::anchorClicked, this, [this] {
        TfRichViewMessages explanations(window());
        explanations.exec();
    });
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Messages"), this), 1);
    top->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(top);
    layout->addWidget(view_);
    hide();
}

void OrganizerMessagePanel::Append(const organize::OrganizerMessage& m) {
    QString line;
    if (m.status) {
        line = QStringLiteral("<span style=\"color:#ff0000\">%1</span>").arg(Escaped(m.lead));
    } else {
        line = Escaped(m.lead) +
               QStringLiteral("<b><span style=\"color:#8b0000\">%1</span></b>")
                   .arg(Escaped(m.subject)) +
               Escaped(m.tail);
        if (m.link) {
            line += QStringLiteral(
                        "<a href=\"%1\" style=\"color:#008000; text-decoration:underline\">%2</a>")
                        .arg(QLatin1String(kDescriptionLink), tr(" Description").toHtmlEscaped());
        }
    }
    view_->append(line);
    if (isHidden()) {
        show();
        emit visibilityChanged();
    }
}

void OrganizerMessagePanel::Clear() {
    view_->clear();
}

QStringList OrganizerMessagePanel::Lines() const {
    return view_->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace sonarchive::gui
