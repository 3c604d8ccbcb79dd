#include "gui/shell/app_context.h"

namespace sonarchive::gui {

AppContext::AppContext(std::string dataDirectory, platform::SettingsFile& settings,
                       Interaction& interaction)
    : dataDirectory_(std::move(dataDirectory)),
      interaction_(interaction),
      registry_(settings, interaction),
      general_(catalog::BuiltInGeneralSettings()) {
    catalog::LoadGeneralSettings(registry_, general_);
}

void AppContext::ReloadGeneralSettings() {
    catalog::LoadGeneralSettings(registry_, general_);
}

void AppContext::LoadSearchHistory() {
    history_ = lists::LoadSearchHistory(registry_);
    historyLoaded_ = true;
}

void AppContext::SaveSearchHistory() {
    if (historyLoaded_) {
        lists::SaveSearchHistory(registry_, history_);
    }
}

catalog::Catalog& AppContext::Catalog() {
    if (!catalog_) {
        catalog_ = std::make_unique<catalog::Catalog>(dataDirectory_);
    }
    return *catalog_;
}

}  // namespace sonarchive::gui
