// Pictures of "Check archive" after a run, its file-test window, and "Re-read tags".
#include <QCheckBox>
#include <QProgressBar>

#include "gui/cataloguing/check_files_window.h"
#include "gui/cataloguing/reread_window.h"
#include "gui/cataloguing/validate_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "screenshot_support.h"

namespace sonarchive::screenshots {

bool ShootCataloguingWindows(gui::Program& program, const QDir& out) {
    gui::TfValidate& validate = gui::TfValidate::Of(program.Main());
    validate.show();
    validate.RunChecks();  // the demonstration catalog has no fixed-drive rows: nothing is asked
    bool saved = Save(validate, out, QStringLiteral("check-archive"));

    gui::TFCheckIndividualFiles& files = validate.FileProgress();
    files.Begin(QStringLiteral("Checking individual files"));
    files.SetCount(QStringLiteral("Files found: 3"));
    files.Bar().setRange(0, 8);
    files.Bar().setValue(5);
    files.adjustSize();
    saved = Save(files, out, QStringLiteral("checking-individual-files")) && saved;
    files.Finish();
    validate.hide();

    gui::TfReRead reread(program.Main());
    reread.show();
    saved = Save(reread, out, QStringLiteral("reread-tags")) && saved;
    return saved;
}

}  // namespace sonarchive::screenshots
