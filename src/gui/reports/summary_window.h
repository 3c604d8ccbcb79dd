// The summary window: the catalog as a tree (the whole catalog, each kind of medium, each
// volume or computer) and, for the node selected, its totals, its averages and two charts of
// what its files are made of.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "reports/statistics.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace sonarchive::gui {

class SummaryCharts;
class TFMain;

class TFSummary : public QWidget {
    Q_OBJECT
public:
    // Lists the volumes and computers of the catalog and selects "Total".
    explicit TFSummary(TFMain& main, QWidget* parent = nullptr);

private:
    void BuildTree();
    void AddChildren(QTreeWidgetItem& parent, const reports::StatisticsNode& node);
    const reports::StatisticsNode& NodeOf(const QTreeWidgetItem& item) const;
    QTreeWidgetItem* AddNode(reports::StatisticsNode node, QTreeWidgetItem* parent);
    void ShowNode(const QTreeWidgetItem* item);
    void ClearValues();

    TFMain& main_;
    // Each tree item keeps the index of its node here.
    std::vector<reports::StatisticsNode> nodes_;
    QTreeWidget* tree_;
    QLabel* header_;
    // "Number of files" ... "Avg. sample rate", in the order of the panels.
    std::array<QLabel*, 8> values_{};
    SummaryCharts* charts_;
};

}  // namespace sonarchive::gui
