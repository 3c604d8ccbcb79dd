#include "gui/organize/organizer_preview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/organize/organize_widgets.h"
#include "gui/organize/organizer_messages.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

constexpr int kHelpTopic = 33;

QString Shown(const std::string& path) {
    return QString::fromStdString(text::PathForDisplay(path));
}

}  // namespace

TFDiskOrgPreview::TFDiskOrgPreview(HelpWindow* help, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FDiskOrgPreview"));
    setWindowTitle(tr("File Organizer - Preview"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ListView1"));
    list_->setHeaderLabels({tr("New path"), tr("Old path")});
    list_->setRootIsDecorated(false);
    // The run's order until a column header is clicked.
    list_->header()->setSectionsClickable(true);
    list_->header()->setSortIndicatorShown(true);
    connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        list_->sortItems(column, list_->header()->sortIndicatorOrder());
    });
    list_->setColumnWidth(0, 420);
    sentence_ = new QLabel(this);
    sentence_->setObjectName(QStringLiteral("LSentence"));
    messages_ = new OrganizerMessagePanel(this);
    auto* organize = NamedButton(tr("&Organize!"), "BOrganize", this);
    organize->setDefault(true);
    auto* cancel = NamedButton(tr("&Cancel"), "BCancel", this);
    auto* helpButton = NamedButton(tr("&Help"), "BHelp", this);
    connect(organize, &QPushButton::clicked, this, [this] {
        organize_ = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ConnectHelp(helpButton, help, kHelpTopic);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sentence_, 1);
    buttons->addWidget(organize);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Preview"), this));
    layout->addWidget(list_, 1);
    layout->addWidget(messages_);
    layout->addLayout(buttons);
    resize(900, 520);
}

void TFDiskOrgPreview::Begin(bool moving) {
    list_->clear();
    messages_->Clear();
    messages_->hide();
    sentence_->setText(
        tr("Files will be %1 from old path to new path").arg(moving ? tr("moved") : tr("copied")));
}

void TFDiskOrgPreview::AddLines(const std::vector<organize::PreviewLine>& lines) {
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines) {
        items.append(new QTreeWidgetItem({Shown(line.newPath), Shown(line.oldPath)}));
    }
    list_->addTopLevelItems(items);
}

bool TFDiskOrgPreview::Ask() {
    organize_ = false;
    exec();
    return organize_;
}

}  // namespace sonarchive::gui
