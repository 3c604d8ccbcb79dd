// The two charts of the summary window for the node selected: how many files of each format,
// and how many megabytes on each volume or computer.
#pragma once

#include <QWidget>
#include <vector>

#include "reports/statistics.h"

class QChart;
class QChartView;

namespace sonarchive::gui {

class SummaryCharts : public QWidget {
    Q_OBJECT
public:
    explicit SummaryCharts(QWidget* parent = nullptr);

    // A pie of the files per format and bars of the megabytes per volume.
    void Show(const std::vector<reports::Share>& byFormat,
              const std::vector<reports::Share>& byVolume);
    void Clear();

private:
    QChart* formats_;
    QChart* volumes_;
};

}  // namespace sonarchive::gui
