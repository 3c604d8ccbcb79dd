// The encoding panel area under a result list: the technical figures of the selected file in
// one of four panels, MPEG audio, WAV, Ogg Vorbis or Monkey's Audio, by the row's format. The
// area is as high as the panel shown, and disappears when none is.
#pragma once

#include <QFrame>
#include <map>
#include <vector>

#include "catalog_store/records.h"

class QGroupBox;
class QLabel;

namespace sonarchive::gui {

class EncodingPanels : public QFrame {
    Q_OBJECT
public:
    explicit EncodingPanels(QWidget* parent = nullptr);

    // Shows the panel of the record's format with its figures and hides the other three;
    // null, or a format without a panel, hides them all.
    void ShowFor(const catalog::TMainDataRec* row);
    // The panel shown now ("PMPEGInfo", ...), empty when none is.
    QString VisiblePanel() const;

signals:
    // "&Hide encoding panel" of the panels' own menu.
    void hideRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Panel {
        QGroupBox* box;
        std::vector<QLabel*> values;  // in the order of the panel's lines
    };
    void AddPanel(int format, const QString& title);

    std::map<int, Panel> panels_;  // by format code
};

}  // namespace sonarchive::gui
