#include "gui/cataloguing/add_figures.h"

#include <QFormLayout>
#include <QLabel>

#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

QLabel* AddFigure(QFormLayout& layout, const QString& caption, const char* name) {
    auto* value = new QLabel(layout.parentWidget());
    value->setObjectName(QString::fromLatin1(name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout.addRow(caption, value);
    return value;
}

QFormLayout* FigureLayout(QWidget& owner) {
    auto* layout = new QFormLayout(&owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setLabelAlignment(Qt::AlignLeft);
    return layout;
}

}  // namespace

VolumeFigures::VolumeFigures(QWidget* parent) : QWidget(parent) {
    QFormLayout* layout = FigureLayout(*this);
    type_ = AddFigure(*layout, tr("Media type:"), "LMediaType");
    letter_ = AddFigure(*layout, tr("Drive Letter:"), "LDriveLetter");
    serial_ = AddFigure(*layout, tr("Serial no:"), "LSerialNo");
    label_ = AddFigure(*layout, tr("Volumelabel:"), "LVolumeLabel");
}

void VolumeFigures::Show(const cataloguing::VolumeIdentity& volume) {
    type_->setText(QString::fromStdString(volume.typeName));
    letter_->setText(QString::fromStdString(text::PathForDisplay(volume.letter)));
    serial_->setText(QString::fromStdString(volume.serial));
    label_->setText(QString::fromStdString(volume.label));
}

CounterFigures::CounterFigures(const QString& addedCaption, QWidget* parent) : QWidget(parent) {
    QFormLayout* layout = FigureLayout(*this);
    found_ = AddFigure(*layout, tr("Files found:"), "LFilesFound");
    added_ = AddFigure(*layout, addedCaption, "LFilesAdded");
    already_ = AddFigure(*layout, tr("Files already in archive:"), "LFilesInArchive");
    invalid_ = AddFigure(*layout, tr("Invalid files:"), "LInvalidFiles");
    Show({});
}

void CounterFigures::Show(const cataloguing::AddCounters& counters) {
    found_->setNum(counters.found);
    added_->setNum(counters.added);
    already_->setNum(counters.alreadyInArchive);
    invalid_->setNum(counters.invalid);
}

}  // namespace sonarchive::gui
