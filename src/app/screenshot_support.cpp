#include "screenshot_support.h"

#include <QApplication>
#include <QTextStream>
#include <QWidget>

namespace sonarchive::screenshots {

bool Save(QWidget& window, const QDir& dir, const QString& name) {
    QApplication::processEvents();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path)) {
        QTextStream(stderr) << "cannot write " << path << "\n";
        return false;
    }
    QTextStream(stdout) << path << "\n";
    return true;
}

}  // namespace sonarchive::screenshots
