#include "gui/organize/format_widgets.h"

#include <QGridLayout>
#include <QLabel>

#include "organize/file_format.h"

namespace sonarchive::gui {

FormattingVariables::FormattingVariables(QWidget* parent)
    : QGroupBox(tr(" Formatting variables "), parent) {
    setObjectName(QStringLiteral("GBFormattingVariables"));
    const QString texts[] = {tr("%0 - Artist"),   tr("%1 - Title"), tr("%2 - Album"),
                             tr("%3 - Track"),    tr("%4 - Genre"), tr("%5 - Comment"),
                             tr("%6 - Filename"), tr("%7 - Year"),  tr("%8 - Composer")};
    auto* layout = new QGridLayout(this);
    for (int i = 0; i < 9; ++i) {
        layout->addWidget(new QLabel(texts[i], this), i % 3, i / 3);
    }
}

QString ExplainFormat(const QString& format) {
    return QString::fromStdString(
        organize::ExpandFileFormat(format.toStdString(), nullptr, true, true).explanation);
}

}  // namespace sonarchive::gui
