#include "tags/confirmation.h"

namespace sonarchive::tags {

bool ConfirmUnderSetting(Interaction& interaction, catalog::Registry& registry,
                         catalog::GeneralSettings& settings,
                         bool catalog::GeneralSettings::*setting, const std::string& text,
                         int helpTopic) {
    if (!(settings.*setting)) {
        return true;
    }
    const ConfirmAnswer answer = interaction.Confirm(text, helpTopic);
    if (!answer.ok) {
        return false;
    }
    if (answer.dontShowAgain) {
        settings.*setting = false;
        catalog::SaveGeneralSettings(registry, settings);
    }
    return true;
}

}  // namespace sonarchive::tags
