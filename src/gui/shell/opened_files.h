// Files and folders handed to the program from outside: named on its command line (a file
// manager's "Open with"), or by a later start on the same catalog. They are taken as files
// dropped on the main window: playlists open in playlist windows, a folder stands for the
// audio files below it, and everything else goes to one add of dropped files. Nothing is taken
// before the start-up is done, and each hand-over waits for the one before it to end.
#pragma once

#include <QObject>
#include <QStringList>
#include <deque>
#include <string>
#include <vector>

namespace sonarchive::gui {

class TFMain;

// The names among a program's arguments (argv without the program), in the program's form
// and absolute against `workingDirectory` (system bytes). Each comes from its argument's own
// bytes, so a name that is not UTF-8 still names its file; `positional` is what the command
// line parser took for names, in order.
std::vector<std::string> NamedPaths(const std::vector<std::string>& arguments,
                                    const QStringList& positional,
                                    const std::string& workingDirectory);

// True for the playlists a hand-over opens instead of adding (".m3u", ".m3u8", any case).
bool IsPlaylistName(const std::string& path);

class OpenedFiles : public QObject {
public:
    explicit OpenedFiles(TFMain& main);

    void Receive(std::vector<std::string> paths);
    // From now on what is received is taken.
    void StartupDone();

private:
    void ScheduleWaiting();
    void TakeWaiting();
    void Take(const std::vector<std::string>& paths);

    TFMain& main_;
    std::deque<std::vector<std::string>> waiting_;
    bool ready_ = false;
    bool taking_ = false;
};

}  // namespace sonarchive::gui
