#include "gui/cataloguing/validate_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/cataloguing/check_files_window.h"
#include "gui/cataloguing/window_progress.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "gui/shell/named_widgets.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kCheckValues[] = {"CHECK_FIXED_DRIVES", "CHECK_NETWORK_COMPUTERS",
                                        "CHECK_INDIVIDUAL_FILES"};

}  // namespace

// The test of the individual files shows its own progress window, with the check window
// disabled meanwhile; everything else reaches the user as usual.
class TfValidate::CheckInteraction : public WindowProgress {
public:
    CheckInteraction(Interaction& user, TfValidate& window)
        : WindowProgress(user, window.fileProgress_->Bar(), window.fileProgress_->Cancelled()),
          window_(window) {}

    void BeginNotice(const std::string& text) override {
        window_.setEnabled(false);
        window_.fileProgress_->Begin(QString::fromStdString(text));
    }
    void EndNotice() override {
        window_.fileProgress_->Finish();
        window_.setEnabled(true);
        window_.activateWindow();
    }
    void SetCounterText(const std::string& text) override {
        window_.fileProgress_->SetCount(QString::fromStdString(text));
    }

private:
    TfValidate& window_;
};

TfValidate::TfValidate(TFMain& main) : QDialog(&main), main_(main) {
    setObjectName(QStringLiteral("fValidate"));
    setWindowTitle(tr("Check archive"));
    fixed_ = NamedCheckBox(tr("Remove references to files where fixed drives no longer exists"),
                           "PCheckFixed", this);
    fixed_->setChecked(true);
    network_ = NamedCheckBox(tr("Remove references where files are seated on a network and the "
                                "computer referenced is not accessible"),
                             "PCheckNetwork", this);
    individual_ = NamedCheckBox(tr("Remove files where media is present, but file no longer exists "
                                   "(slow routine, because it checks individual files)"),
                                "PCheckIndividual", this);
    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("Memo1"));
    log_->setReadOnly(true);
    log_->setMinimumSize(480, 200);
    auto* check = new QPushButton(tr("&Check archive"), this);
    check->setObjectName(QStringLiteral("Button2"));
    check->setDefault(true);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("Button1"));
    connect(check, &QPushButton::clicked, this, &TfValidate::RunChecks);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    // Not a child of this window: disabling this one while the files are tested would
    // disable its cancel button too.
    fileProgress_ = new TFCheckIndividualFiles(&main);

    auto* buttons = ButtonRow({check, close});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fixed_);
    layout->addWidget(network_);
    layout->addWidget(individual_);
    layout->addWidget(log_, 1);
    layout->addLayout(buttons);
}

TfValidate& TfValidate::Of(TFMain& main) {
    if (auto* open = main.findChild<TfValidate*>(QString(), Qt::FindDirectChildrenOnly)) {
        return *open;
    }
    return *new TfValidate(main);
}

cataloguing::CheckOptions TfValidate::Options() const {
    return {fixed_->isChecked(), network_->isChecked(), individual_->isChecked()};
}

void TfValidate::showEvent(QShowEvent* event) {
    LoadChoices();
    QDialog::showEvent(event);
}

void TfValidate::done(int result) {
    if (running_) {
        return;
    }
    SaveChoices();
    QDialog::done(result);
}

void TfValidate::LoadChoices() {
    QCheckBox* const boxes[] = {fixed_, network_, individual_};
    for (std::size_t i = 0; i < std::size(boxes); ++i) {
        const std::int64_t value = main_.App().Registry().ReadRegInteger(kCheckValues[i]);
        if (value < 0) {
            return;  // this one and the ones after it keep their state
        }
        boxes[i]->setChecked(value == 1);
    }
}

void TfValidate::SaveChoices() {
    const auto flag = [](const QCheckBox* box) { return std::int64_t{box->isChecked() ? 1 : 0}; };
    main_.App().Registry().WriteValues({{kCheckValues[0], flag(fixed_)},
                                        {kCheckValues[1], flag(network_)},
                                        {kCheckValues[2], flag(individual_)}},
                                       "Couldn't write to registry (Validity check).");
}

void TfValidate::Log(const std::string& line) {
    log_->appendPlainText(QString::fromStdString(line));
}

void TfValidate::RunChecks() {
    if (running_) {
        return;
    }
    running_ = true;
    main_.Run([this] {
        AppContext& app = main_.App();
        CheckInteraction user(app.User(), *this);
        cataloguing::ArchiveCheck check(app.Catalog(), main_.Drives().PathRules(), user,
                                        [this](const std::string& line) { Log(line); });
        check.Run(Options(), main_.Drives().LocalDrives(), main_.Drives().Hosts().Hosts());
    });
    running_ = false;
}

}  // namespace sonarchive::gui
