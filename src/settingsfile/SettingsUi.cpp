#include "settingsfile/SettingsUi.h"
#include "settingsfile/SettingsFile.h"

namespace {

// Used until the program installs its own: shows nothing, refreshes nothing.
class SilentUi final : public SettingsFileUi {
public:
    void progress(const char*) override {}
    void progressDone() override {}
    void error(const char*, const char*) override {}
    void refresh() override {}
};

SilentUi s_silent_ui;
SettingsFileUi* s_settings_ui = nullptr;

}  // namespace

void SetSettingsFileUi(SettingsFileUi* ui)
{
    s_settings_ui = ui;
}

SettingsFileUi& CurrentSettingsFileUi()
{
    return s_settings_ui ? *s_settings_ui : s_silent_ui;
}
