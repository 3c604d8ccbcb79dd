// The desktop program: its windows made in order at start, the start-up when the main window
// is shown, and the event loop until the main window closes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/catalog_store/startup_sequence.h"
#include "gui/shell/child_window.h"
#include "gui/shell/gui_interaction.h"
#include "gui/shell/media_backend.h"
#include "gui/shell/shell_drives.h"
#include "gui/shell/shell_windows.h"
#include "platform/settings_file.h"

namespace sonarchive::gui {

class AppContext;
class OpenedFiles;
class TFMain;

// What the program is built from besides its own windows.
struct ProgramParts {
    WindowProviders providers;
    // The mount table and the means of testing network hosts; the system's when null.
    std::shared_ptr<const platform::MountTable> mounts;
    std::shared_ptr<platform::HostProber> hostProber;
    // The mini player's back-end; Qt Multimedia when empty.
    std::function<std::unique_ptr<MediaBackend>()> mediaBackend;
    // Answers every message and question instead of the dialogs (tests); null for dialogs.
    Interaction* interaction = nullptr;
};

class Program {
public:
    Program(std::string dataDirectory, platform::SettingsFile& settings, ProgramParts parts);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TFMain& Main() { return *main_; }
    AppContext& App() { return *app_; }
    const ShellWindows& Windows() const { return windows_; }

    // Shows the main window and runs the start-up. When the catalog cannot be repaired the
    // main window is closed again.
    StartupSequence::Result Start();
    // Start, then the event loop until the main window closes; answers the exit status.
    int Run();

    // Files and folders to take as if dropped on the main window, once the start-up is done
    // (paths in the program's form, absolute).
    void OpenFiles(std::vector<std::string> paths);
    // What a later start on the same catalog handed over: the main window comes to the front
    // and takes the files.
    void TakeHandOver(std::vector<std::string> paths);

private:
    void CreateWindows(ProgramParts& parts);

    GuiInteraction dialogs_;
    Interaction& interaction_;
    std::unique_ptr<AppContext> app_;
    // Declared after the catalog's holder: the windows go first, with the main window.
    std::unique_ptr<TFMain> main_;
    ShellWindows windows_;
    OpenedFiles* opened_ = nullptr;  // owned by the main window
};

}  // namespace sonarchive::gui
