// The summary window and the export dialog, on catalog rows made by plain SQL.
#include "gui/reports/report_windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QPieSeries>
#include <nlohmann/json.hpp>

#include "gui/lists/search_window.h"
#include "gui/reports/export_dialog.h"
#include "gui/reports/pdf_writer.h"
#include "list_windows_fixture.h"

namespace sonarchive::testing {
namespace {

namespace codes = lists::codes;

class ReportWindowsTest : public ListWindowsTest {
protected:
    ~ReportWindowsTest() override { QLocale::setDefault(QLocale::c()); }

    gui::TFMain& StartWithReports() {
        gui::WindowProviders providers;
        gui::AddReportWindows(providers);
        return Start(std::move(providers));
    }

    template <typename Widget = QWidget>
    static Widget& Child(const QObject& parent, const char* name) {
        auto* child = parent.findChild<Widget*>(QString::fromLatin1(name));
        if (child == nullptr) {
            throw std::runtime_error(std::string("no child ") + name);
        }
        return *child;
    }
    static std::string TextOf(const QObject& parent, const char* name) {
        return Child<QLabel>(parent, name).text().toStdString();
    }
};

// ---- The summary window

class SummaryWindowTest : public ReportWindowsTest {
protected:
    QWidget& OpenSummary() {
        Main().OpenSingle(gui::ChildKind::Summary);
        QMdiSubWindow* window = Main().Children().FindOpen(gui::ChildKind::Summary);
        if (window == nullptr) {
            throw std::runtime_error("no summary window");
        }
        return *window->widget();
    }
    static void SelectNode(QWidget& summary, const QString& text) {
        auto& tree = Child<QTreeWidget>(summary, "TVSummary");
        const auto found = tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        tree.setCurrentItem(found.front());
    }
    static std::vector<std::string> Figures(const QWidget& summary) {
        std::vector<std::string> figures;
        for (const char* name : {"LFiles", "LDiskSize", "LDuration", "LMedia", "LAvgFileSize",
                                 "LAvgBitrate", "LAvgDuration", "LAvgSampleRate"}) {
            figures.push_back(TextOf(summary, name));
        }
        return figures;
    }
    static QChart& ChartOf(const QWidget& summary, const char* view) {
        return *Child<QChartView>(summary, view).chart();
    }
    static std::vector<std::string> PieSlices(const QWidget& summary) {
        std::vector<std::string> slices;
        for (QAbstractSeries* series : ChartOf(summary, "CVFormats").series()) {
            for (const QPieSlice* slice : static_cast<QPieSeries*>(series)->slices()) {
                slices.push_back(slice->label().toStdString() + "=" +
                                 std::to_string(static_cast<int>(slice->value())));
            }
        }
        return slices;
    }
    // The bars from the top down: "label=MB".
    static std::vector<std::string> Bars(const QWidget& summary) {
        std::vector<std::string> bars;
        QChart& chart = ChartOf(summary, "CVVolumes");
        if (chart.series().isEmpty()) {
            return bars;
        }
        auto* series = static_cast<QHorizontalBarSeries*>(chart.series().front());
        const auto axes = chart.axes(Qt::Vertical);
        const QStringList labels = static_cast<QBarCategoryAxis*>(axes.front())->categories();
        const QBarSet& set = *series->barSets().front();
        for (qsizetype i = labels.size() - 1; i >= 0; --i) {
            bars.push_back(labels[i].toStdString() + "=" + std::to_string(set.at(i)));
        }
        return bars;
    }
};

TEST_F(SummaryWindowTest, TheTreeListsEachKindOfMediumWithItsVolumesAndFillsPanelsAndCharts) {
    QLocale::setDefault(QLocale::c());
    StartWithReports();
    AddRow({{"dDriveSerialNumber", "'AAAA0001'"},
            {"dDriveLabel", "'DATA'"},
            {"dDriveType", "3"},
            {"dFileSize", "4567890"},
            {"dLength", "5400.4"},
            {"dMPEGBitrate", "128"}});
    AddRow({{"dPath", "'/b.mp3'"}, {"dFileSize", "2500"}, {"dLength", "200"}});
    AddRow({{"dPath", "'/c.wav'"},
            {"dFormat", "5"},
            {"dFileSize", "30000"},
            {"dMPEGBitrate", "16"},
            {"dMPEGFrequency", "48000"}});
    AddRow({{"dDriveSerialNumber", "'//nas'"},
            {"dDriveLabel", "''"},
            {"dDriveType", "4"},
            {"dPath", "'//nas/music/d.ogg'"},
            {"dFormat", "11"},
            {"dMPEGBitrate", "160"}});

    QWidget& summary = OpenSummary();
    EXPECT_EQ(summary.windowTitle(), "Summary");
    auto& tree = Child<QTreeWidget>(summary, "TVSummary");
    std::vector<std::string> nodes;
    for (int top = 0; top < tree.topLevelItemCount(); ++top) {
        const QTreeWidgetItem* item = tree.topLevelItem(top);
        EXPECT_FALSE(item->icon(0).isNull()) << item->text(0).toStdString();
        nodes.push_back(item->text(0).toStdString());
        for (int child = 0; child < item->childCount(); ++child) {
            EXPECT_FALSE(item->child(child)->icon(0).isNull());
            nodes.push_back("  " + item->child(child)->text(0).toStdString());
        }
    }
    EXPECT_EQ(nodes, (std::vector<std::string>{"Total", "Fixed drives", "  DATA (AAAA0001)",
                                               "Removable media", "  STICK (1A2B3C4D)", "Computers",
                                               "  nas"}));
    EXPECT_EQ(Child<QGroupBox>(summary, "GBTotalSizes").title(), "Total sizes");
    EXPECT_EQ(Child<QGroupBox>(summary, "GBAverage").title(), "Average");

    // The window opens on "Total".
    EXPECT_EQ(TextOf(summary, "LHeader"), "Total");
    EXPECT_EQ(Figures(summary)[0], "4");
    EXPECT_EQ(Figures(summary)[3], "3");
    EXPECT_EQ(PieSlices(summary),
              (std::vector<std::string>{"MP3 (2)=2", "WAV (1)=1", "Ogg Vorbis (1)=1"}));
    EXPECT_EQ(Bars(summary),
              (std::vector<std::string>{"DATA (AAAA0001)=4567.890000", "STICK (1A2B3C4D)=32.500000",
                                        "nas=3.000000"}));

    SelectNode(summary, "Fixed drives");
    EXPECT_EQ(TextOf(summary, "LHeader"), "Fixed drives");
    EXPECT_EQ(Figures(summary),
              (std::vector<std::string>{"1", "4567 MB", "1.5 hours", "1", "4567890 KB", "128",
                                        "5400 seconds", "44100 Hertz"}));

    // Only the MP3 and Ogg Vorbis rows have a bit rate to average.
    SelectNode(summary, "STICK (1A2B3C4D)");
    EXPECT_EQ(Figures(summary)[0], "2");
    EXPECT_EQ(Figures(summary)[5], "192");
    EXPECT_EQ(PieSlices(summary), (std::vector<std::string>{"MP3 (1)=1", "WAV (1)=1"}));

    SelectNode(summary, "nas");
    EXPECT_EQ(Figures(summary)[0], "1");
    EXPECT_EQ(Bars(summary), (std::vector<std::string>{"nas=3.000000"}));

    // The user's decimal separator.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SelectNode(summary, "DATA (AAAA0001)");
    EXPECT_EQ(Figures(summary)[2], "1,5 hours");

    tree.setCurrentItem(nullptr);
    EXPECT_EQ(TextOf(summary, "LHeader"), "");
    EXPECT_EQ(Figures(summary)[0], "");
    EXPECT_TRUE(PieSlices(summary).empty());
}

TEST_F(SummaryWindowTest, AKindWithoutFilesShowsZerosAndTheBarsKeepTheTwelveLargestVolumes) {
    StartWithReports();
    for (int volume = 1; volume <= 14; ++volume) {
        AddRow({{"dDriveSerialNumber", Q("0000000" + std::string(1, "0123456789ABCDEF"[volume]))},
                {"dDriveLabel", Q("V" + std::to_string(volume))},
                {"dDriveType", "3"},
                {"dFileSize", std::to_string(volume * 1000)}});
    }
    QWidget& summary = OpenSummary();
    const std::vector<std::string> bars = Bars(summary);
    ASSERT_EQ(bars.size(), 13u);
    EXPECT_EQ(bars.front(), "V14 (0000000E)=14.000000");
    EXPECT_EQ(bars[11], "V3 (00000003)=3.000000");
    EXPECT_EQ(bars.back(), "Others=3.000000");

    SelectNode(summary, "Removable media");
    EXPECT_EQ(Figures(summary), (std::vector<std::string>{"0", "0 MB", "0.0 hours", "0", "0 KB",
                                                          "0", "0 seconds", "0 Hertz"}));
    EXPECT_TRUE(PieSlices(summary).empty());
    EXPECT_TRUE(Bars(summary).empty());
}

// ---- The export dialog

class ExportDialogTest : public ReportWindowsTest {
protected:
    // Three rows listed with the columns Artist, Title, Date added and Year.
    gui::TFSearch& ListThreeRows() {
        StartWithReports();
        AddRow({{"dArtist", "'Ann'"}, {"dTitle", "'Blue, Sky'"}, {"dYear", "2003"}});
        AddRow({{"dArtist", "'Bob'"},
                {"dTitle", "'Rain'"},
                {"dYear", "1999"},
                {"dDateAdded", "'2010-12-24'"}});
        AddRow({{"dArtist", "'Cleo'"}, {"dTitle", "'Fjord'"}, {"dYear", "2011"}});
        gui::TFSearch& search = Open<gui::TFSearch>(gui::ChildKind::Search);
        search.List().Fill(catalog::StandardSelectAll());
        ShowOnly(search, {codes::Artist, codes::Title, codes::Year, codes::DateAdded});
        return search;
    }
    static void ShowOnly(gui::TFSearch& search, const std::vector<int>& shown) {
        gui::TResultList& list = search.List();
        for (int section = 0; section < static_cast<int>(list.Columns().size()); ++section) {
            const int code = list.Columns()[static_cast<std::size_t>(section)].Code();
            list.SetColumnVisible(section,
                                  std::find(shown.begin(), shown.end(), code) != shown.end());
        }
    }
    static QComboBox& Format(gui::TFExport& dialog) { return Child<QComboBox>(dialog, "CBFormat"); }
    static void ChooseFormat(gui::TFExport& dialog, const QString& caption) {
        const int index = Format(dialog).findText(caption);
        ASSERT_GE(index, 0) << caption.toStdString();
        Format(dialog).setCurrentIndex(index);
    }
    static QString FileName(gui::TFExport& dialog) {
        return Child<QLineEdit>(dialog, "EFileName").text();
    }
    static bool Enabled(gui::TFExport& dialog, const char* name) {
        return Child(dialog, name).isEnabled();
    }
    static QListWidget& Columns(gui::TFExport& dialog) {
        return Child<QListWidget>(dialog, "LBColumns");
    }
    static void Tick(gui::TFExport& dialog, const QString& caption, bool ticked) {
        const auto found = Columns(dialog).findItems(caption, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        found.front()->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    static void Click(gui::TFExport& dialog, const char* button) {
        Child<QPushButton>(dialog, button).click();
    }
    // The file dialogs answer with this file.
    static void AnswerFileDialogs(gui::TFExport& dialog, const std::string& file) {
        dialog.SetFileChooser(
            [file](const QString&, const QString&, bool) { return QString::fromStdString(file); });
    }
};

TEST_F(ExportDialogTest, CaptionsDefaultsAndTheFileNameFollowingTheFormatUntilEdited) {
    gui::TFSearch& search = ListThreeRows();
    gui::TFExport dialog(h.user, search, false);
    EXPECT_EQ(dialog.windowTitle(), "Export");
    EXPECT_EQ(TextOf(dialog, "LRows"), "Rows to export: 3");
    EXPECT_EQ(Child<QPushButton>(dialog, "BLoadProfile").text(), "Load specification...");
    EXPECT_EQ(Child<QPushButton>(dialog, "BSaveProfile").text(), "Save specification...");
    EXPECT_EQ(Child<QPushButton>(dialog, "BClipboard").text(), "Clipboard");
    EXPECT_EQ(Child<QPushButton>(dialog, "BCancel").text(), "Cancel");
    EXPECT_EQ(Format(dialog).currentText(), "Text, tab-separated (*.txt)");
    EXPECT_EQ(Format(dialog).count(), 9);
    EXPECT_EQ(Child<QLineEdit>(dialog, "ETableName").text(), "MyAudioFilesTable");
    EXPECT_TRUE(Child<QCheckBox>(dialog, "CBTitleRow").isChecked());
    EXPECT_EQ(Child<QCheckBox>(dialog, "CBFooter").text(),
              "&Footer line \"Generated by Sonarchive\"");
    EXPECT_TRUE(Child<QCheckBox>(dialog, "CBFooter").isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "CBDigitGrouping").isChecked());
    // The list's visible columns in the order shown, each ticked.
    EXPECT_EQ(dialog.Profile().columns,
              (std::vector<std::string>{"Artist", "Title", "Date added", "Year"}));

    EXPECT_TRUE(FileName(dialog).endsWith("/MyAudioFiles.txt")) << FileName(dialog).toStdString();
    ChooseFormat(dialog, "Text, comma-separated (*.csv)");
    EXPECT_TRUE(FileName(dialog).endsWith("/MyAudioFiles.csv"));
    // A footer would be a malformed record in CSV.
    EXPECT_FALSE(Child<QCheckBox>(dialog, "CBFooter").isChecked());
    ChooseFormat(dialog, "Excel spreadsheet (*.xlsx)");
    EXPECT_TRUE(FileName(dialog).endsWith("/MyAudioFiles.xlsx"));
    EXPECT_TRUE(Child<QCheckBox>(dialog, "CBFooter").isChecked());

    auto& file = Child<QLineEdit>(dialog, "EFileName");
    file.clear();
    QTest::keyClicks(&file, "/tmp/mine.xlsx");
    ChooseFormat(dialog, "PDF document (*.pdf)");
    EXPECT_EQ(FileName(dialog), "/tmp/mine.xlsx");
    // A footer the user unticked stays unticked whatever the format.
    Child<QCheckBox>(dialog, "CBFooter").click();
    ChooseFormat(dialog, "HTML page (*.html)");
    EXPECT_FALSE(Child<QCheckBox>(dialog, "CBFooter").isChecked());
}

TEST_F(ExportDialogTest, OptionsAFormatDoesNotReadAreGreyedAndExportNeedsAFileAndAColumn) {
    gui::TFSearch& search = ListThreeRows();
    gui::TFExport dialog(h.user, search, false);
    // Tab text: no table name.
    EXPECT_TRUE(Enabled(dialog, "CBTitleRow"));
    EXPECT_TRUE(Enabled(dialog, "CBDigitGrouping"));
    EXPECT_FALSE(Enabled(dialog, "ETableName"));
    ChooseFormat(dialog, "JSON (*.json)");
    EXPECT_FALSE(Enabled(dialog, "CBTitleRow"));
    EXPECT_FALSE(Enabled(dialog, "CBFooter"));
    EXPECT_FALSE(Enabled(dialog, "CBDigitGrouping"));
    EXPECT_FALSE(Enabled(dialog, "ETableName"));
    ChooseFormat(dialog, "SQL statements (*.sql)");
    EXPECT_TRUE(Enabled(dialog, "ETableName"));
    EXPECT_TRUE(Enabled(dialog, "CBFooter"));
    EXPECT_FALSE(Enabled(dialog, "CBDigitGrouping"));

    // Up and Down follow the current column.
    EXPECT_FALSE(Enabled(dialog, "BColumnUp"));
    EXPECT_FALSE(Enabled(dialog, "BColumnDown"));
    Columns(dialog).setCurrentRow(0);
    EXPECT_FALSE(Enabled(dialog, "BColumnUp"));
    EXPECT_TRUE(Enabled(dialog, "BColumnDown"));
    Columns(dialog).setCurrentRow(3);
    EXPECT_TRUE(Enabled(dialog, "BColumnUp"));
    EXPECT_FALSE(Enabled(dialog, "BColumnDown"));

    EXPECT_TRUE(Enabled(dialog, "BExport"));
    for (const char* caption : {"Artist", "Title", "Year", "Date added"}) {
        Tick(dialog, caption, false);
    }
    EXPECT_FALSE(Enabled(dialog, "BExport"));
    EXPECT_FALSE(Enabled(dialog, "BClipboard"));
    Tick(dialog, "Year", true);
    EXPECT_TRUE(Enabled(dialog, "BClipboard"));
    auto& file = Child<QLineEdit>(dialog, "EFileName");
    file.selectAll();
    QTest::keyClick(&file, Qt::Key_Delete);
    EXPECT_FALSE(Enabled(dialog, "BExport"));
}

TEST_F(ExportDialogTest, AProfileSavedThenLoadedAfterAColumnWasHiddenExportsTheRest) {
    gui::TFSearch& search = ListThreeRows();
    const std::string profileFile = h.dir / "my export.json";
    const std::string out = h.dir / "out.csv";
    {
        gui::TFExport dialog(h.user, search, false);
        ChooseFormat(dialog, "Text, comma-separated (*.csv)");
        auto& file = Child<QLineEdit>(dialog, "EFileName");
        file.clear();
        QTest::keyClicks(&file, QString::fromStdString(out));
        Columns(dialog).setCurrentRow(1);
        Click(dialog, "BColumnUp");  // Title before Artist
        Tick(dialog, "Year", false);
        AnswerFileDialogs(dialog, profileFile);
        Click(dialog, "BSaveProfile");
    }
    const nlohmann::json saved = nlohmann::json::parse(ReadBytes(profileFile));
    EXPECT_EQ(saved["format"], "csv");
    EXPECT_EQ(saved["file"], out);
    EXPECT_EQ(saved["columns"], (nlohmann::json{"Title", "Artist", "Date added"}));

    ShowOnly(search, {codes::Title, codes::Year, codes::DateAdded});
    gui::TFExport dialog(h.user, search, false);
    AnswerFileDialogs(dialog, profileFile);
    Click(dialog, "BLoadProfile");
    EXPECT_EQ(Format(dialog).currentText(), "Text, comma-separated (*.csv)");
    EXPECT_EQ(FileName(dialog).toStdString(), out);
    // Artist is not in the list any more; Year was not chosen.
    EXPECT_EQ(dialog.Profile().columns, (std::vector<std::string>{"Title", "Date added"}));
    EXPECT_EQ(Columns(dialog).item(2)->text(), "Year");
    EXPECT_EQ(Columns(dialog).item(2)->checkState(), Qt::Unchecked);

    Click(dialog, "BExport");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ReadBytes(out),
              "Title,Date added\r\n"
              "\"Blue, Sky\",01.05.2004\r\n"
              "Rain,24.12.2010\r\n"
              "Fjord,01.05.2004\r\n");
    EXPECT_TRUE(h.user.Texts("error").empty());
}

TEST_F(ExportDialogTest, TheClipboardGetsTabTextOfTheSelectedRowsOnly) {
    gui::TFSearch& search = ListThreeRows();
    Select(search.List(), {2, 0});
    gui::TFExport dialog(h.user, search, true);
    EXPECT_EQ(TextOf(dialog, "LRows"), "Rows to export: 2");
    Tick(dialog, "Date added", false);
    Click(dialog, "BClipboard");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Artist\tTitle\tYear\r\n"
              "Ann\tBlue, Sky\t2003\r\n"
              "Cleo\tFjord\t2011\r\n"
              "Generated by Sonarchive\r\n");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // copying leaves the dialog open

