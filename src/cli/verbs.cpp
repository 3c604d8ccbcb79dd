#include "cli/verbs.h"

namespace sonarchive::cli {

std::span<const Verb> AllVerbs() {
    static const std::vector<Verb> verbs = [] {
        std::vector<Verb> all;
        AddInspectVerb(all);
        AddCataloguingVerbs(all);
        AddListVerbs(all);
        AddTagVerbs(all);
        AddVolumeVerbs(all);
        AddOrganizeVerbs(all);
        AddCollectionVerbs(all);
        AddReportVerbs(all);
        AddMaintenanceVerbs(all);
        AddVerifyVerb(all);
        return all;
    }();
    return verbs;
}

}  // namespace sonarchive::cli
