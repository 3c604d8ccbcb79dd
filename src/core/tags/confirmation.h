// The questions governed by a CONFIRM_ setting.
#pragma once

#include <string>

#include "catalog_store/settings.h"
#include "interaction/interaction.h"

namespace sonarchive::tags {

// Asks `text` in the shared "Confirm" dialog while `setting` is on, and answers whether the
// operation may go on (always, when the setting is off). "Don't show this message anymore"
// ticked with Ok switches the setting off and saves the general settings at once.
bool ConfirmUnderSetting(Interaction& interaction, catalog::Registry& registry,
                         catalog::GeneralSettings& settings,
                         bool catalog::GeneralSettings::*setting, const std::string& text,
                         int helpTopic);

}  // namespace sonarchive::tags