    // No row selected: an empty table, the dialog still opens.
    search.List().clearSelection();
    gui::TFExport empty(h.user, search, true);
    EXPECT_EQ(TextOf(empty, "LRows"), "Rows to export: 0");
    Click(empty, "BClipboard");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Artist\tTitle\tDate added\tYear\r\nGenerated by Sonarchive\r\n");
}

TEST_F(ExportDialogTest, FailedExportsAndProfilesAreToldAndKeepWhatWasThere) {
    gui::TFSearch& search = ListThreeRows();
    gui::TFExport dialog(h.user, search, false);
    auto& file = Child<QLineEdit>(dialog, "EFileName");

    const std::string missing = h.dir / "no/such/folder/x.txt";
    file.setText(QString::fromStdString(missing));
    EXPECT_FALSE(dialog.ExportToFile());
    EXPECT_EQ(
        h.user.Texts("error"),
        (std::vector<std::string>{"There was a problem writing to the file (" + missing + ") "}));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // A file that is there is replaced only when the user says so.
    const std::string existing = h.dir / "there.txt";
    WriteBytes(existing, "keep me");
    file.setText(QString::fromStdString(existing));
    h.user.AnswerNo();
    EXPECT_FALSE(dialog.ExportToFile());
    EXPECT_EQ(h.user.Texts("question"),
              (std::vector<std::string>{"The file (" + existing +
                                        ") already exists. Do you want to replace it?"}));
    EXPECT_EQ(ReadBytes(existing), "keep me");
    h.user.AnswerYes();
    EXPECT_TRUE(dialog.ExportToFile());
    EXPECT_EQ(ReadBytes(existing).substr(0, 30), "Artist\tTitle\tDate added\tYear\r\n");

    // A profile that is no profile changes nothing.
    gui::TFExport other(h.user, search, false);
    const std::string bad = h.dir / "bad.json";
    WriteBytes(bad, "{\"format\": \"dbase\"}");
    const QString before = FileName(other);
    EXPECT_FALSE(other.LoadProfileFrom(bad));
    EXPECT_EQ(h.user.Texts("error").back().rfind(
                  "Couldn't read the export specification " + bad + ": ", 0),
              0u);
    EXPECT_EQ(FileName(other), before);
    EXPECT_FALSE(other.SaveProfileTo(h.dir / "no/such/columns.json"));
    EXPECT_EQ(h.user.Texts("error").back(), "There was a problem writing to the file (" +
                                                (h.dir / "no/such/columns.json") + ") ");
}

TEST_F(ExportDialogTest, APdfHoldsTheTableAndTheFooter) {
    if (!HaveProgram("pdftotext")) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    gui::TFSearch& search = ListThreeRows();
    gui::TFExport dialog(h.user, search, false);
    ChooseFormat(dialog, "PDF document (*.pdf)");
    const std::string pdf = h.dir / "list.pdf";
    Child<QLineEdit>(dialog, "EFileName").setText(QString::fromStdString(pdf));
    ASSERT_TRUE(dialog.ExportToFile());
    EXPECT_EQ(ReadBytes(pdf).substr(0, 5), "%PDF-");
    const CommandResult text = RunCommand("pdftotext -layout " + ShellQuote(pdf) + " -");
    ASSERT_EQ(text.exitCode, 0) << text.output;
    for (const char* expected : {"Artist", "Date added", "Blue, Sky", "Cleo", "2011", "24.12.2010",
                                 "Generated by Sonarchive"}) {
        EXPECT_NE(text.output.find(expected), std::string::npos) << expected << "\n" << text.output;
    }
}

// Rows "r0000x", "r0001x", ... under one text column.
class NumberedRows : public reports::ReportSource {
public:
    explicit NumberedRows(std::size_t count) : count_(count) {}
    std::size_t ColumnCount() const override { return 1; }
    std::string Caption(std::size_t) const override { return "Entry"; }
    reports::ColumnSort SortOf(std::size_t) const override { return reports::ColumnSort::Text; }
    std::size_t RowCount() const override { return count_; }
    std::string Text(std::size_t row, std::size_t) const override {
        char text[16];
        std::snprintf(text, sizeof text, "r%04zux", row);
        return text;
    }
    std::optional<double> DateValue(std::size_t, std::size_t) const override { return {}; }

private:
    std::size_t count_;
};

std::size_t Occurrences(const std::string& text, const std::string& word) {
    std::size_t count = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        ++count;
    }
    return count;
}

