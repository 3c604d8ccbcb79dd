#include "gui/shell/about_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace sonarchive::gui {

QString VersionText() {
    return QStringLiteral("Version %1.%2.%3.%4")
        .arg(SONARCHIVE_VERSION_MAJOR)
        .arg(SONARCHIVE_VERSION_MINOR)
        .arg(SONARCHIVE_VERSION_PATCH)
        .arg(SONARCHIVE_VERSION_TWEAK);
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("About Sonarchive"));
    auto* logo = new QLabel(this);
    logo->setPixmap(QPixmap(QStringLiteral(":/images/sonarchive.png"))
                        .scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    logo->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(QStringLiteral("Sonarchive"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    name->setFont(nameFont);
    name->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("Version"));
    version->setAlignment(Qt::AlignCenter);
    auto* license = new QLabel(
        tr("Free software under the GNU General Public License, version 3 or any later version "
           "(see the file LICENSE)."),
        this);
    license->setObjectName(QStringLiteral("License"));
    license->setAlignment(Qt::AlignCenter);
    license->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logo);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(license);
    layout->addWidget(buttons);
}

}  // namespace sonarchive::gui
