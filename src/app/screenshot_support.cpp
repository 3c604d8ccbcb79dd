#include "screenshot_support.h"

#include <QApplication>
#include <QDialog>
#include <QTextStream>
#include <QTimer>
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

void ShootNextModal(const QDir& out, const QString& name, bool& saved,
                    const std::function<void(QDialog&)>& inside) {
    QTimer::singleShot(100, [&out, name, &saved, inside] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            QTextStream(stderr) << "no window came for " << name << "\n";
            saved = false;
            return;
        }
        saved = Save(*dialog, out, name) && saved;
        if (inside) {
            inside(*dialog);
        }
        dialog->reject();
    });
}

}  // namespace sonarchive::screenshots
