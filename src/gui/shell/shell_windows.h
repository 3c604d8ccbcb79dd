// The windows the program makes once at start, hidden, and keeps for the whole run.
#pragma once

namespace sonarchive::gui {

class AboutBox;
class HelpWindow;
class TFInit;
class TFMessage;
class TFMiniPlayer;
class TFPreferences;
class TFTips;
class TfConfirm;
class TfWelcome;

struct ShellWindows {
    AboutBox* about = nullptr;
    TFInit* init = nullptr;
    TfConfirm* confirm = nullptr;
    TfWelcome* welcome = nullptr;
    TFTips* tips = nullptr;
    TFPreferences* preferences = nullptr;
    TFMiniPlayer* miniPlayer = nullptr;
    TFMessage* message = nullptr;
    HelpWindow* help = nullptr;
};

}  // namespace sonarchive::gui
