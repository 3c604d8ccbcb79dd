#include "gui/tags/mass_update_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/shell/app_context.h"
#include "gui/shell/help_window.h"
#include "gui/tags/mass_update_tree.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kLastFieldValue = "LAST_MASS_UPDATE_FIELD";
constexpr const char* kSyncValue = "MASS_UPDATE_SYNC";

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsValueDrag(const QMimeData* data) {
    return data != nullptr && data->hasFormat(MassUpdateTree::kValueFormat);
}

}  // namespace

TFMassUpdateTag::TFMassUpdateTag(AppContext& app, const catalog::PathRules& rules, HelpWindow& help,
                                 QWidget* parent)
    : QDialog(parent), app_(app), rules_(rules), help_(help) {
    setObjectName(QStringLiteral("FMassUpdateTag"));
    setWindowTitle(tr("Modify tags"));
    BuildControls();
    BuildPopupMenu();

    // The choices of the last run come back; restoring them writes nothing.
    const std::int64_t last = app_.Registry().ReadRegInteger(kLastFieldValue);
    {
        const QSignalBlocker quiet(field_);
        field_->setCurrentIndex(last > 0 && last < field_->count() ? static_cast<int>(last) : 0);
    }
    (app_.Registry().ReadRegInteger(kSyncValue) == 1 ? sync_ : updateIfPossible_)->setChecked(true);
    FieldChanged();
    connect(field_, &QComboBox::currentIndexChanged, this, [this](int position) {
        FieldChanged();
        app_.Registry().WriteRegInteger(kLastFieldValue, position);
    });
}

TFMassUpdateTag::~TFMassUpdateTag() = default;

void TFMassUpdateTag::BuildControls() {
    field_ = new QComboBox(this);
    field_->setObjectName(QStringLiteral("ComboSelectField"));
    field_->addItem(FromUtf8(tags::kNoFieldEntry));
    for (const tags::MassUpdateField& entry : tags::MassUpdateFields()) {
        field_->addItem(FromUtf8(entry.caption));
    }
    newText_ = new QLineEdit(this);
    newText_->setObjectName(QStringLiteral("EditNewValue"));
    newNumber_ = new QSpinBox(this);
    newNumber_->setObjectName(QStringLiteral("CurrencyEdit1"));
    for (QWidget* editor : {static_cast<QWidget*>(newText_),
                            static_cast<QWidget*>(newNumber_->findChild<QLineEdit*>())}) {
        editor->setAcceptDrops(true);
        editor->installEventFilter(this);
    }

    updateIfPossible_ =
        new QRadioButton(tr("Update tag if possible. Always update database."), this);
    updateIfPossible_->setObjectName(QStringLiteral("RBUpdateTagIfPossible"));
    sync_ = new QRadioButton(tr("Keep tags and database synchronized. Update both or none."), this);
    sync_->setObjectName(QStringLiteral("RBSync"));
    connect(updateIfPossible_, &QRadioButton::clicked, this, &TFMassUpdateTag::SaveSyncChoice);
    connect(sync_, &QRadioButton::clicked, this, &TFMassUpdateTag::SaveSyncChoice);

    rows_ = new MassUpdateTree(this);
    rows_->setObjectName(QStringLiteral("ElTree1"));
    rows_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rows_, &MassUpdateTree::deletePressed, this, &TFMassUpdateTag::RemoveSelectedRows);
    connect(rows_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { TakeValue(item->text(0)); });

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->hide();

    messages_ = new QFrame(this);
    messages_->setObjectName(QStringLiteral("PErrorMessages"));
    messages_->setFrameShape(QFrame::StyledPanel);
    memo_ = new QPlainTextEdit(messages_);
    memo_->setObjectName(QStringLiteral("MemoErrorMesages"));
    memo_->setReadOnly(true);
    auto* closeMessages = new QPushButton(tr("x"), messages_);
    closeMessages->setObjectName(QStringLiteral("BCloseMessages"));
    closeMessages->setFlat(true);
    connect(closeMessages, &QPushButton::clicked, messages_, &QWidget::hide);
    auto* messagesTitle = new QHBoxLayout;
    messagesTitle->addWidget(new QLabel(tr("Messages"), messages_), 1);
    messagesTitle->addWidget(closeMessages);
    auto* messagesLayout = new QVBoxLayout(messages_);
    messagesLayout->addLayout(messagesTitle);
    messagesLayout->addWidget(memo_);
    messages_->hide();

    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("Button1"));
    auto* modify = new QPushButton(tr("&Modify"), this);
    modify->setObjectName(QStringLiteral("Button2"));
    modify->setDefault(true);
    auto* helpButton = new QPushButton(tr("&Help"), this);
    helpButton->setObjectName(QStringLiteral("BitBtn1"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(modify, &QPushButton::clicked, this, &TFMassUpdateTag::Modify);
    connect(helpButton, &QPushButton::clicked, this,
            [this] { help_.ShowAnchor(QString::fromLatin1(kMassUpdateHelpAnchor)); });

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(tr("Select which field to modify"), this), 0, 0);
    top->addWidget(field_, 1, 0);
    top->addWidget(new QLabel(tr("New value"), this), 0, 1);
    auto* editors = new QHBoxLayout;
    editors->addWidget(newText_);
    editors->addWidget(newNumber_);
    top->addLayout(editors, 1, 1);
    top->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(progress_, 1);
    buttons->addStretch(0);
    buttons->addWidget(close);
    buttons->addWidget(modify);
    buttons->addWidget(helpButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(updateIfPossible_);
    layout->addWidget(sync_);
    layout->addWidget(new QLabel(tr("Files to update"), this));
    layout->addWidget(rows_, 3);
    layout->addWidget(messages_, 1);
    layout->addLayout(buttons);
    resize(640, 480);
}

void TFMassUpdateTag::BuildPopupMenu() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    removeRows_ = popup_->addAction(tr("Remove from update list (Del)"));
    removeRows_->setObjectName(QStringLiteral("RemoveFromUpdateList"));
    connect(removeRows_, &QAction::triggered, this, &TFMassUpdateTag::RemoveSelectedRows);
    popup_->addSeparator();
    QAction* cut = popup_->addAction(tr("Cut"));
    cut->setObjectName(QStringLiteral("Cut1"));
    cut->setEnabled(false);
    QAction* copy = popup_->addAction(tr("Copy"));
    copy->setObjectName(QStringLiteral("Copy1"));
    connect(copy, &QAction::triggered, this, &TFMassUpdateTag::CopySelectedRows);
    QAction* paste = popup_->addAction(tr("Paste"));
    paste->setObjectName(QStringLiteral("Paste1"));
    paste->setEnabled(false);
    connect(popup_, &QMenu::aboutToShow, this,
            [this] { removeRows_->setEnabled(!rows_->selectedItems().isEmpty()); });
    connect(rows_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(rows_->viewport()->mapToGlobal(at)); });
}

