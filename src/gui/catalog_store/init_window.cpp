#include "gui/catalog_store/init_window.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace sonarchive::gui {

TFInit::TFInit(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint) {
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
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
}

void TFInit::SetStatus(const QString& text) {
    status_->setText(text);
    emit statusChanged(text);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

QString TFInit::Status() const {
    return status_->text();
}

void TFInit::Finish() {
    animation_->setRange(0, 1);
    hide();
}

}  // namespace sonarchive::gui
