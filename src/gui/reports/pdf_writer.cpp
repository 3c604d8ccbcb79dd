#include "gui/reports/pdf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

#include "collections/file_replacement.h"
#include "reports/value_text.h"
#include "text/text.h"

namespace sonarchive::gui {
namespace {

using reports::FieldType;

// Beyond this many columns a portrait page leaves each too narrow to read.
constexpr std::size_t kPortraitColumns = 5;
// What a first page is tried with, before the rows' real height is known.
constexpr std::size_t kFirstGuess = 60;
// Text columns wider than this many characters share the page like this wide.
constexpr std::size_t kWidestColumn = 40;

// Each column's share of the page, from the characters it needs, so that every page has the
// same columns.
QList<QTextLength> ColumnWidths(const reports::ReportTable& table) {
    std::vector<double> widths;
    double total = 0;
    for (const reports::ReportField& field : table.Fields()) {
        const std::size_t values = field.type == FieldType::Text ? field.width : 10;
        const double width = static_cast<double>(
            std::max(text::CodePointCount(field.name), std::min(values, kWidestColumn)));
        widths.push_back(width);
        total += width;
    }
    QList<QTextLength> lengths;
    for (const double width : widths) {
        lengths.append(QTextLength(QTextLength::PercentageLength, 100 * width / total));
    }
    return lengths;
}

// Lays the table out one page at a time: a table as large as Qt's text engine would have to
// lay out for a long list takes it minutes, while a page's worth of rows takes a moment.
class PdfPages {
public:
    PdfPages(QPdfWriter& writer, const reports::ReportTable& table,
             const reports::ExportOptions& options)
        : writer_(writer),
          table_(table),
          options_(options),
          page_(writer.pageLayout().paintRectPixels(writer.resolution())),
          widths_(ColumnWidths(table)) {}

    void Write() {
        QPainter painter(&writer_);
        std::size_t first = 0;
        std::size_t guess = kFirstGuess;
        do {
            if (first > 0) {
                writer_.newPage();
            }
            std::size_t count = std::min(guess, table_.RecordCount() - first);
            auto document = Page(first, count);
            // Fewer rows until they fit; a single row taller than a page is cut off.
            while (document->size().height() > page_.height() && count > 1) {
                count = std::max<std::size_t>(
                    1, static_cast<std::size_t>(static_cast<double>(count) * page_.height() /
                                                document->size().height()));
                document = Page(first, count);
            }
            if (first == 0 && count > 0) {
                // The rows of the first page tell how many the next ones take.
                guess = std::max<std::size_t>(
                    1, static_cast<std::size_t>(static_cast<double>(count) * page_.height() /
                                                document->size().height() * 0.97));
            }
            document->drawContents(&painter, QRectF(0, 0, page_.width(), page_.height()));
            first += count;
        } while (first < table_.RecordCount());
    }

private:
    // A document with the title row and `count` records from `first`, and the footer when they
    // are the last.
    std::unique_ptr<QTextDocument> Page(std::size_t first, std::size_t count) const {
        auto document = std::make_unique<QTextDocument>();
        document->setDocumentMargin(0);
        QFont font = document->defaultFont();
        font.setPointSizeF(8);
        document->setDefaultFont(font);

        // Filled in one edit block, so the rows are laid out once and not after every cell.
        QTextCursor cursor(document.get());
        cursor.beginEditBlock();
        const int columns = static_cast<int>(table_.Fields().size());
        const int titleRows = options_.titleRow ? 1 : 0;
        if (columns > 0) {
            QTextTableFormat format;
            format.setBorder(1);
            format.setBorderCollapse(true);
            format.setCellPadding(2);
            format.setCellSpacing(0);
            format.setHeaderRowCount(titleRows);
            format.setColumnWidthConstraints(widths_);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            QTextTable* grid =
                cursor.insertTable(static_cast<int>(count) + titleRows, columns, format);
            if (options_.titleRow) {
                FillTitleRow(*grid);
            }
            for (std::size_t r = 0; r < count; ++r) {
                FillRecord(*grid, static_cast<int>(r) + titleRows, first + r);
            }
            cursor.movePosition(QTextCursor::End);
        }
        if (options_.footer && first + count >= table_.RecordCount()) {
            cursor.insertBlock();
            cursor.insertText(QString::fromLatin1(reports::kFooterText));
        }
        cursor.endEditBlock();
        document->documentLayout()->setPaintDevice(&writer_);
        document->setTextWidth(page_.width());
        return document;
    }

    void FillTitleRow(QTextTable& grid) const {
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        for (int f = 0; f < grid.columns(); ++f) {
            QTextTableCell cell = grid.cellAt(0, f);
            QTextTableCellFormat shade = cell.format().toTableCellFormat();
            shade.setBackground(QColor(0xee, 0xee, 0xee));
            cell.setFormat(shade);
            cell.firstCursorPosition().insertText(
                QString::fromStdString(table_.Fields()[static_cast<std::size_t>(f)].name), bold);
        }
    }

    void FillRecord(QTextTable& grid, int row, std::size_t record) const {
        const auto& fields = table_.Fields();
        for (std::size_t f = 0; f < fields.size(); ++f) {
            QTextCursor cell = grid.cellAt(row, static_cast<int>(f)).firstCursorPosition();
            if (reports::IsNumeric(fields[f].type)) {
                QTextBlockFormat right = cell.blockFormat();
                right.setAlignment(Qt::AlignRight);
                cell.setBlockFormat(right);
            }
            cell.insertText(QString::fromStdString(reports::ReadableText(
                table_.Value(record, f), fields[f].type, options_.digitGrouping)));
        }
    }

    QPdfWriter& writer_;
    const reports::ReportTable& table_;
    const reports::ExportOptions& options_;
    const QRectF page_;
    const QList<QTextLength> widths_;
};

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
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4),
            table.Fields().size() > kPortraitColumns ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait,
            QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        PdfPages(writer, table, options).Write();
    }
    if (bytes.isEmpty()) {
        return EIO;
    }
    replacement.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return replacement.Commit();
}

}  // namespace sonarchive::gui
