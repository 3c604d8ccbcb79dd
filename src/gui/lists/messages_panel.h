// The messages panel of a list window: lines about files that could not be added or deleted.
// It stays hidden until the first line arrives; its close button hides it again.
#pragma once

#include <QFrame>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace sonarchive::gui {

class MessagesPanel : public QFrame {
    Q_OBJECT
public:
    explicit MessagesPanel(QWidget* parent = nullptr);

    void AppendLine(const std::string& line);
    void AppendLines(const std::vector<std::string>& lines);
    // Empties the panel and hides it.
    void Clear();
    // Every line shown so far, in order.
    QStringList Lines() const;

private:
    QPlainTextEdit* memo_;
};

}  // namespace sonarchive::gui
