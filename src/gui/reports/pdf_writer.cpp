#include "gui/reports/pdf_writer.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>

#include "collections/file_replacement.h"

namespace sonarchive::gui {
namespace {

// Beyond this many columns a portrait page leaves each too narrow to read.
constexpr std::size_t kPortraitColumns = 5;

}  // namespace

int WritePdf(const reports::ReportTable& table, const reports::ExportOptions& options,
             const std::string& file) {
    collections::FileReplacement replacement(file);
    if (replacement.Error() != 0) {
        return replacement.Error();
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromStdString(options.tableName));
        writer.setCreator(QStringLiteral("Sonarchive"));
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4),
            table.Fields().size() > kPortraitColumns ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait,
            QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));

        QTextDocument document;
        document.setHtml(QString::fromStdString(
            reports::ExportToText(table, reports::ExportFormat::Html, options)));
        document.print(&writer);
    }
    if (bytes.isEmpty()) {
        return EIO;
    }
    replacement.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return replacement.Commit();
}

}  // namespace sonarchive::gui
