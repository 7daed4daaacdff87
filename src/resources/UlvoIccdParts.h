// Pieces shared by the descriptions of the Ulvo_ICCD panels.
#pragma once

#include "camera/SettingsTable.h"
#include "resources/UlvoIccd.h"
#include "ui/UiResource.h"

/// A constant and its name, as the control makers take them.
#define UI_ID(constant) constant, #constant

namespace ulvo {

/// Settings_LaidOut of a setting on the 47x family's Advanced Settings panel.
inline constexpr bool kPanel47x = true;

using uires::Align;
using uires::Arrow;
using uires::Item;
using uires::LabelAt;
using uires::Place;
using uires::Type;

inline std::vector<Item> OffOn()
{
    return {{"Off", 0}, {"On", 1}};
}
inline std::vector<Item> ManualAutomatic()
{
    return {{"Manual", 0}, {"Automatic", 1}};
}
inline std::vector<Item> DisabledEnabled()
{
    return {{"Disabled", 0}, {"Enabled", 1}};
}

uires::Panel MainPanel();
uires::Panel AdvSetPanel();
uires::Panel AdvSetColourPanel();
uires::Panel AfePanel();
uires::Panel ColourProcessingPanel();
uires::Panel FpgaPanel();
uires::Panel SplitScreenPanel();
uires::Panel PreferencesPanel();
uires::Panel LoadSetPanel();
uires::Panel SaveSetPanel();
uires::Panel SaveToFilePanel();
uires::Panel LoadProgressPanel();
uires::Panel McpWarningPanel();
uires::Panel PresetsPanel();
uires::MenuBar MainMenuBar();

}  // namespace ulvo
