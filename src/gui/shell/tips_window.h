// The tips window shared by the child windows: a short text with "Did you know...?" or
// "Brief help", which the user can tick away for good where the tip has a setting.
#pragma once

#include <QDialog>

#include "catalog_store/settings.h"

class QCheckBox;
class QLabel;

namespace sonarchive::gui {

class HelpWindow;

// Whose tip it is; it decides where "Got it" is remembered.
enum class TipKind { Browse, Search, Collections, Collection, Playlist };

struct Tip {
    TipKind kind;
    QString title;
    QString text;
    bool briefHelp;  // "Brief help" instead of "Did you know...?"
    int helpTopic;   // for "&Tell me more"
};

// HINT_HIDE_COLLECTIONS, HINT_HIDE_COLLECTION or HINT_HIDE_PLAYLIST; null for browse and
// search tips, which have no setting and show whenever asked for.
const char* HintHideValue(TipKind kind);

class TFTips : public QDialog {
    Q_OBJECT
public:
    TFTips(catalog::Registry& registry, HelpWindow& help, QWidget* parent = nullptr);

    // Shows the tip modally; closing with "Got it" ticked writes 1 to the kind's setting.
    void ShowTip(const Tip& tip);
    // As ShowTip, unless the kind's setting is 1; answers whether it was shown.
    bool ShowUnlessHidden(const Tip& tip);

private:
    catalog::Registry& registry_;
    HelpWindow& help_;
    QLabel* picture_;
    QLabel* heading_;
    QLabel* title_;
    QLabel* text_;
    QCheckBox* gotIt_;
    int helpTopic_ = -1;
};

}  // namespace sonarchive::gui
