#include "gui/lists/advanced_search_grid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/lists/short_date.h"

namespace sonarchive::gui {
namespace {

enum Column { kField = 0, kCondition = 1, kValue = 2, kCombine = 3 };
constexpr int kRows = 5;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

char KindOfRow(const QModelIndex& index) {
    const catalog::CatalogField* field =
        lists::FieldByCaption(index.siblingAtColumn(kField).data().toString().toStdString());
    return field != nullptr ? field->kind : '\0';
}

QComboBox* ListEditor(QWidget* parent, const QStringList& entries) {
    auto* box = new QComboBox(parent);
    box->addItems(entries);
    return box;
}

// The editor of each cell: lists for field, condition and combine, and for the value the
// editor of the row's field kind.
class GridEditors : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        switch (index.column()) {
            case kField: {
                QStringList captions;
                for (const catalog::CatalogField& field : catalog::CatalogFields) {
                    captions << Text(field.caption);
                }
                return ListEditor(parent, captions);
            }
            case kCondition: {
                QStringList operators;
                for (const std::string_view op : lists::OperatorsOf(KindOfRow(index))) {
                    operators << Text(op);
                }
                return ListEditor(parent, operators);
            }
            case kCombine:
                return ListEditor(parent, {QStringLiteral("IGNORE"), QStringLiteral("AND"),
                                           QStringLiteral("OR")});
            default:
                break;
        }
        const char kind = KindOfRow(index);
        if (kind == lists::kKindNumber) {
            auto* number = new QSpinBox(parent);
            number->setRange(0, static_cast<int>(lists::kNumberEditorMaximum));
            return number;
        }
        if (kind == lists::kKindDate) {
            auto* date = new QDateEdit(parent);
            date->setDisplayFormat(ShortDatePattern());
            date->setCalendarPopup(true);
            return date;
        }
        return new QLineEdit(parent);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QString text = index.data().toString();
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentIndex(box->findText(text));
        } else if (auto* number = qobject_cast<QSpinBox*>(editor)) {
            number->setValue(
                static_cast<int>(lists::ReadGridNumber(text.toStdString()).value_or(0)));
        } else if (auto* date = qobject_cast<QDateEdit*>(editor)) {
            const QDate shown = ShortDateOf(text.toStdString());
            date->setDate(shown.isValid() ? shown : QDate::currentDate());
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QString text;
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            text = box->currentText();
        } else if (auto* number = qobject_cast<QSpinBox*>(editor)) {
            text = QString::number(number->value());
        } else if (auto* date = qobject_cast<QDateEdit*>(editor)) {
            text = QString::fromStdString(ShortDateText(date->date()));
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            text = line->text();
        }
        model->setData(index, text);
    }
};

}  // namespace

AdvancedSearchGrid::AdvancedSearchGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PAdvanced"));
    table_ = new QTableWidget(kRows, 4, this);
    table_->setObjectName(QStringLiteral("StringGrid1"));
    table_->setHorizontalHeaderLabels({tr("Field"), tr("Condition"), tr("Value"), tr("Combine")});
    table_->setItemDelegate(new GridEditors(table_));
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->verticalHeader()->setSectionsMovable(true);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < 4; ++column) {
            table_->setItem(row, column, new QTableWidgetItem);
        }
    }
    table_->setFixedHeight(table_->horizontalHeader()->sizeHint().height() +
                           kRows * table_->verticalHeader()->defaultSectionSize() +
                           2 * table_->frameWidth());
    table_->installEventFilter(this);
    connect(table_, &QTableWidget::itemChanged, this, [this] {
        if (!validating_) {
            Validate();
        }
    });

    readable_ = new QLabel(this);
    readable_->setObjectName(QStringLiteral("LAdvancedText"));
    readable_->setWordWrap(true);
    auto* clear = new QPushButton(tr("Clear"), this);
    clear->setObjectName(QStringLiteral("BClear"));
    connect(clear, &QPushButton::clicked, this, &AdvancedSearchGrid::Clear);
    search_ = new QPushButton(tr("Search"), this);
    search_->setObjectName(QStringLiteral("SearchButton2"));
    connect(search_, &QPushButton::clicked, this, &AdvancedSearchGrid::searchRequested);
    advanced_ = new QPushButton(tr("Advanced..."), this);
    advanced_->setObjectName(QStringLiteral("BAdvanced2"));
    advanced_->setCheckable(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readable_, 1);
    buttons->addWidget(clear);
    buttons->addWidget(search_);
    buttons->addWidget(advanced_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);
    layout->addLayout(buttons);
}

lists::SearchGrid AdvancedSearchGrid::Grid() const {
    lists::SearchGrid grid;
    for (int shown = 0; shown < kRows; ++shown) {
        const int row = table_->verticalHeader()->logicalIndex(shown);
        const auto cell = [this, row](int column) {
            return table_->item(row, column)->text().toStdString();
        };
        grid[static_cast<std::size_t>(shown)] = {cell(kField), cell(kCondition), cell(kValue),
                                                 cell(kCombine)};
    }
    return grid;
}

void AdvancedSearchGrid::SetGrid(const lists::SearchGrid& grid) {
    validating_ = true;
    for (int shown = 0; shown < kRows; ++shown) {
        const int row = table_->verticalHeader()->logicalIndex(shown);
        const lists::TSearchCondition& condition = grid[static_cast<std::size_t>(shown)];
        table_->item(row, kField)->setText(QString::fromStdString(condition.Field));
        table_->item(row, kCondition)->setText(QString::fromStdString(condition.Condition));
        table_->item(row, kValue)->setText(QString::fromStdString(condition.Value));
        table_->item(row, kCombine)->setText(QString::fromStdString(condition.Combine));
    }
    validating_ = false;
    ShowReadableText();
}

void AdvancedSearchGrid::Validate() {
    lists::SearchGrid grid = Grid();
    lists::ValidateGrid(grid, ShortDateFormat(), DaysOf(QDate::currentDate()));
    SetGrid(grid);
}

void AdvancedSearchGrid::Clear() {
    SetGrid({});
}

QString AdvancedSearchGrid::ReadableText() const {
    return readable_->text();
}

void AdvancedSearchGrid::ShowReadableText() {
    readable_->setText(
        QString::fromStdString(lists::BuildAdvancedSearch(Grid(), ShortDateFormat()).readable));
}

bool AdvancedSearchGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::FocusIn) {
        Validate();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace sonarchive::gui
