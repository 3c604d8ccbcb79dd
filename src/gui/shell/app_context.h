// What the main window holds for the whole run and shares with every other window: the data
// directory with its catalog (the data module), the settings, the general settings and the
// search history.
#pragma once

#include <memory>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/settings.h"
#include "interaction/interaction.h"
#include "lists/pick_lists.h"
#include "lists/search_history.h"
#include "platform/settings_file.h"

namespace sonarchive::gui {

class AppContext {
public:
    // Sets the general settings to their built-in values, then reads them.
    AppContext(std::string dataDirectory, platform::SettingsFile& settings,
               Interaction& interaction);

    const std::string& DataDirectory() const { return dataDirectory_; }
    Interaction& User() { return interaction_; }
    catalog::Registry& Registry() { return registry_; }
    catalog::GeneralSettings& General() { return general_; }
    lists::SearchHistory& History() { return history_; }
    // The search history is read at start and written at close; it is never written when it
    // was not read first, so a start that failed early cannot wipe the stored one.
    void LoadSearchHistory();
    void SaveSearchHistory();

    // The search windows' value lists, shared by all of them for the whole run.
    lists::PickLists& PickLists() { return pickLists_; }

    // Reads the general settings again (after the preferences dialog was confirmed).
    void ReloadGeneralSettings();

    bool CatalogOpen() const { return catalog_ != nullptr; }
    // The catalog, connected on first use. Throws EngineError when it cannot be opened.
    catalog::Catalog& Catalog();

private:
    std::string dataDirectory_;
    Interaction& interaction_;
    catalog::Registry registry_;
    catalog::GeneralSettings general_;
    lists::SearchHistory history_;
    bool historyLoaded_ = false;
    lists::PickLists pickLists_;
    std::unique_ptr<catalog::Catalog> catalog_;
};

}  // namespace sonarchive::gui
