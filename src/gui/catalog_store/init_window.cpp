#include "gui/catalog_store/init_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "gui/catalog_store/status_window.h"
#include "gui/shell/screen_placement.h"

namespace sonarchive::gui {

TFInit::TFInit(QWidget* parent)
    : QDialog(parent, kStatusWindowFlags) {
    setObjectName(QStringLiteral("FInit"));
    setWindowTitle(tr("Sonarchive - initializing"));
    animation_ = new QProgressBar(this);
    animation_->setObjectName(QStringLiteral("Animate1"));
    animation_->setTextVisible(false);
    animation_->setRange(0, 1);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Label1"));
    status_->setAlignment(Qt::AlignCenter);
    status_->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(animation_);
    layout->addWidget(status_);
}

void TFInit::Start() {
    animation_->setRange(0, 0);  // an indeterminate bar moves by itself
    adjustSize();
    CentreOnScreen(*this);
    show();
    raise();
}

void TFInit::SetStatus(const QString& text) {
    status_->setText(text);
    emit statusChanged(text);
    PaintNow(*this);
}

QString TFInit::Status() const {
    return status_->text();
}

void TFInit::Finish() {
    animation_->setRange(0, 1);
    hide();
}

}  // namespace sonarchive::gui
