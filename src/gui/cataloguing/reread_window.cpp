#include "gui/cataloguing/reread_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "cataloguing/record_builder.h"
#include "cataloguing/tag_reread.h"
#include "gui/cataloguing/window_progress.h"
#include "gui/shell/app_context.h"
#include "gui/shell/help_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/named_widgets.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {}  // namespace

TfReRead::TfReRead(TFMain& main) : QDialog(&main), main_(main) {
    setObjectName(QStringLiteral("fReRead"));
    setWindowTitle(tr("Re-read tags"));
    auto* text = new QLabel(tr("If tags have been modified outside Sonarchive, you can re-read "
                               "tags to ensure that tags and archive contains the same "
                               "information."),
                            this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setWordWrap(true);
    text->setMinimumWidth(420);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));

    messages_ = new QWidget(this);
    messages_->setObjectName(QStringLiteral("PErrorMessages"));
    auto* caption = new QLabel(tr("Messages"), messages_);
    auto* hide = new QToolButton(messages_);
    hide->setObjectName(QStringLiteral("BHideMessages"));
    hide->setText(QStringLiteral("x"));
    hide->setToolTip(tr("Hide messages"));
    memo_ = new QPlainTextEdit(messages_);
    memo_->setObjectName(QStringLiteral("MemoErrorMesages"));
    memo_->setReadOnly(true);
    connect(hide, &QToolButton::clicked, messages_, &QWidget::hide);
    auto* title = new QHBoxLayout;
    title->addWidget(caption, 1);
    title->addWidget(hide);
    auto* panel = new QVBoxLayout(messages_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(title);
    panel->addWidget(memo_);

    start_ = NamedButton(tr("&Re-Read"), "Button2", this);
    start_->setDefault(true);
    close_ = NamedButton(tr("&Close"), "BClose", this);
    cancel_ = NamedButton(tr("&Cancel"), "BCancel", this);
    auto* help = NamedButton(tr("&Help"), "BitBtn2", this);
    connect(start_, &QPushButton::clicked, this, &TfReRead::Start);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &TfReRead::AskToCancel);
    connect(help, &QPushButton::clicked, this, [this] {
        if (main_.Windows().help != nullptr) {
            main_.Windows().help->ShowAnchor(QStringLiteral("reread"));
        }
    });

    auto* buttons = ButtonRow({start_, close_, cancel_, help});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(bar_);
    layout->addWidget(messages_, 1);
    layout->addLayout(buttons);
    messages_->hide();
    ShowRunning(false);
}

void TfReRead::ShowRunning(bool running) {
    running_ = running;
    bar_->setVisible(running);
    close_->setVisible(!running);
    cancel_->setVisible(running);
}

void TfReRead::Start() {
    if (running_) {
        return;
    }
    cancelled_ = false;
    messageAdded_ = false;
    ShowRunning(true);
    main_.Run([this] {
        AppContext& app = main_.App();
        WindowProgress user(app.User(), *bar_, cancelled_);
        cataloguing::TagReread reread(
            app.Catalog(), main_.Drives().PathRules(), user,
            [preferences = cataloguing::TagPreferences::From(app.General())](
                const std::string& path, catalog::TMainDataRecComplete& record) {
                return cataloguing::RereadFileRecord(path, preferences, record);
            },
            [this](const std::string& line) { AddMessage(line); });
        reread.Run();
    });
    ShowRunning(false);
    if (!messageAdded_) {
        accept();
    }
}

void TfReRead::AskToCancel() {
    if (running_ && main_.App().User().AskYesNo("Cancel rereading tags?")) {
        cancelled_ = true;
    }
}

void TfReRead::AddMessage(const std::string& line) {
    messageAdded_ = true;
    memo_->appendPlainText(QString::fromStdString(text::PathForDisplay(line)));
    messages_->show();
}

void TfReRead::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfReRead::reject() {
    if (!running_) {
        QDialog::reject();
    }
}

}  // namespace sonarchive::gui
