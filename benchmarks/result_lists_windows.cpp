#include "result_lists_windows.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <filesystem>
#include <ostream>

#include "gui/lists/browse_window.h"
#include "gui/lists/list_windows.h"
#include "gui/lists/search_window.h"
#include "gui/lists/simple_search_panel.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "lists/result_columns.h"
#include "platform/settings_file.h"
#include "result_lists_core.h"
#include "text/text.h"

namespace sonarchive::benchmarks {
namespace {

// Every host answers at once: the network rows count as at hand without a network.
class AnsweringProber final : public platform::HostProber {
public:
    std::vector<std::string> Resolve(const std::string&) override { return {"192.0.2.1"}; }
    bool Probe(const std::vector<std::string>&, std::chrono::milliseconds) override { return true; }
};

template <typename Window>
Window& OpenWindow(gui::TFMain& main, gui::ChildKind kind) {
    main.OpenSingle(kind);
    QMdiSubWindow* frame = main.Children().FindOpen(kind);
    frame->showMaximized();
    return *qobject_cast<Window*>(frame->widget());
}

// The step, then the events that show its outcome.
std::function<std::size_t()> Shown(const std::function<std::size_t()>& step) {
    return [step] {
        const std::size_t rows = step();
        QApplication::processEvents();
        return rows;
    };
}

std::size_t RowCount(const gui::TResultList& list) {
    return static_cast<std::size_t>(list.Rows().rowCount());
}

QModelIndex GroupOf(const gui::TResultList& list, const std::string& key) {
    const gui::ResultListModel& rows = list.Rows();
    for (int row = 0; row < rows.rowCount(); ++row) {
        const QModelIndex index = rows.index(row, 0);
        if (rows.Group(index) != nullptr && rows.Group(index)->key == key) {
            return index;
        }
    }
    return {};
}

void TimeBrowse(gui::TFMain& main, const ResultListCorpus& corpus, StaticMountTable& mounts,
                std::ostream& out) {
    auto& browse = OpenWindow<gui::TFBrowse>(main, gui::ChildKind::Browse);
    gui::TResultList& list = browse.List();
    const auto listBy = [&browse, &list](int topLevel) {
        return Shown([&browse, &list, topLevel] {
            browse.TopLevel().setCurrentIndex(topLevel);
            browse.RebuildBrowseTree();
            return RowCount(list);
        });
    };
    constexpr int kArtist = 0;
    constexpr int kPlainListing = 3;
    Measure(out, "window: plain listing", listBy(kPlainListing));
    for (const auto& [caption, code] :
         {std::pair("window: sort by Title", lists::codes::Title),
          std::pair("window: sort by Size (KB)", lists::codes::Size),
          std::pair("window: sort by Date added", lists::codes::DateAdded)}) {
        const int section = lists::SectionIndexOf(list.Columns(), code);
        Measure(out, caption, Shown([&list, section] {
                    list.SortByColumn(section);
                    return RowCount(list);
                }));
    }

    bool changed = false;
    Measure(out, "window: recolour after a mount change", Shown([&] {
                changed = !changed;
                mounts.Set(changed ? corpus.drivesAfterChange : corpus.drives);
                main.Drives().BuildLocalDriveList();
                return RowCount(list);
            }));

    Measure(out, "window: browse by artist", listBy(kArtist));
    const std::string key = text::UpperCase(corpus.largestArtist);
    Measure(out, "window: expand the largest group", Shown([&list, &key] {
                const QModelIndex group = GroupOf(list, key);
                list.collapse(group);
                list.expand(group);
                return static_cast<std::size_t>(list.Rows().rowCount(group));
            }));
}

void TimeSearches(gui::TFMain& main, const ResultListCorpus& corpus, std::ostream& out) {
    auto& search = OpenWindow<gui::TFSearch>(main, gui::ChildKind::Search);
    search.SetAdvanced(false, false);
    gui::SimpleSearchPanel& panel = search.Simple();
    const auto searchFor = [&search, &panel](const QString& field, const QString& condition,
                                             const std::string& value) {
        return Shown([&search, &panel, field, condition, value] {
            auto* fields = panel.findChild<QComboBox*>(QStringLiteral("ComboSelectField"));
            auto* conditions = panel.findChild<QComboBox*>(QStringLiteral("ComboCondition"));
            panel.ChooseField(fields->findText(field), false);
            panel.ChooseCondition(conditions->findText(condition), false);
            const QString text = QString::fromStdString(value);
            if (panel.PickListShown()) {
                panel.findChild<QComboBox*>(QStringLiteral("ComboPickList"))->setEditText(text);
            } else {
                panel.findChild<QLineEdit*>(QStringLiteral("EditSearchFor"))->setText(text);
            }
            search.SearchButton1Click();
            return RowCount(search.List());
        });
    };
    Measure(
        out, "window: Artist Exact match",
        searchFor(QStringLiteral("Artist"), QStringLiteral("Exact match"), corpus.largestArtist));
    Measure(out, "window: Title Contains",
            searchFor(QStringLiteral("Title"), QStringLiteral("Contains"), corpus.titleWord));
}

}  // namespace

bool TimeWindowResultLists(const std::string& dataDirectory, const ResultListCorpus& corpus,
                           std::ostream& out) {
    const std::string settingsPath =
        (std::filesystem::path(dataDirectory).parent_path() / "settings.json").string();
    platform::SettingsFile settings(settingsPath);
    settings.Write({{"FIRST_TIME_USAGE", std::int64_t{0}}});
    auto mounts = std::make_shared<StaticMountTable>();
    mounts->Set(corpus.drives);
    gui::ProgramParts parts;
    gui::AddListWindows(parts.providers);
    parts.mounts = mounts;
    parts.hostProber = std::make_shared<AnsweringProber>();
    gui::Program program(dataDirectory, settings, std::move(parts));
    program.Main().resize(1280, 900);
    if (program.Start() != gui::StartupSequence::Result::Completed) {
        return false;
    }
    TimeBrowse(program.Main(), corpus, *mounts, out);
    TimeSearches(program.Main(), corpus, out);
    return true;
}

}  // namespace sonarchive::benchmarks
