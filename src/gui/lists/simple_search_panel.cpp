#include "gui/lists/simple_search_panel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

#include "gui/lists/short_date.h"
#include "gui/shell/app_context.h"
#include "lists/pick_lists.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kLastField = "LASTSEARCHFIELD";
constexpr const char* kLastConditionText = "LASTSEARCHCONDITION_CHAR";
constexpr const char* kLastConditionNumber = "LASTSEARCHCONDITION_INT";

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A stored position, when it lies in 0 .. count - 1.
int StoredPosition(catalog::Registry& registry, const char* name, int count) {
    const std::int64_t stored = registry.ReadRegInteger(name);
    return stored >= 0 && stored < count ? static_cast<int>(stored) : -1;
}

}  // namespace

SimpleSearchPanel::SimpleSearchPanel(AppContext& app, QWidget* parent)
    : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("PSimple"));
    field_ = new QComboBox(this);
    field_->setObjectName(QStringLiteral("ComboSelectField"));
    for (const catalog::CatalogField& field : catalog::CatalogFields) {
        field_->addItem(Text(field.caption));
    }
    field_->setCurrentIndex(-1);
    condition_ = new QComboBox(this);
    condition_->setObjectName(QStringLiteral("ComboCondition"));

    valuePlace_ = new QStackedWidget(this);
    pickList_ = new QComboBox(valuePlace_);
    pickList_->setObjectName(QStringLiteral("ComboPickList"));
    pickList_->setEditable(true);
    pickList_->setInsertPolicy(QComboBox::NoInsert);
    text_ = new QLineEdit(valuePlace_);
    text_->setObjectName(QStringLiteral("EditSearchFor"));
    number_ = new QSpinBox(valuePlace_);
    number_->setObjectName(QStringLiteral("SpinSearchFor"));
    number_->setRange(0, static_cast<int>(lists::kNumberEditorMaximum));
    date_ = new QDateEdit(QDate::currentDate(), valuePlace_);
    date_->setObjectName(QStringLiteral("DateSearchFor"));
    date_->setDisplayFormat(ShortDatePattern());
    date_->setCalendarPopup(true);
    for (QWidget* editor : {static_cast<QWidget*>(text_), static_cast<QWidget*>(pickList_),
                            static_cast<QWidget*>(number_), static_cast<QWidget*>(date_)}) {
        valuePlace_->addWidget(editor);
    }
    valuePlace_->setCurrentWidget(text_);

    search_ = new QPushButton(tr("Search"), this);
    search_->setObjectName(QStringLiteral("SearchButton1"));
    search_->setDefault(true);
    advanced_ = new QPushButton(tr("Advanced..."), this);
    advanced_->setObjectName(QStringLiteral("BAdvanced1"));
    advanced_->setCheckable(true);

    connect(field_, &QComboBox::activated, this,
            [this](int position) { ChooseField(position, true); });
    connect(condition_, &QComboBox::activated, this,
            [this](int position) { ChooseCondition(position, true); });
    connect(search_, &QPushButton::clicked, this, &SimpleSearchPanel::searchRequested);
    connect(text_, &QLineEdit::returnPressed, this, &SimpleSearchPanel::searchRequested);
    connect(pickList_->lineEdit(), &QLineEdit::returnPressed, this,
            &SimpleSearchPanel::searchRequested);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Search in field"), this), 0, 0);
    layout->addWidget(new QLabel(tr("Condition"), this), 0, 1);
    layout->addWidget(new QLabel(tr("Search for"), this), 0, 2);
    layout->addWidget(field_, 1, 0);
    layout->addWidget(condition_, 1, 1);
    layout->addWidget(valuePlace_, 1, 2);
    layout->addWidget(search_, 1, 3);
    layout->addWidget(advanced_, 1, 4);
    layout->setColumnStretch(2, 1);
}

const catalog::CatalogField* SimpleSearchPanel::Field() const {
    const int position = field_->currentIndex();
    return position >= 0 ? &catalog::CatalogFields[static_cast<std::size_t>(position)] : nullptr;
}

void SimpleSearchPanel::RestoreStoredField() {
    const int stored = StoredPosition(app_.Registry(), kLastField,
                                      static_cast<int>(catalog::CatalogFields.size()));
    if (stored >= 0) {
        ChooseField(stored, false);
    }
}

