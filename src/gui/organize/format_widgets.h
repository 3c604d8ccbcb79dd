// Pieces the format dialogs share: the " Formatting variables " box and the explanation of a
// format in words.
#pragma once

#include <QGroupBox>
#include <QString>

namespace sonarchive::gui {

// The nine tokens with their words: "%0 - Artist" ... "%8 - Composer".
class FormattingVariables : public QGroupBox {
    Q_OBJECT
public:
    explicit FormattingVariables(QWidget* parent = nullptr);
};

// "Artist - Title" for "%0 - %1".
QString ExplainFormat(const QString& format);

}  // namespace sonarchive::gui
