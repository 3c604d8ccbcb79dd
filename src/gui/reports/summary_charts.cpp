#include "gui/reports/summary_charts.h"

#include <QHBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QPieSeries>
#include <QtCharts/QValueAxis>

namespace sonarchive::gui {
namespace {

QChart* NewChart(const QString& title, const char* viewName, QWidget* parent, QLayout& layout) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setAnimationOptions(QChart::NoAnimation);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(viewName));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(260, 220);
    layout.addWidget(view);
    return chart;
}

void RemoveAll(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

QString LabelOf(const reports::Share& share) {
    return QString::fromStdString(share.label);
}

}  // namespace

SummaryCharts::SummaryCharts(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    formats_ = NewChart(tr("Files by format"), "CVFormats", this, *layout);
    volumes_ = NewChart(tr("Size by volume"), "CVVolumes", this, *layout);
    volumes_->legend()->hide();
}

void SummaryCharts::Clear() {
    RemoveAll(*formats_);
    RemoveAll(*volumes_);
}

void SummaryCharts::Show(const std::vector<reports::Share>& byFormat,
                         const std::vector<reports::Share>& byVolume) {
    Clear();
    auto* pie = new QPieSeries;
    for (const reports::Share& share : byFormat) {
        QPieSlice* slice = pie->append(
            tr("%1 (%2)").arg(LabelOf(share)).arg(share.files), static_cast<qreal>(share.files));
        slice->setLabelVisible(false);
    }
    formats_->addSeries(pie);

    // Largest at the top: a horizontal bar chart draws its first category at the bottom.
    auto* megabytes = new QBarSet(tr("MB"));
    QStringList volumes;
    for (auto share = byVolume.rbegin(); share != byVolume.rend(); ++share) {
        megabytes->append(static_cast<qreal>(share->kilobytes) / 1000);
        volumes.append(LabelOf(*share));
    }
    auto* bars = new QHorizontalBarSeries;
    bars->append(megabytes);
    volumes_->addSeries(bars);
    auto* names = new QBarCategoryAxis;
    names->append(volumes);
    volumes_->addAxis(names, Qt::AlignLeft);
    bars->attachAxis(names);
    auto* size = new QValueAxis;
    size->setTitleText(tr("MB"));
    size->setLabelFormat(QStringLiteral("%.0f"));
    volumes_->addAxis(size, Qt::AlignBottom);
    bars->attachAxis(size);
    size->setMin(0);
    size->applyNiceNumbers();
}

}  // namespace sonarchive::gui
