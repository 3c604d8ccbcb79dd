#include "gui/lists/view_fields_dialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <algorithm>

namespace sonarchive::gui {
namespace {

constexpr int kLeft = 20;
constexpr int kTop = 10;
constexpr int kBoxWidth = 250;
constexpr int kGap = 2;

QString Caption(const lists::ResultColumn& column) {
    return QString::fromUtf8(column.definition->caption.data(),
                             static_cast<qsizetype>(column.definition->caption.size()));
}

}  // namespace

TFViewFields::TFViewFields(const lists::ResultColumns& columns, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FViewFields"));
    setWindowTitle(tr("Set visible fields"));
    int top = kTop;
    const std::size_t listed = std::min(columns.size(), lists::kListedColumns);
    for (std::size_t i = 0; i < listed; ++i) {
        auto* box = new QCheckBox(Caption(columns[i]), this);
        box->setObjectName(QStringLiteral("CBField%1").arg(i));
        box->setChecked(columns[i].visible);
        box->setEnabled(columns[i].definition->toggle);
        const int height = box->sizeHint().height();
        box->setGeometry(kLeft, top, kBoxWidth, height);
        top += height + kGap;
        boxes_.push_back(box);
    }
    useAsDefault_ = new QCheckBox(tr("Use as default"), this);
    useAsDefault_->setObjectName(QStringLiteral("CBUseAsDefault"));
    const int boxHeight = useAsDefault_->sizeHint().height();
    useAsDefault_->setGeometry(kLeft, top + 8, kBoxWidth, boxHeight);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("BClose"));
    close->setDefault(true);
    const QSize closeSize = close->sizeHint();
    const int closeTop = top + 8 + boxHeight + 8;
    close->setGeometry(kLeft + kBoxWidth - closeSize.width(), closeTop, closeSize.width(),
                       closeSize.height());
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(kLeft * 2 + kBoxWidth, closeTop + closeSize.height() + kTop);
}

bool TFViewFields::Edit(lists::ResultColumns& columns) {
    if (exec() != QDialog::Accepted) {
        return false;
    }
    for (std::size_t i = 0; i < boxes_.size() && i < columns.size(); ++i) {
        columns[i].visible = boxes_[i]->isChecked();
    }
    return true;
}

bool TFViewFields::UseAsDefault() const {
    return useAsDefault_->isChecked();
}

}  // namespace sonarchive::gui
