#include "cli/verbs.h"

namespace sonarchive::cli {

std::span<const Verb> AllVerbs() {
    static const std::vector<Verb> verbs = [] {
        std::vector<Verb> all;
        AddMaintenanceVerbs(all);
        AddVolumeVerbs(all);
        return all;
    }();
    return verbs;
}

}  // namespace sonarchive::cli
