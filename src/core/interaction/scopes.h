// Guards that undo a visible state however the step in between ends.
#pragma once

#include <string>

#include "interaction/interaction.h"

namespace sonarchive {

// Shows the hourglass for the life of the scope.
class BusyScope {
public:
    explicit BusyScope(Interaction& interaction) : interaction_(interaction) {
        interaction_.SetBusy(true);
    }
    ~BusyScope() { interaction_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Interaction& interaction_;
};

// Shows a system message for the life of the scope.
class NoticeScope {
public:
    NoticeScope(Interaction& interaction, const std::string& text) : interaction_(interaction) {
        interaction_.BeginNotice(text);
    }
    ~NoticeScope() { interaction_.EndNotice(); }
    NoticeScope(const NoticeScope&) = delete;
    NoticeScope& operator=(const NoticeScope&) = delete;

private:
    Interaction& interaction_;
};

}  // namespace sonarchive