TEST(PdfWriter, EveryRowLandsOnExactlyOnePageUnderTheTitleRowOfEachPage) {
    if (!HaveProgram("pdftotext")) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    TempDir dir;
    const NumberedRows source(250);
    const std::string pdf = dir / "rows.pdf";
    ASSERT_EQ(gui::WritePdf(reports::ReportTable::AllRows(source), {}, pdf), 0);
    const CommandResult text = RunCommand("pdftotext " + ShellQuote(pdf) + " -");
    ASSERT_EQ(text.exitCode, 0) << text.output;
    const std::size_t pages = Occurrences(text.output, "\f");
    EXPECT_GE(pages, 3u);
    EXPECT_EQ(Occurrences(text.output, "Entry"), pages);
    for (std::size_t row = 0; row < source.RowCount(); ++row) {
        ASSERT_EQ(Occurrences(text.output, source.Text(row, 0)), 1u) << source.Text(row, 0);
    }
    EXPECT_EQ(Occurrences(text.output, "Generated by Sonarchive"), 1u);
    EXPECT_GT(text.output.find("Generated by Sonarchive"), text.output.find("r0249x"));

    // No rows: the title row and the footer on one page.
    ASSERT_EQ(gui::WritePdf(reports::ReportTable::AllRows(NumberedRows(0)), {}, pdf), 0);
    const CommandResult empty = RunCommand("pdftotext " + ShellQuote(pdf) + " -");
    EXPECT_EQ(Occurrences(empty.output, "\f"), 1u);
    EXPECT_EQ(Occurrences(empty.output, "Entry"), 1u);
    EXPECT_EQ(gui::WritePdf(reports::ReportTable::AllRows(source), {}, dir / "no/such/x.pdf"),
              ENOENT);
}

TEST_F(ExportDialogTest, TheListsExportCommandOpensTheDialogAndCancelAsksNothing) {
    gui::TFSearch& search = ListThreeRows();
    ModalAnswerer cancel{QStringLiteral("BCancel")};
    search.ExportRows(false);
    EXPECT_TRUE(cancel.Answered());
    EXPECT_EQ(cancel.SeenTitle(), "Export");
    EXPECT_TRUE(h.user.Texts("question").empty());
    EXPECT_FALSE(std::filesystem::exists(h.dir / "MyAudioFiles.txt"));
}

}  // namespace
}  // namespace sonarchive::testing
