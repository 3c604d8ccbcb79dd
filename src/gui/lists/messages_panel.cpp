#include "gui/lists/messages_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "text/path_bytes.h"

namespace sonarchive::gui {

MessagesPanel::MessagesPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PErrorMessages"));
    setFrameShape(QFrame::StyledPanel);
    auto* caption = new QLabel(tr("       Messages"), this);
    caption->setObjectName(QStringLiteral("LMessages"));
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("BHideMessages"));
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setAutoRaise(true);
    close->setToolTip(tr("Hide messages"));
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("MemoErrorMesages"));
    memo_->setReadOnly(true);
    memo_->setMaximumHeight(110);

    auto* top = new QHBoxLayout;
    top->addWidget(caption, 1);
    top->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(top);
    layout->addWidget(memo_);
    hide();
}

void MessagesPanel::AppendLine(const std::string& line) {
    // The lines name files: their bytes show as the system would print them.
    memo_->appendPlainText(QString::fromStdString(text::PathForDisplay(line)));
    show();
}

void MessagesPanel::AppendLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        AppendLine(line);
    }
}

void MessagesPanel::Clear() {
    memo_->clear();
    hide();
}

QStringList MessagesPanel::Lines() const {
    return memo_->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace sonarchive::gui
