// The resource against the tables the program is written to: the main panel,
// the dialogs and the menu bar.  Written out here independently of the
// resource code.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "ResourceExpect.h"
#include "support/UiTestDriver.h"

namespace {

using namespace expect;

const Items kOffOn = {{"Off", 0}, {"On", 1}};
const Items kManualAutomatic = {{"Manual", 0}, {"Automatic", 1}};
const Items kDisabledEnabled = {{"Disabled", 0}, {"Enabled", 1}};

TEST(Resource, MainPanel)
{
    const std::string v = "Mpnl_ValCallback", lens = "Mpnl_ZFICallback";
    std::vector<Control> e = {
        Ring(MAIN_MODE, "MAIN_MODE", "ALC Mode", kManualAutomatic, v),
        Num(MAIN_ALV, "MAIN_ALV", "ALC Level", {20, 0, 255, 1}, v),
        Num(MAIN_AGN, "MAIN_AGN", "Manual Gain (dB)", {20.0, 5.0, 32.0, 1.0}, v, VAL_FLOAT),
        Num(MAIN_AMX, "MAIN_AMX", "ALC Max Gain (dB)", {20.0, 18.0, 32.0, 0.1}, v, VAL_FLOAT),
        Ring(MAIN_GAM, "MAIN_GAM", "Gamma", {{"1.0", 0}, {"0.45", 1}}, v),
        Ring(MAIN_VMD, "MAIN_VMD", "Vertical Mode", {{"Frame", 0}, {"Field", 1}}, v),
        Ring(MAIN_SHE, "MAIN_SHE", "Shutter Control", kOffOn, v),
        Num(MAIN_SMX, "MAIN_SMX", "ALC Max Shutter Speed (lines)", {1, 1, 100, 1}, v),
        Num(MAIN_SHS, "MAIN_SHS", "Shutter Speed (lines)", {1, 1, 100, 1}, v),
        Ring(MAIN_MFI, "MAIN_MFI", "MFI Input", {{"VD Input", 0}, {"CSYNC Input", 1}, {"Trigger Input", 2}},
             v),
        Ring(MAIN_WBM, "MAIN_WBM", "White Balance Mode", kManualAutomatic, v),
        Ring(MAIN_MFT, "MAIN_MFT", "MFI Termination", {{"Hi Z", 0}, {"75 ohm", 1}}, v),
        Ring(MAIN_TMD, "MAIN_TMD", "Trigger Mode",
             {{"Off", 0}, {"Async Reset", 1}, {"Edge Pre-select", 2}, {"Pulse Width Mode", 3}}, v),
        Ring(MAIN_DFC, "MAIN_DFC", "White Blemish Compensation", kOffOn, v),
        Ring(MAIN_MIR, "MAIN_MIR", "Mirror Image", kOffOn, v),
        Ring(MAIN_CMD, "MAIN_CMD", "Color Mode", {{"Mono", 0}, {"Color", 1}}, v),
        Num(MAIN_CGAIN_RED, "MAIN_CGAIN_RED", "Red", {2.0, 0.001, 3.999, 0.1}, v, VAL_FLOAT),
        Num(MAIN_CGAIN_GREEN, "MAIN_CGAIN_GREEN", "Green", {2.0, 0.001, 3.999, 0.1}, v, VAL_FLOAT),
        Num(MAIN_CGAIN_BLUE, "MAIN_CGAIN_BLUE", "Blue", {2.0, 0.001, 3.999, 0.1}, v, VAL_FLOAT),
        Num(MAIN_IPH, "MAIN_IPH", "Interpolator Phase", {1, 0, 3, 1}, v),
        Ring(MAIN_MODEL, "MAIN_MODEL", "Camera Model",
             {{"VK-400", 0},
              {"EH-4000", 1},
              {"VK-405", 2},
              {"VKC-473", 3},
              {"VKC-475", 5},
              {"VK-470", 4},
              {"VK-473", 6},
              {"VK-475", 7},
              {"LS-370", 8},
              {"LS-373", 9},
              {"LS-375", 10},
              {"LSC-373", 11},
              {"LSC-375", 12}},
             v),
        Ring(MAIN_AGC_ACCESS, "MAIN_AGC_ACCESS", "ALC User Access *", kDisabledEnabled, v),
        Ring(MAIN_DFC_ACCESS, "MAIN_DFC_ACCESS", "Blemish User Access *", kDisabledEnabled, v),
        Button(MAIN_AWB, "MAIN_AWB", "AWB", v),
        Button(MAIN_REFRESH, "MAIN_REFRESH", "Refresh", "Mpnl_RefreshButtonCallback", "R"),
        Button(MAIN_QUIT, "MAIN_QUIT", "Quit", "M_QuitButtonCallback", "Q"),
        Deco(MAIN_FACBOX, "MAIN_FACBOX"),
        Deco(MAIN_DECORATION, "MAIN_DECORATION"),
        Deco(MAIN_DECORATION_4, "MAIN_DECORATION_4"),
        Deco(MAIN_DECORATION_6, "MAIN_DECORATION_6"),
        Deco(MAIN_DEC_VK47X, "MAIN_DEC_VK47X"),
        Deco(MAIN_AWB_BOX, "MAIN_AWB_BOX"),
        Deco(MAIN_DECORATION_9, "MAIN_DECORATION_9"),
        Deco(MAIN_DECORATION_10, "MAIN_DECORATION_10"),
        Deco(MAIN_DECORATION_12, "MAIN_DECORATION_12"),
        Text(MAIN_L1, "MAIN_L1", "Zoom Control"),
        Text(MAIN_L2, "MAIN_L2", "Focus Control"),
        Text(MAIN_L3, "MAIN_L3", "Iris Control"),
        Text(MAIN_CGAIN_TXT, "MAIN_CGAIN_TXT", "Color Gain"),
        Text(MAIN_AWB_TXT, "MAIN_AWB_TXT", "White Balance"),
        Slide(MAIN_HUE, "MAIN_HUE", "Hue (%)", {0.0, 0.0, 100.0, 1.0}, v),
        Slide(MAIN_VSAT, "MAIN_VSAT", "V-Sat (%)", {0.0, 0.0, 100.0, 1.0}, v),
        Slide(MAIN_USAT, "MAIN_USAT", "U-Sat (%)", {0.0, 0.0, 100.0, 1.0}, v),
        Slide(MAIN_YGAIN, "MAIN_YGAIN", "Y-Gain (%)", {0.0, 0.0, 100.0, 1.0}, v),
    };
    Control ms = Display(Num(MAIN_TIMEMS, "MAIN_TIMEMS", "msec", {0, 0, 10000, 0}, "", VAL_DOUBLE));
    ms.range.reset();
    e.push_back(ms);
    Control led{MAIN_REF_ACTIVE, "MAIN_REF_ACTIVE", CTRL_LED};
    led.checkLabel = false;
    e.push_back(led);
    Control monitor{MAIN_RS232, "MAIN_RS232", CTRL_TEXT_BOX, "RS-232"};
    monitor.display = true;
    e.push_back(monitor);
    const char* lensNames[] = {"MAIN_ZM_BIGUP",     "MAIN_ZM_BIGDOWN",    "MAIN_ZM_SMALLUP",
                               "MAIN_ZM_SMALLDOWN", "MAIN_FOC_BIGUP",     "MAIN_FOC_BIGDOWN",
                               "MAIN_FOC_SMALLUP",  "MAIN_FOC_SMALLDOWN", "MAIN_IRC_BIGUP",
                               "MAIN_IRC_BIGDOWN",  "MAIN_IRC_SMALLUP",   "MAIN_IRC_SMALLDOWN"};
    for (int i = 0; i < 12; ++i) {
        Control arrow{MAIN_ZM_BIGUP + i, lensNames[i], CTRL_ARROW_BUTTON, "", lens};
        arrow.checkLabel = false;
        e.push_back(arrow);
    }
    Check(MAIN, "Ulvo ICCD Camera Control", "M_PnlCallback", e);
}

TEST(Resource, PreferencesPanel)
{
    Items ports;
    for (int n = 1; n <= 32; ++n) ports.emplace_back("COM" + std::to_string(n), n);
    Check(PREF, "Preferences", "",
          {Str(PREF_LABEL1, "PREF_LABEL1", "Zoom Label"), Str(PREF_LABEL2, "PREF_LABEL2", "Focus Label"),
           Str(PREF_LABEL3, "PREF_LABEL3", "Iris Label"),
           Ring(PREF_COM_LIST, "PREF_COM_LIST", "COM Port", ports, "Pref_ComListCallback"),
           Button(PREF_RESETLABELS, "PREF_RESETLABELS", "Reset Labels", "Pref_ResetLabelCallback"),
           Button(PREF_OKBUTTON, "PREF_OKBUTTON", "OK", "Pref_OKCallback"),
           Button(PREF_CANCEL, "PREF_CANCEL", "Cancel", "Pref_CancelCallback")});

    // Captions fit their 24-byte globals: 23 characters at most, also when typed.
    const int p = LoadPanel(0, kUlvoIccdUir, PREF);
    for (int field : {PREF_LABEL1, PREF_LABEL2, PREF_LABEL3}) {
        int n = 0;
        GetCtrlAttribute(p, field, ATTR_MAX_ENTRY_LENGTH, &n);
        EXPECT_EQ(n, 23);
    }
    DiscardPanel(p);
}

TEST(Resource, UserSetAndFileDialogs)
{
    Check(LOADSET, "Load Camera Settings", "",
          {Ring(LOADSET_SETNO, "LOADSET_SETNO",
                "Load settings from: ", {{"Factory Defaults", 0}, {"User Set 1", 1}, {"User Set 2", 2}}),
           Button(LOADSET_OKBUTTON, "LOADSET_OKBUTTON", "OK", "LoadSet_OKCallback"),
           Button(LOADSET_CANCEL, "LOADSET_CANCEL", "Cancel", "LoadSave_CancelCallback")});
    Check(SAVESET, "Save Camera Settings", "",
          {Ring(SAVESET_SETNO, "SAVESET_SETNO", "Save settings to: ", {{"User Set 1", 1}, {"User Set 2", 2}}),
           Button(SAVESET_OKBUTTON, "SAVESET_OKBUTTON", "OK", "SaveSet_OKCallback"),
           Button(SAVESET_CANCEL, "SAVESET_CANCEL", "Cancel", "LoadSave_CancelCallback")});
    Control comment{F_SAVESET_COMMENT, "F_SAVESET_COMMENT", CTRL_TEXT_BOX, "File Comment"};
    Check(F_SAVESET, "Save Camera Settings to File", "",
          {comment, Button(F_SAVESET_OK, "F_SAVESET_OK", "OK", "F_SaveSet_OKCallback", "O"),
           Button(F_SAVESET_CANCEL, "F_SAVESET_CANCEL", "Cancel", "F_LoadSave_CancelCallback", "C")});
    Control message = Display(Str(LOADPROG_MESSAGE, "LOADPROG_MESSAGE", ""));
    message.checkLabel = false;
    Check(LOADPROG, "Load Settings From File", "",
          {message, Text(LOADPROG_TEXTMSG, "LOADPROG_TEXTMSG", "Please wait...")});
    Check(MCP_WARN, "MCP Warning", "",
          {Named(MCP_WARN_TEXTMSG, "MCP_WARN_TEXTMSG"), Named(MCP_WARN_OKBUTTON, "MCP_WARN_OKBUTTON")});
}

TEST(Resource, MainMenuBar)
{
    RegisterUlvoIccdResources();
    uitest::Reset();
    const int panel = LoadPanel(0, kUlvoIccdUir, MAIN);
    const int bar = LoadMenuBar(panel, kUlvoIccdUir, MAINMNU);
    ASSERT_GT(bar, 0);
    struct Item {
        int id;
        const char *name, *stored, *callback;
    };
    const Item items[] = {
        {MAINMNU_FILE, "MAINMNU_FILE", "__File", ""},
        {MAINMNU_FILE_SETUP, "MAINMNU_FILE_SETUP", "__Preferences", "MMnu_FilePrefCallback"},
        {MAINMNU_FILE_LOAD, "MAINMNU_FILE_LOAD", "__Load Settings", "MMnu_FileLoadCallback"},
        {MAINMNU_FILE_SAVESET, "MAINMNU_FILE_SAVESET", "__Save Settings", "MMnu_FileSaveCallback"},
        {MAINMNU_FILE_LOADFILE, "MAINMNU_FILE_LOADFILE", "L__oad Settings File",
         "MMnu_FileLoadFrmFileCallback"},
        {MAINMNU_FILE_SAVEFILE, "MAINMNU_FILE_SAVEFILE", "Sa__ve Settings File",
         "MMnu_FileSaveToFileCallback"},
        {MAINMNU_FILE_SPLIT, "MAINMNU_FILE_SPLIT", "S__plit Screen ", "MMnu_FileSplitCallback"},
        {MAINMNU_FILE_FTEST, "MAINMNU_FILE_FTEST", "__FPGA Access", "MMnu_FPGACallback"},
        {MAINMNU_FILE_AFEACC, "MAINMNU_FILE_AFEACC", "__AFE Access", "MMnu_AFECallback"},
        {MAINMNU_FILE_EXIT, "MAINMNU_FILE_EXIT", "E__xit", "MMnu_QuitProg"},
        {MAINMNU_ADVSET, "MAINMNU_ADVSET", "__Advanced Settings", "MMnu_AdvSetCallback"},
        {MAINMNU_COLORPROC, "MAINMNU_COLORPROC", "__Color Processing", "MMnu_CProcCallback"},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.name);
        std::string s;
        ASSERT_EQ(GetMenuBarAttribute(bar, item.id, ATTR_CONSTANT_NAME, &s), 0);
        EXPECT_EQ(s, item.name);
        GetMenuBarAttribute(bar, item.id, ATTR_ITEM_NAME, &s);
        EXPECT_EQ(s, item.stored);
        GetMenuBarAttribute(bar, item.id, ATTR_CALLBACK_NAME, &s);
        EXPECT_EQ(s, item.callback);
    }

