#include "gui/shell/gui_interaction.h"

#include <QApplication>
#include <QMessageBox>

#include "gui/organize/replace_dialog.h"
#include "gui/shell/path_text.h"

namespace sonarchive::gui {
namespace {

QString Caption() {
    return QStringLiteral("Sonarchive");
}

// Texts may name files, whose bytes that are not UTF-8 show as ISO-8859-1 characters.
QString FromUtf8(const std::string& text) {
    return DisplayPath(text);
}

}  // namespace

GuiInteraction::~GuiInteraction() {
    while (busyDepth_ > 0) {
        SetBusy(false);
    }
}

void GuiInteraction::SetWindows(QWidget* owner, TFMessage* message, TfConfirm* confirm) {
    owner_ = owner;
    message_ = message;
    confirm_ = confirm;
}

void GuiInteraction::ShowInformation(const std::string& text) {
    QMessageBox::information(owner_, Caption(), FromUtf8(text));
}

void GuiInteraction::ShowError(const std::string& text) {
    QMessageBox::critical(owner_, Caption(), FromUtf8(text));
}

bool GuiInteraction::AskYesNo(const std::string& text) {
    return QMessageBox::question(owner_, Caption(), FromUtf8(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

ConfirmAnswer GuiInteraction::Confirm(const std::string& text, int helpTopic) {
    return confirm_ ? confirm_->Ask(FromUtf8(text), helpTopic) : ConfirmAnswer{};
}

ReplaceAnswer GuiInteraction::AskReplace(const ReplaceQuestion& question) {
    TfReplace dialog(question, owner_);
    return dialog.Ask();
}

void GuiInteraction::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

void GuiInteraction::BeginNotice(const std::string& text) {
    if (message_) {
        message_->ShowText(FromUtf8(text));
    }
}

void GuiInteraction::EndNotice() {
    if (message_) {
        message_->hide();
    }
}

void GuiInteraction::SetProgressMaximum(int maximum) {
    if (progress_) {
        progress_->SetMaximum(maximum);
    }
}

void GuiInteraction::SetProgressPosition(int position) {
    if (progress_) {
        progress_->SetPosition(position);
    }
}

void GuiInteraction::SetTaskText(const std::string& text) {
    if (progress_) {
        progress_->SetTask(FromUtf8(text));
    }
}

void GuiInteraction::SetCounterText(const std::string& text) {
    if (progress_) {
        progress_->SetCounter(FromUtf8(text));
    }
}

bool GuiInteraction::CancelRequested() {
    return progress_ != nullptr && progress_->CancelRequested();
}

void GuiInteraction::ProcessPendingEvents() {
    QApplication::processEvents();
}

}  // namespace sonarchive::gui
