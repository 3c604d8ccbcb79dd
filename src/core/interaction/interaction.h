// How core operations talk to the user.
//
// Core never shows anything itself: every message, question and progress report of an
// operation goes through the Interaction its caller passes in. The desktop program answers
// with dialogs, the command-line program with prompts and flags, tests with a script. Texts
// arrive exactly as the user is to read them.
#pragma once

#include <cstdint>
#include <string>

namespace sonarchive {

// The answer to the shared "Confirm" dialog.
struct ConfirmAnswer {
    bool ok = false;            // "&Ok" was pressed
    bool dontShowAgain = false; // "Don't show this message anymore" was ticked
};

// What the user is asked before an existing file is replaced.
struct ReplaceQuestion {
    std::string targetName;    // the file name both files share
    std::string existingPath;  // full path of the file already there
    std::uint64_t existingSize = 0;
    double existingModified = 0;  // days since 1899-12-30
    std::string newPath;
    std::uint64_t newSize = 0;
    double newModified = 0;
};

enum class ReplaceAnswer { Yes, YesToAll, No, NoToAll, Cancel };

class Interaction {
public:
    virtual ~Interaction() = default;

    virtual void ShowInformation(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // The shared "Confirm" dialog; a help topic below 0 means no help button.
    virtual ConfirmAnswer Confirm(const std::string& text, int helpTopic) = 0;
    virtual ReplaceAnswer AskReplace(const ReplaceQuestion& question) = 0;

    // The hourglass: the program is busy and the user should wait.
    virtual void SetBusy(bool busy) = 0;

    // A passing notice while a step runs ("Packing database"); cleared by EndNotice.
    virtual void BeginNotice(const std::string& text) = 0;
    virtual void EndNotice() = 0;

    // Progress of a long operation.
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void SetTaskText(const std::string& text) = 0;
    virtual void SetCounterText(const std::string& text) = 0;

    // Read between items; true once the user pressed the operation's cancel button.
    virtual bool CancelRequested() = 0;
    // Lets the surrounding program handle its pending events (repaints, the cancel button).
    virtual void ProcessPendingEvents() = 0;
};

}  // namespace sonarchive
