// The program's manual: a bundled HTML page shown in a window of its own. Help topic numbers
// (the "&Help" buttons pass them) lead to anchors in the page.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace sonarchive::gui {

// The anchor of a help topic; the contents for an unknown topic.
QString HelpAnchor(int topic);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void ShowContents();
    void ShowTopic(int topic);
    // A section of the manual by its anchor, for windows that have no topic number.
    void ShowAnchor(const QString& anchor);
    // The anchor shown last ("contents" for the start of the manual).
    QString CurrentAnchor() const { return anchor_; }

private:
    QTextBrowser* browser_;
    QString anchor_;
};

}  // namespace sonarchive::gui
