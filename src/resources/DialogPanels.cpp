// The small dialogs: preferences, the camera user sets, saving to a settings
// file, the progress of a settings-file load, and the MCP warning.
#include "resources/UlvoIccdParts.h"

namespace ulvo {

namespace {

using namespace uires;

constexpr int kButtons = -9;

void addOkCancel(std::vector<Ctrl>& c, int row, int okId, std::string okName, const char* okCallback,
                 int cancelId, std::string cancelName, const char* cancelCallback)
{
    c.push_back(ButtonRow(kButtons).at(0, row, 0));
    c.push_back(Button(okId, std::move(okName), "__OK").cb(okCallback).at(kButtons, 0, 0));
    c.push_back(Button(cancelId, std::move(cancelName), "__Cancel").cb(cancelCallback).at(kButtons, 0, 1));
}

std::vector<Item> comPorts()
{
    std::vector<Item> ports;
    for (int n = 1; n <= 32; ++n) ports.push_back({"COM" + std::to_string(n), n});
    return ports;
}

std::vector<Item> baudRates()
{
    std::vector<Item> rates;
    for (int rate : kBaudRates) rates.push_back({std::to_string(rate), rate});
    return rates;
}

}  // namespace

Panel PreferencesPanel()
{
    Panel p;
    p.id = PREF;
    p.name = "PREF";
    p.title = "Preferences";
    p.closeCtrl = PREF_CANCEL;
    p.defaultCtrl = PREF_OKBUTTON;
    auto& c = p.ctrls;
    constexpr int kLink = -1, kCaptions = -2;

    c.push_back(Frame(kLink, "", "Camera Link").at(0, 0, 0));
    c.push_back(Ring(UI_ID(PREF_COM_LIST), "COM __Port", comPorts())
                    .cb("Pref_ComListCallback")
                    .tip("Choosing a port looks for a camera on it")
                    .minWidth(360)
                    .at(kLink, 0, 0));
    c.push_back(Ring(UI_ID(PREF_BAUD), "__Baud Rate", baudRates())
                    .tip("The camera's line rate; OK looks for the camera at it")
                    .at(kLink, 1, 0));

    // Captions of the lens groups on the main window, 23 characters at most.
    c.push_back(Frame(kCaptions, "", "Lens Captions").at(0, 1, 0));
    c.push_back(String(UI_ID(PREF_LABEL1), "__Zoom Label").maxLen(23).minWidth(220).at(kCaptions, 0, 0));
    c.push_back(String(UI_ID(PREF_LABEL2), "__Focus Label").maxLen(23).minWidth(220).at(kCaptions, 1, 0));
    c.push_back(String(UI_ID(PREF_LABEL3), "__Iris Label").maxLen(23).minWidth(220).at(kCaptions, 2, 0));
    c.push_back(Button(UI_ID(PREF_RESETLABELS), "__Reset Labels")
                    .cb("Pref_ResetLabelCallback")
                    .placed(Place::ValueColumn)
                    .at(kCaptions, 3, 0));

    addOkCancel(c, 2, UI_ID(PREF_OKBUTTON), "Pref_OKCallback", UI_ID(PREF_CANCEL), "Pref_CancelCallback");
    return p;
}

Panel LoadSetPanel()
{
    Panel p;
    p.id = LOADSET;
    p.name = "LOADSET";
    p.title = "Load Camera Settings";
    p.closeCtrl = LOADSET_CANCEL;
    p.defaultCtrl = LOADSET_OKBUTTON;
    auto& c = p.ctrls;
    c.push_back(Ring(UI_ID(LOADSET_SETNO),
                     "Load settings from: ", {{"Factory Defaults", 0}, {"User Set 1", 1}, {"User Set 2", 2}})
                    .selected(1)
                    .at(0, 0, 0));
    addOkCancel(c, 1, UI_ID(LOADSET_OKBUTTON), "LoadSet_OKCallback", UI_ID(LOADSET_CANCEL),
                "LoadSave_CancelCallback");
    return p;
}

Panel SaveSetPanel()
{
    Panel p;
    p.id = SAVESET;
    p.name = "SAVESET";
    p.title = "Save Camera Settings";
    p.closeCtrl = SAVESET_CANCEL;
    p.defaultCtrl = SAVESET_OKBUTTON;
    auto& c = p.ctrls;
    c.push_back(
        Ring(UI_ID(SAVESET_SETNO), "Save settings to: ", {{"User Set 1", 1}, {"User Set 2", 2}}).at(0, 0, 0));
    addOkCancel(c, 1, UI_ID(SAVESET_OKBUTTON), "SaveSet_OKCallback", UI_ID(SAVESET_CANCEL),
                "LoadSave_CancelCallback");
    return p;
}

Panel SaveToFilePanel()
{
    Panel p;
    p.id = F_SAVESET;
    p.name = "F_SAVESET";
    p.title = "Save Camera Settings to File";
    p.closeCtrl = F_SAVESET_CANCEL;
    p.defaultCtrl = F_SAVESET_OK;
    auto& c = p.ctrls;
    // The file keeps the comment on one line of at most 80 characters.
    c.push_back(TextBox(UI_ID(F_SAVESET_COMMENT), "File Comment", 3)
                    .maxLen(80)
                    .singleLine()
                    .minWidth(460)
                    .tip("One line of up to 80 characters, stored at the top of the file")
                    .at(0, 0, 0));
    addOkCancel(c, 1, UI_ID(F_SAVESET_OK), "F_SaveSet_OKCallback", UI_ID(F_SAVESET_CANCEL),
                "F_LoadSave_CancelCallback");
    return p;
}

// Named settings files in the user's presets folder.
Panel PresetsPanel()
{
    Panel p;
    p.id = PRESETS;
    p.name = "PRESETS";
    p.title = "Presets";
    p.closeCtrl = PRESETS_CLOSE;
    p.defaultCtrl = PRESETS_RECALL;
    auto& c = p.ctrls;
    c.push_back(Ring(UI_ID(PRESETS_LIST), "__Preset", {})
                    .minWidth(260)
                    .tip("The settings files saved in the presets folder")
                    .at(0, 0, 0));
    c.push_back(Button(UI_ID(PRESETS_RECALL), "__Recall")
                    .cb("Presets_RecallCallback")
                    .tip("Send the preset's settings to the camera")
                    .at(0, 0, 1));
    c.push_back(Button(UI_ID(PRESETS_DELETE), "__Delete").cb("Presets_DeleteCallback").at(0, 0, 2));
    c.push_back(
        String(UI_ID(PRESETS_NAME), "__Name")
            .maxLen(60)
            .minWidth(260)
            .tip("Letters, digits, blanks, '-', '_' and '.'; the camera's settings are saved under it")
            .at(0, 1, 0));
    c.push_back(Button(UI_ID(PRESETS_SAVE), "__Save").cb("Presets_SaveCallback").at(0, 1, 1));
    c.push_back(TextMsg(UI_ID(PRESETS_FOLDER), "").at(0, 2, 0));
    c.push_back(ButtonRow(kButtons).at(0, 3, 0));
    c.push_back(Button(UI_ID(PRESETS_CLOSE), "C__lose").cb("Presets_CloseCallback").at(kButtons, 0, 0));
    return p;
}

Panel LoadProgressPanel()
{
    Panel p;
    p.id = LOADPROG;
    p.name = "LOADPROG";
    p.title = "Load Settings From File";
    auto& c = p.ctrls;
    c.push_back(
        String(UI_ID(LOADPROG_MESSAGE), "").display().labelPos(LabelAt::None).minWidth(320).at(0, 0, 0));
    c.push_back(TextMsg(UI_ID(LOADPROG_TEXTMSG), "Please wait...").at(0, 1, 0));
    // The 64 steps of the sending; Cancel stops after the step under way.
    c.push_back(Progress(UI_ID(LOADPROG_PROGRESS), 64).at(0, 2, 0));
    c.push_back(ButtonRow(kButtons).at(0, 3, 0));
    c.push_back(Button(UI_ID(LOADPROG_CANCEL), "__Cancel").cb("LoadProg_CancelCallback").at(kButtons, 0, 0));
    p.closeCtrl = LOADPROG_CANCEL;
    return p;
}

Panel McpWarningPanel()
{
    Panel p;
    p.id = MCP_WARN;
    p.name = "MCP_WARN";
    p.title = "MCP Warning";
    p.closeCtrl = MCP_WARN_OKBUTTON;
    p.defaultCtrl = MCP_WARN_OKBUTTON;
    auto& c = p.ctrls;
    c.push_back(TextMsg(UI_ID(MCP_WARN_TEXTMSG),
                        "The image intensifier (MCP) gain is high.\n"
                        "Bright light at this gain can damage the intensifier:\n"
                        "cover the lens or lower the gain before changing the scene.")
                    .at(0, 0, 0));
    c.push_back(ButtonRow(kButtons).at(0, 1, 0));
    c.push_back(Button(UI_ID(MCP_WARN_OKBUTTON), "__OK").at(kButtons, 0, 0));
    return p;
}

}  // namespace ulvo