    // On screen: File with its items in order and the separator before the
    // factory items; the last two entries act straight from the bar.
    QWidget* window = uitest::PanelWidget(panel);
    QMenuBar* menuBar = window->findChild<QMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    QStringList top;
    for (QAction* a : menuBar->actions()) top << a->text();
    EXPECT_EQ(top, QStringList({"&File", "&Advanced Settings", "&Color Processing"}));
    EXPECT_EQ(menuBar->actions()[1]->menu(), nullptr);
    QStringList file;
    for (QAction* a : menuBar->actions()[0]->menu()->actions()) file << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(file, QStringList({"&Preferences", "&Load Settings", "&Save Settings", "L&oad Settings File",
                                 "Sa&ve Settings File", "S&plit Screen ", "-", "&FPGA Access", "&AFE Access",
                                 "E&xit"}));
    std::string s;
    EXPECT_EQ(GetMenuBarAttribute(bar, MAINMNU_FILE_SEPARATOR, ATTR_CONSTANT_NAME, &s), 0);
    EXPECT_EQ(s, "MAINMNU_FILE_SEPARATOR");
    uitest::Reset();
}

TEST(Resource, RegisteringTwiceChangesNothing)
{
    RegisterUlvoIccdResources();
    const uires::File* first = uires::FindFile(kUlvoIccdUir);
    RegisterUlvoIccdResources();
    EXPECT_EQ(uires::FindFile("Ulvo_ICCD.uir"), first);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->panels.size(), 13u);
    for (int id = ADVSET; id <= SPLITSCRN; ++id) {
        const int p = LoadPanel(0, kUlvoIccdUir, id);
        EXPECT_GT(p, 0) << id;
        DiscardPanel(p);
    }
}

}  // namespace