void TFMassUpdateTag::Load(catalog::IdList ids) {
    if (!update_) {
        update_ = std::make_unique<tags::TagMassUpdate>(app_.Catalog(), rules_, app_.User(),
                                                        app_.Registry(), app_.General());
    }
    update_->Load(std::move(ids));
    memo_->clear();
    messages_->hide();
    changed_ = false;
    FillRows();
}

bool TFMassUpdateTag::Run(catalog::IdList ids) {
    Load(std::move(ids));
    exec();
    return changed_;
}

std::optional<std::size_t> TFMassUpdateTag::SelectedField() const {
    const int position = field_->currentIndex();
    if (position <= 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(position - 1);
}

void TFMassUpdateTag::FieldChanged() {
    const auto field = SelectedField();
    const bool number = field && tags::MassUpdateFields()[*field].IsNumber();
    newText_->setVisible(!number);
    newNumber_->setVisible(number);
    if (number) {
        newNumber_->setRange(
            0, static_cast<int>(tags::LargestNumberOf(tags::MassUpdateFields()[*field])));
    }
    rows_->setHeaderLabels({field ? FromUtf8(tags::MassUpdateFields()[*field].caption)
                                  : FromUtf8(tags::kNoFieldHeading),
                            tr("File path")});
    rows_->SetNumericValues(number);
    FillRows();
}

void TFMassUpdateTag::FillRows() {
    rows_->clear();
    if (!update_) {
        return;
    }
    const auto field = SelectedField();
    rows_->setSortingEnabled(false);
    for (const catalog::TMainDataRecComplete& row : update_->Rows()) {
        const std::string value =
            field ? tags::CurrentValueOf(row, tags::MassUpdateFields()[*field].field) : "";
        rows_->AddRow(row.Id, FromUtf8(value),
                      FromUtf8(text::PathForDisplay(update_->DisplayPath(row))));
    }
    rows_->setSortingEnabled(true);
    rows_->header()->resizeSections(QHeaderView::ResizeToContents);
}

void TFMassUpdateTag::RemoveSelectedRows() {
    std::vector<std::int64_t> ids;
    for (const QTreeWidgetItem* item : rows_->selectedItems()) {
        ids.push_back(MassUpdateTree::IdOf(*item));
    }
    if (ids.empty() || !update_) {
        return;
    }
    update_->RemoveRows(ids);
    FillRows();
}

void TFMassUpdateTag::TakeValue(const QString& value) {
    const auto field = SelectedField();
    if (field && tags::MassUpdateFields()[*field].IsNumber()) {
        bool whole = false;
        const int number = value.toInt(&whole);
        if (whole) {
            newNumber_->setValue(number);
        }
    } else {
        newText_->setText(value);
    }
}

bool TFMassUpdateTag::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (IsValueDrag(drag->mimeData())) {
                drag->acceptProposedAction();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (IsValueDrag(drop->mimeData())) {
                TakeValue(QString::fromUtf8(drop->mimeData()->data(MassUpdateTree::kValueFormat)));
                drop->acceptProposedAction();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFMassUpdateTag::CopySelectedRows() {
    QStringList lines;
    for (const QTreeWidgetItem* item : rows_->selectedItems()) {
        lines << item->text(0) + QLatin1Char('\t') + item->text(1);
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void TFMassUpdateTag::AddMessage(const QString& line) {
    memo_->appendPlainText(line);
    messages_->show();
}

void TFMassUpdateTag::SaveSyncChoice() {
    app_.Registry().WriteRegInteger(kSyncValue, sync_->isChecked() ? 1 : 0);
}

void TFMassUpdateTag::Modify() {
    if (!update_) {
        return;
    }
    tags::MassUpdateObserver observer;
    observer.progressStarted = [this](int maximum) {
        progress_->setRange(0, maximum);
        progress_->setValue(0);
        progress_->show();
    };
    observer.progressed = [this](int position) { progress_->setValue(position); };
    observer.progressEnded = [this] { progress_->hide(); };
    observer.message = [this](const std::string& line) { AddMessage(FromUtf8(line)); };
    const tags::ModifyReport report =
        update_->Modify(SelectedField(), newText_->text().toStdString(), newNumber_->value(),
                        sync_->isChecked(), observer);
    changed_ = report.Changed() || changed_;
    FillRows();
}

}  // namespace sonarchive::gui
