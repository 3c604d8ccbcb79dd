#include "gui/catalog_store/message_window.h"

#include <QLabel>
#include <QVBoxLayout>

#include "gui/catalog_store/status_window.h"

namespace sonarchive::gui {

TFMessage::TFMessage(QWidget* parent)
    : QDialog(parent, kStatusWindowFlags) {
    setObjectName(QStringLiteral("FMessage"));
    setWindowTitle(tr("Sonarchive system message"));
    panel_ = new QLabel(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setAlignment(Qt::AlignCenter);
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Sunken);
    panel_->setMinimumSize(360, 60);
    panel_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
}

void TFMessage::ShowText(const QString& text) {
    panel_->setText(text);
    show();
    raise();
    PaintNow(*this);
}

QString TFMessage::Text() const {
    return panel_->text();
}

}  // namespace sonarchive::gui
