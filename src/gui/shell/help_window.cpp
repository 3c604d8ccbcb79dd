#include "gui/shell/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <map>

namespace sonarchive::gui {
namespace {

constexpr const char* kManual = "qrc:/help/manual.html";
constexpr const char* kContents = "contents";

}  // namespace

QString HelpAnchor(int topic) {
    static const std::map<int, const char*> kAnchors = {
        {4, "organizer"},    {5, "adding"},      {6, "browse"},       {7, "search"},
        {9, "playlists"},    {11, "tag-editor"}, {18, "tag-editor"},  {19, "rename"},
        {20, "collections"}, {22, "formats"},    {23, "preferences"}, {33, "organizer"},
    };
    const auto found = kAnchors.find(topic);
    return QString::fromLatin1(found != kAnchors.end() ? found->second : kContents);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Sonarchive Help"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(720, 640);
}

void HelpWindow::ShowContents() {
    ShowAnchor(QString::fromLatin1(kContents));
}

void HelpWindow::ShowTopic(int topic) {
    ShowAnchor(HelpAnchor(topic));
}

void HelpWindow::ShowAnchor(const QString& anchor) {
    anchor_ = anchor;
    QUrl url(QString::fromLatin1(kManual));
    url.setFragment(anchor);
    browser_->setSource(url);
    show();
    raise();
    activateWindow();
}

}  // namespace sonarchive::gui
