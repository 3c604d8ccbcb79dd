// A running program with the list windows, a fake mount table and catalog rows made by plain
// SQL, for the tests of the result lists and the browse and search windows.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/sql_text.h"
#include "format_bytes.h"
#include "formats/id3v2.h"
#include "gui/lists/list_windows.h"
#include "gui/lists/result_list.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"
#include "lists/result_columns.h"

namespace sonarchive::testing {

// The columns of one catalog row; each value is an SQL literal (texts with their quotes).
using RowValues = std::map<std::string, std::string>;

// A text as an SQL literal.
inline std::string Q(const std::string& text) {
    return "'" + catalog::SqlQuote(text) + "'";
}

class ListWindowsTest : public ::testing::Test {
protected:
    static constexpr const char* kStickSerial = "1A2B3C4D";
    static constexpr const char* kGoneSerial = "99998888";

    ListWindowsTest() { h.mounts->Add("/media/STICK", kStickSerial, "Removable", "STICK"); }

    // Starts the program with the list windows and the hand-overs the test gives.
    gui::TFMain& Start(gui::WindowProviders providers = {}) {
        gui::AddListWindows(providers);
        gui::Program& program = h.Make(std::move(providers));
        program.Start();
        return program.Main();
    }
    gui::TFMain& Main() { return h.Get().Main(); }
    catalog::Database& Db() { return Main().App().Catalog().Engine(); }

    // Inserts a row (an MP3 file on the stick unless the values say otherwise); its id.
    std::int64_t AddRow(const RowValues& values) {
        RowValues row{{"dArtist", "'Artist'"},
                      {"dTitle", "'Title'"},
                      {"dAlbum", "'Album'"},
                      {"dGenre", "'Rock'"},
                      {"dDriveSerialNumber", Q(kStickSerial)},
                      {"dDriveLabel", "'STICK'"},
                      {"dPath", "'/a.mp3'"},
                      {"dDriveType", "2"},
                      {"dFormat", "2"},
                      {"dYear", "2001"},
                      {"dFileSize", "3000"},
                      {"dLength", "187"},
                      {"dMPEGBitrate", "192"},
                      {"dMPEGFrequency", "44100"},
                      {"dDateAdded", "'2004-05-01'"},
                      {"dFileDate", "'2004-04-30'"}};
        for (const auto& [column, value] : values) {
            row[column] = value;
        }
        Db().Execute(InsertStatement("maindata", row));
        return Db().LastInsertId();
    }

    // An MP3 file with an ID3v2 artist and title, made byte by byte.
    static std::string MakeSong(const std::string& path, const std::string& artist,
                                const std::string& title) {
        WriteBytes(path, formats::testing::Frames(formats::testing::HeaderBits{}, 417, 40));
        formats::TID3v2 tag;
        tag.SetArtist(artist);
        tag.SetTitle(title);
        EXPECT_TRUE(tag.Write(path));
        return path;
    }

    // A folder mounted as the stick, so files in it can be added and opened.
    std::string MountStickFolder() {
        const std::string folder = h.dir / "stick";
        std::filesystem::create_directories(folder);
        h.mounts->drives.clear();
        h.mounts->Add(folder, kStickSerial, "Removable", "STICK");
        Main().Drives().BuildLocalDriveList();
        return folder;
    }

    std::int64_t Count(const std::string& condition = "1=1") {
        catalog::Query q(Db(), "select count(*) from maindata where " + condition);
        return q[0].AsInteger();
    }

    // The window of a kind made by the main window's command.
    template <typename Window>
    Window& Open(gui::ChildKind kind) {
        Main().OpenSingle(kind);
        QMdiSubWindow* window = Main().Children().FindOpen(kind);
        auto* contents = window != nullptr ? dynamic_cast<Window*>(window->widget()) : nullptr;
        if (contents == nullptr) {
            throw std::runtime_error("the command made no window of that kind");
        }
        return *contents;
    }

    // The text a list shows in the column with that code, row by row in list order.
    static std::vector<std::string> ColumnTexts(const gui::TResultList& list, int code) {
        const int section = lists::SectionIndexOf(list.Columns(), code);
        std::vector<std::string> texts;
        for (const QModelIndex& row : list.Rows().RowsInListOrder()) {
            texts.push_back(row.siblingAtColumn(section).data().toString().toStdString());
        }
        return texts;
    }
    static QModelIndex RowAt(const gui::TResultList& list, int position) {
        return list.Rows().RowsInListOrder()[static_cast<std::size_t>(position)];
    }
    static void Select(gui::TResultList& list, const std::vector<int>& positions) {
        list.clearSelection();
        for (const int position : positions) {
            list.selectionModel()->select(RowAt(list, position),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        if (!positions.empty()) {
            list.selectionModel()->setCurrentIndex(RowAt(list, positions.front()),
                                                   QItemSelectionModel::NoUpdate);
        }
    }

    // Every item of a menu with its state: "Caption", "-Caption" when disabled, "Menu >" for
    // a submenu followed by its items indented.
    static std::vector<std::string> MenuItems(const QMenu& menu, const std::string& indent = {}) {
        std::vector<std::string> items;
        for (const QAction* action : menu.actions()) {
            if (action->isSeparator()) {
                continue;
            }
            const std::string text =
                indent + (action->isEnabled() ? "" : "-") + action->text().toStdString();
            if (action->menu() != nullptr) {
                items.push_back(text + " >");
                const auto inner = MenuItems(*action->menu(), indent + "  ");
                items.insert(items.end(), inner.begin(), inner.end());
            } else {
                items.push_back(text + (action->isChecked() ? " [x]" : ""));
            }
        }
        return items;
    }

    ProgramHarness h;
};

}  // namespace sonarchive::testing