void SimpleSearchPanel::ChooseField(int position, bool store) {
    if (position < 0 || static_cast<std::size_t>(position) >= catalog::CatalogFields.size()) {
        return;
    }
    field_->setCurrentIndex(position);
    if (store) {
        app_.Registry().WriteValues({{kLastField, std::int64_t{position}}},
                                    "Couldn't write to registry (LAST SEARCH FIELD).");
    }
    const catalog::CatalogField& field = *Field();
    condition_->clear();
    if (lists::PickLists::HasPickList(field.column)) {
        FillPickList(field.column);
        valuePlace_->setCurrentWidget(pickList_);
    } else {
        ShowValueEditor(field.kind);
    }
    for (const std::string_view op : lists::OperatorsOf(field.kind)) {
        condition_->addItem(Text(op));
    }
    const char* stored = field.kind == lists::kKindText ? kLastConditionText : kLastConditionNumber;
    condition_->setCurrentIndex(StoredPosition(app_.Registry(), stored, condition_->count()));
}

void SimpleSearchPanel::ShowValueEditor(char kind) {
    if (kind == lists::kKindNumber) {
        valuePlace_->setCurrentWidget(number_);
    } else if (kind == lists::kKindDate) {
        valuePlace_->setCurrentWidget(date_);
    } else {
        valuePlace_->setCurrentWidget(text_);
    }
}

void SimpleSearchPanel::FillPickList(std::string_view column) {
    const std::vector<std::string>& values = app_.PickLists().Values(
        app_.Catalog().Engine(), column, app_.General().SearchRefreshPicklists);
    pickList_->clear();
    for (const std::string& value : values) {
        pickList_->addItem(QString::fromStdString(value));
    }
    pickList_->setCurrentIndex(values.empty() ? -1 : 0);
}

void SimpleSearchPanel::ChooseCondition(int position, bool store) {
    const catalog::CatalogField* field = Field();
    if (field == nullptr || position < 0 || position >= condition_->count()) {
        return;
    }
    condition_->setCurrentIndex(position);
    if (!store) {
        return;
    }
    if (field->kind == lists::kKindText) {
        app_.Registry().WriteValues({{kLastConditionText, std::int64_t{position}}},
                                    "Couldn't write to registry (LAST SEARCH CONDITION CHAR).");
    } else {
        app_.Registry().WriteValues({{kLastConditionNumber, std::int64_t{position}}},
                                    "Couldn't write to registry (LAST SEARCH CONDITION INTEGER).");
    }
}

bool SimpleSearchPanel::PickListShown() const {
    return valuePlace_->currentWidget() == pickList_;
}

lists::SimpleSearch SimpleSearchPanel::Search() const {
    lists::SimpleSearch search;
    const catalog::CatalogField* field = Field();
    if (field == nullptr) {
        return search;
    }
    search.field = std::string(field->caption);
    search.condition = condition_->currentText().toStdString();
    if (PickListShown()) {
        search.value = pickList_->currentText().toStdString();
    } else if (field->kind == lists::kKindNumber) {
        search.value = std::to_string(number_->value());
    } else if (field->kind == lists::kKindDate) {
        search.value = ShortDateText(date_->date());
    } else {
        search.value = text_->text().toStdString();
    }
    return search;
}

void SimpleSearchPanel::Replay(const lists::SimpleReplay& replay) {
    if (replay.field < 0) {
        field_->setCurrentIndex(-1);
        condition_->clear();
        return;
    }
    ChooseField(replay.field, true);
    ChooseCondition(replay.condition, true);
    if (replay.condition < 0) {
        condition_->setCurrentIndex(-1);
    }
    const QString value = QString::fromStdString(replay.value);
    const catalog::CatalogField& field = *Field();
    if (PickListShown()) {
        pickList_->setEditText(value);
    } else if (field.kind == lists::kKindNumber) {
        number_->setValue(value.toInt());
    } else if (field.kind == lists::kKindDate) {
        const QDate date = ShortDateOf(replay.value);
        if (date.isValid()) {
            date_->setDate(date);
        }
    } else {
        text_->setText(value);
    }
}

}  // namespace sonarchive::gui
