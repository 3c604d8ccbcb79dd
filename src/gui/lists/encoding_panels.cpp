#include "gui/lists/encoding_panels.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

#include "catalog_store/sql_text.h"
#include "cataloguing/technical_panels.h"

namespace sonarchive::gui {
namespace {

constexpr int kLinesPerColumn = 4;

cataloguing::TechnicalPanel EmptyPanelOf(int format) {
    catalog::TMainDataRec sample;
    sample.dFormat = format;
    return cataloguing::TechnicalPanelFor(sample);
}

}  // namespace

EncodingPanels::EncodingPanels(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PEncodingInfo"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    AddPanel(catalog::kFormatMp3, tr("MPEG audio"));
    AddPanel(catalog::kFormatWav, tr("WAV"));
    AddPanel(catalog::kFormatOgg, tr("Ogg Vorbis"));
    AddPanel(catalog::kFormatMonkey, tr("Monkey's Audio"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    ShowFor(nullptr);
}

void EncodingPanels::AddPanel(int format, const QString& title) {
    // The captions and value names come from the panel texts themselves, so the two never
    // disagree.
    const cataloguing::TechnicalPanel layout = EmptyPanelOf(format);
    Panel panel{new QGroupBox(title, this), {}};
    panel.box->setObjectName(QString::fromStdString(layout.name));
    auto* grid = new QGridLayout(panel.box);
    grid->setHorizontalSpacing(12);
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const int row = static_cast<int>(i) % kLinesPerColumn;
        const int column = static_cast<int>(i) / kLinesPerColumn * 2;
        const cataloguing::PanelLine& line = layout.lines[i];
        grid->addWidget(new QLabel(QString::fromStdString(line.caption), panel.box), row, column);
        auto* value = new QLabel(panel.box);
        value->setObjectName(QString::fromStdString(line.valueLabel));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(value, row, column + 1);
        panel.values.push_back(value);
    }
    grid->setColumnStretch(grid->columnCount(), 1);
    this->layout()->addWidget(panel.box);
    panels_.emplace(format, panel);
}

void EncodingPanels::ShowFor(const catalog::TMainDataRec* row) {
    const auto shown = row != nullptr ? panels_.find(row->dFormat) : panels_.end();
    for (auto& [format, panel] : panels_) {
        panel.box->setVisible(false);
    }
    if (shown == panels_.end()) {
        hide();
        return;
    }
    const cataloguing::TechnicalPanel texts = cataloguing::TechnicalPanelFor(*row);
    Panel& panel = shown->second;
    for (std::size_t i = 0; i < panel.values.size() && i < texts.lines.size(); ++i) {
        panel.values[i]->setText(QString::fromStdString(texts.lines[i].value));
    }
    panel.box->setVisible(true);
    show();
    setFixedHeight(panel.box->sizeHint().height());
}

QString EncodingPanels::VisiblePanel() const {
    for (const auto& [format, panel] : panels_) {
        if (!panel.box->isHidden()) {
            return panel.box->objectName();
        }
    }
    return {};
}

void EncodingPanels::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    connect(menu.addAction(tr("&Hide encoding panel")), &QAction::triggered, this,
            &EncodingPanels::hideRequested);
    menu.exec(event->globalPos());
}

}  // namespace sonarchive::gui
