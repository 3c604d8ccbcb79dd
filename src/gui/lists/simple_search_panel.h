// The simple search of the search window: one field, one condition, one value. The value is
// typed into the editor of the field's kind (text, whole number, date) or, for the six fields
// that have one, picked from the catalog's values.
#pragma once

#include <QWidget>

#include "lists/search_recording.h"
#include "lists/search_statements.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace sonarchive::gui {

class AppContext;

class SimpleSearchPanel : public QWidget {
    Q_OBJECT
public:
    SimpleSearchPanel(AppContext& app, QWidget* parent = nullptr);

    // The field stored in LASTSEARCHFIELD, without storing it again; a position outside the
    // field list selects none.
    void RestoreStoredField();
    // Choosing a field (the user's choice stores it): the value place and the conditions for
    // its kind, with the condition stored for that kind selected.
    void ChooseField(int position, bool store);
    void ChooseCondition(int position, bool store);
    // Puts a simple history entry back, as the user would have chosen it.
    void Replay(const lists::SimpleReplay& replay);

    lists::SimpleSearch Search() const;
    bool PickListShown() const;

    QPushButton& SearchButton() { return *search_; }
    QPushButton& AdvancedToggle() { return *advanced_; }

signals:
    void searchRequested();

private:
    const catalog::CatalogField* Field() const;
    void ShowValueEditor(char kind);
    void FillPickList(std::string_view column);

    AppContext& app_;
    QComboBox* field_;
    QComboBox* condition_;
    QStackedWidget* valuePlace_;
    QComboBox* pickList_;
    QLineEdit* text_;
    QSpinBox* number_;
    QDateEdit* date_;
    QPushButton* search_;
    QPushButton* advanced_;
};

}  // namespace sonarchive::gui
