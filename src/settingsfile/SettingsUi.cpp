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

SilentUi g_silent_ui;
SettingsFileUi* g_settings_ui = nullptr;

}  // namespace

void SetSettingsFileUi(SettingsFileUi* ui)
{
    g_settings_ui = ui;
}

SettingsFileUi& CurrentSettingsFileUi()
{
    return g_settings_ui ? *g_settings_ui : g_silent_ui;
}
