// "Confirm file replace": asked before an existing file is replaced by another one.
#pragma once

#include <QDateTime>
#include <QDialog>

#include "interaction/interaction.h"

class QHBoxLayout;
class QVBoxLayout;

namespace sonarchive::gui {

// A date-time held as days since 1899-12-30 (the fraction is the time of day).
QDateTime DateTimeFromDays(double days);

class TfReplace : public QDialog {
    Q_OBJECT
public:
    TfReplace(const ReplaceQuestion& question, QWidget* parent = nullptr);

    // Modal; closing the dialog without a button counts as "&No".
    ReplaceAnswer Ask();

    // "<bytes / 1000>KB", as the dialog shows sizes.
    static QString SizeText(std::uint64_t bytes);

private:
    void AddFileBlock(QVBoxLayout* layout, const QString& heading, const std::string& path,
                      std::uint64_t size, double modified);
    void AddButton(QHBoxLayout* row, const QString& text, const char* name, ReplaceAnswer answer);

    ReplaceAnswer answer_ = ReplaceAnswer::No;
};

}  // namespace sonarchive::gui
