#include "gui/lists/add_modes.h"

#include <functional>
#include <memory>

#include "catalog_store/catalog_writer.h"
#include "cataloguing/add_files.h"
#include "cataloguing/record_builder.h"
#include "gui/cataloguing/add_figures.h"
#include "gui/cataloguing/add_files_progress.h"
#include "gui/lists/messages_panel.h"
#include "gui/shell/app_context.h"
#include "gui/shell/file_drops.h"
#include "gui/shell/main_window.h"

namespace sonarchive::gui {
namespace {

// One add: the catalog inserter with the user's tag preferences, the adder, and what it
// reports on the way.
class AddSession {
public:
    AddSession(TFMain& main, Interaction& user, const AddDisplay& display, TFAddFiles* progress)
        : inserter_(main.App().Catalog(), main.Drives().PathRules(), Reader(main),
                    [&main](const std::string& host) { main.Drives().Hosts().RegisterHost(host); }),
          adder_(main.App().Catalog(), main.Drives().PathRules(), main.Drives().Mounts(), inserter_,
                 user, Observer(display, progress)) {
        if (main.Providers().openPlaylist) {
            adder_.SetPlaylistOpener([&main](const std::string& path) {
                main.OpenPlaylistFile(QtFileName(path), false);
            });
        }
    }

    cataloguing::FileAdder& Adder() { return adder_; }

private:
    static catalog::FileRecordReader Reader(TFMain& main) {
        return [preferences = cataloguing::TagPreferences::From(main.App().General())](
                   const std::string& path, int format, catalog::TCommentInfoType& tags,
                   catalog::TEncoderInfoType& stream) {
            return cataloguing::ReadFileOfFormat(path, format, preferences, tags, stream);
        };
    }

    static cataloguing::AddObserver Observer(const AddDisplay& display, TFAddFiles* progress) {
        cataloguing::AddObserver observer;
        observer.volume = [display, progress](const cataloguing::VolumeIdentity& volume) {
            if (display.volume != nullptr) {
                display.volume->Show(volume);
            }
            if (progress != nullptr) {
                progress->ShowVolume(volume);
            }
        };
        observer.counters = [display, progress](const cataloguing::AddCounters& counters) {
            if (display.counters != nullptr) {
                display.counters->Show(counters);
            }
            if (progress != nullptr) {
                progress->ShowCounters(counters);
            }
        };
        observer.errorLine = [display](const std::string& line) {
            if (display.messages != nullptr) {
                display.messages->AppendLine(line);
            }
        };
        return observer;
    }

    catalog::CatalogInserter inserter_;
    cataloguing::FileAdder adder_;
};

// Runs a scan with the progress window "Adding files to the archive" open; answers whether
// the scan could start.
bool WithProgressWindow(TFMain& main, const AddDisplay& display,
                        const std::function<bool(cataloguing::FileAdder&)>& scan,
                        std::int64_t& firstIdBefore) {
    Interaction& user = main.App().User();
    TFAddFiles progress(user, &main);
    progress.setWindowModality(Qt::ApplicationModal);  // events run while the scan goes on
    progress.show();
    AddInteraction interaction(user, progress);
    AddSession session(main, interaction, display, &progress);
    const bool started = scan(session.Adder());
    firstIdBefore = session.Adder().FirstIdBefore();
    if (display.counters != nullptr) {
        display.counters->Show(session.Adder().Totals());
    }
    return started;
}

}  // namespace

std::optional<std::int64_t> AddFromFolder(TFMain& main, const AddFilesChoice& choice,
                                          const AddDisplay& display) {
    std::int64_t firstIdBefore = 0;
    const bool started = WithProgressWindow(
        main, display,
        [&choice](cataloguing::FileAdder& adder) {
            return adder.AddFromFolder(choice.folder, choice.mode == 2, choice.masks);
        },
        firstIdBefore);
    if (!started) {
        return std::nullopt;
    }
    return firstIdBefore;
}

std::int64_t AddFromAllDrives(TFMain& main, const std::vector<std::string>& masks,
                              const AddDisplay& display) {
    std::int64_t firstIdBefore = 0;
    WithProgressWindow(
        main, display,
        [&masks](cataloguing::FileAdder& adder) {
            adder.AddFromAllDrives(masks);
            return true;
        },
        firstIdBefore);
    return firstIdBefore;
}

std::int64_t AddDroppedFiles(TFMain& main, const std::vector<std::string>& paths,
                             const AddDisplay& display) {
    AddSession session(main, main.App().User(), display, nullptr);
    session.Adder().AddDroppedFiles(paths);
    return session.Adder().FirstIdBefore();
}

}  // namespace sonarchive::gui
