// What happens when the main window is first shown: the catalog is opened and checked, the
// drives, hosts, file counter and collections box are filled under "Sonarchive -
// initializing", and then the first-start welcome, the browse window and a requested re-read
// follow.
#pragma once

namespace sonarchive::gui {

class TFMain;

class StartupSequence {
public:
    enum class Result {
        Completed,
        Stopped,     // an engine error ended the start-up; the main window stays open
        EndProgram,  // the catalog is damaged beyond repair
    };

    explicit StartupSequence(TFMain& main) : main_(main) {}

    Result Run();

private:
    // Steps 2 to 9: everything until "Sonarchive - initializing" closes.
    Result PrepareCatalog(bool& rereadRequested);
    void OfferFirstSearch();
    void OpenBrowseWindow();

    TFMain& main_;
};

}  // namespace sonarchive::gui
