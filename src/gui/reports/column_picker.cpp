#include "gui/reports/column_picker.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace sonarchive::gui {

ColumnPicker::ColumnPicker(QWidget* parent) : QWidget(parent) {
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("LBColumns"));
    up_ = new QPushButton(tr("&Up"), this);
    up_->setObjectName(QStringLiteral("BColumnUp"));
    down_ = new QPushButton(tr("Do&wn"), this);
    down_->setObjectName(QStringLiteral("BColumnDown"));

    connect(list_, &QListWidget::itemChanged, this, &ColumnPicker::changed);
    connect(list_, &QListWidget::currentRowChanged, this, &ColumnPicker::UpdateButtons);
    connect(up_, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { MoveCurrent(1); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(up_);
    buttons->addWidget(down_);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    UpdateButtons();
}

void ColumnPicker::AddColumn(const std::string& caption, bool ticked) {
    auto* item = new QListWidgetItem(QString::fromStdString(caption), list_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void ColumnPicker::SetColumns(const std::vector<std::string>& captions) {
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (const std::string& caption : captions) {
            AddColumn(caption, true);
        }
    }
    UpdateButtons();
    emit changed();
}

void ColumnPicker::Choose(const std::vector<std::string>& chosen) {
    std::vector<std::string> all;
    for (int row = 0; row < list_->count(); ++row) {
        all.push_back(list_->item(row)->text().toStdString());
    }
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (const std::string& caption : chosen) {
            const auto found = std::find(all.begin(), all.end(), caption);
            if (found != all.end()) {
                AddColumn(caption, true);
                all.erase(found);
            }
        }
        for (const std::string& caption : all) {
            AddColumn(caption, false);
        }
    }
    UpdateButtons();
    emit changed();
}

std::vector<std::string> ColumnPicker::Chosen() const {
    std::vector<std::string> chosen;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->checkState() == Qt::Checked) {
            chosen.push_back(list_->item(row)->text().toStdString());
        }
    }
    return chosen;
}

void ColumnPicker::MoveCurrent(int step) {
    const int from = list_->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= list_->count()) {
        return;
    }
    {
        const QSignalBlocker quiet(list_);
        list_->insertItem(to, list_->takeItem(from));
    }
    list_->setCurrentRow(to);
    emit changed();
}

void ColumnPicker::UpdateButtons() {
    const int row = list_->currentRow();
    up_->setEnabled(row > 0);
    down_->setEnabled(row >= 0 && row + 1 < list_->count());
}

}  // namespace sonarchive::gui
