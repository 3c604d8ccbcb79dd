// The pages of the preferences dialog with their controls, and the rules by which each
// control shows and stores its setting.
#pragma once

#include <QWidget>

#include "catalog_store/settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace sonarchive::gui {

class TFPrefer_General : public QWidget {
    Q_OBJECT
public:
    explicit TFPrefer_General(QWidget* parent = nullptr);

    // The page of a node of the page tree; null for "Formats", which has none.
    QWidget* PageFor(const QString& node) const;

    // Reads every value into its control and applies the enable rules.
    void ReadValues(catalog::Registry& registry);
    // Writes every value, changed or not; a value that cannot be written is reported and the
    // others are still written.
    void WriteValues(catalog::Registry& registry);

    // CBRefreshPicklists follows CBUseCombos; the radio buttons follow
    // CBReplaceIllegalCharacters; the character list follows both.
    void ApplyEnableRules();

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildConfirmationsPage();
    QWidget* BuildTagPage(const char* comboName, const QStringList& entries, const QString& note,
                          QComboBox*& combo);
    QWidget* BuildOrganizerPage();
    QWidget* BuildPlayerPage();
    QCheckBox* Box(QWidget* page, const char* name, const QString& caption);

    QWidget* general_;
    QWidget* confirmations_;
    QWidget* mp3_;
    QWidget* ogg_;
    QWidget* monkey_;
    QWidget* organizer_;
    QWidget* player_;

    QCheckBox* useCombos_;
    QCheckBox* refreshPicklists_;
    QCheckBox* openBrowseStartup_;
    QCheckBox* confirmDelete_;
    QCheckBox* confirmDeleteFromHarddisk_;
    QCheckBox* confirmDeleteFromCollections_;
    QCheckBox* modifyTags_;
    QCheckBox* renameFiles_;
    QCheckBox* confirmOrganize_;
    QComboBox* comboMp3_;
    QComboBox* comboOgg_;
    QComboBox* comboMonkey_;
    QCheckBox* replaceIllegal_;
    QRadioButton* replaceWith_;
    QRadioButton* deleteIllegal_;
    QComboBox* replaceCharacter_;
    QLineEdit* playerCommand_;
    QLineEdit* enqueueCommand_;
};

}  // namespace sonarchive::gui
