#include "gui/reports/summary_window.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QSplitter>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/reports/summary_charts.h"
#include "gui/shell/app_context.h"
#include "gui/shell/header_label.h"
#include "gui/shell/main_window.h"
#include "interaction/scopes.h"

namespace sonarchive::gui {
namespace {

using reports::NodeKind;

constexpr int kNodeRole = Qt::UserRole;

struct FigureRow {
    const char* label;
    const char* objectName;
};

constexpr std::array<FigureRow, 4> kTotalRows{{{"Number of files", "LFiles"},
                                               {"Disk size occupied", "LDiskSize"},
                                               {"Duration", "LDuration"},
                                               {"Number of media", "LMedia"}}};
constexpr std::array<FigureRow, 4> kAverageRows{{{"Avg. file size", "LAvgFileSize"},
                                                 {"Avg. bitrate", "LAvgBitrate"},
                                                 {"Avg. duration", "LAvgDuration"},
                                                 {"Avg. sample rate", "LAvgSampleRate"}}};

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback, const QStyle& style) {
    return QIcon::fromTheme(QString::fromLatin1(name), style.standardIcon(fallback));
}

QIcon IconOf(NodeKind kind, const QStyle& style) {
    switch (kind) {
        case NodeKind::Total:
            return ThemeIcon("drive-multidisk", QStyle::SP_ComputerIcon, style);
        case NodeKind::FixedDrives:
            return ThemeIcon("drive-harddisk", QStyle::SP_DriveHDIcon, style);
        case NodeKind::RemovableMedia:
            return ThemeIcon("drive-removable-media", QStyle::SP_DriveCDIcon, style);
        case NodeKind::Computers:
            return ThemeIcon("network-server", QStyle::SP_DriveNetIcon, style);
        case NodeKind::Volume:
            break;
    }
    return {};
}

// The user's decimal separator; a point where it is no single ASCII character.
char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}

QGroupBox* FigurePanel(const QString& title, const char* name,
                       const std::array<FigureRow, 4>& rows, QLabel** values, QWidget* parent) {
    auto* panel = new QGroupBox(title, parent);
    panel->setObjectName(QString::fromLatin1(name));
    auto* layout = new QFormLayout(panel);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        values[i] = new QLabel(panel);
        values[i]->setObjectName(QString::fromLatin1(rows[i].objectName));
        values[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addRow(QObject::tr(rows[i].label), values[i]);
    }
    return panel;
}

}  // namespace

TFSummary::TFSummary(TFMain& main, QWidget* parent) : QWidget(parent), main_(main) {
    setObjectName(QStringLiteral("FSummary"));
    setWindowTitle(tr("Summary"));

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("TVSummary"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);

    header_ = NewHeaderLabel(this);

    auto* panels = new QHBoxLayout;
    panels->addWidget(
        FigurePanel(tr("Total sizes"), "GBTotalSizes", kTotalRows, values_.data(), this));
    panels->addWidget(
        FigurePanel(tr("Average"), "GBAverage", kAverageRows, values_.data() + 4, this));
    charts_ = new SummaryCharts(this);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->addWidget(header_);
    rightLayout->addLayout(panels);
    rightLayout->addWidget(charts_, 1);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tree_);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 640});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    resize(900, 560);

    BuildTree();
    tree_->expandAll();
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { main_.Run([this, current] { ShowNode(current); }); });
    tree_->setCurrentItem(tree_->topLevelItem(0));
}

const reports::StatisticsNode& TFSummary::NodeOf(const QTreeWidgetItem& item) const {
    return nodes_[item.data(0, kNodeRole).toULongLong()];
}

QTreeWidgetItem* TFSummary::AddNode(reports::StatisticsNode node, QTreeWidgetItem* parent) {
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    item->setText(0, QString::fromStdString(node.text));
    // A volume or computer looks like the kind of medium it belongs to.
    item->setIcon(0, IconOf(parent != nullptr ? NodeOf(*parent).kind : node.kind, *style()));
    item->setData(0, kNodeRole, QVariant::fromValue<qulonglong>(nodes_.size()));
    nodes_.push_back(std::move(node));
    return item;
}

void TFSummary::BuildTree() {
    for (const reports::StatisticsNode& top : reports::TopNodes(main_.Drives().PathRules())) {
        QTreeWidgetItem* item = AddNode(top, nullptr);
        main_.Run([this, item, &top] { AddChildren(*item, top); });
    }
}

void TFSummary::AddChildren(QTreeWidgetItem& parent, const reports::StatisticsNode& node) {
    BusyScope busy(main_.App().User());
    for (reports::StatisticsNode& child :
         reports::ChildNodes(main_.App().Catalog().Engine(), main_.Drives().PathRules(), node)) {
        AddNode(std::move(child), &parent);
    }
}

void TFSummary::ClearValues() {
    header_->clear();
    for (QLabel* value : values_) {
        value->clear();
    }
    charts_->Clear();
}

void TFSummary::ShowNode(const QTreeWidgetItem* item) {
    ClearValues();
    if (item == nullptr) {
        return;
    }
    const reports::StatisticsNode& node = NodeOf(*item);
    header_->setText(QString::fromStdString(node.text));
    BusyScope busy(main_.App().User());
    catalog::Database& database = main_.App().Catalog().Engine();
    const reports::FigureTexts texts =
        reports::TextsOf(reports::ComputeFigures(database, node.condition), DecimalSeparator());
    const std::array<const std::string*, 8> shown{
        &texts.files,           &texts.diskSize,       &texts.duration,
        &texts.media,           &texts.averageFileSize, &texts.averageBitrate,
        &texts.averageDuration, &texts.averageSampleRate};
    for (std::size_t i = 0; i < shown.size(); ++i) {
        values_[i]->setText(QString::fromStdString(*shown[i]));
    }
    charts_->Show(reports::SharesByFormat(database, node.condition),
                  reports::SharesByVolume(database, main_.Drives().PathRules(), node.condition));
}

}  // namespace sonarchive::gui
