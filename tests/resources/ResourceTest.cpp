// The dialogs of the resource against the tables the program is written to,
// written out here independently of the resource code.  The main panel and
// the menu bar are tested through what the program does with them.
#include "ResourceExpect.h"

namespace {

using namespace expect;

TEST(Resource, PreferencesPanel)
{
    Items ports;
    for (int n = 1; n <= 32; ++n) ports.emplace_back("COM" + std::to_string(n), n);
    const Items rates = {{"1200", 1200},   {"2400", 2400},   {"4800", 4800},   {"9600", 9600},
                         {"19200", 19200}, {"38400", 38400}, {"57600", 57600}, {"115200", 115200}};
    Check(PREF, "Preferences",
          {Str(PREF_LABEL1, "PREF_LABEL1", "Zoom Label"), Str(PREF_LABEL2, "PREF_LABEL2", "Focus Label"),
           Str(PREF_LABEL3, "PREF_LABEL3", "Iris Label"),
           Ring(PREF_COM_LIST, "PREF_COM_LIST", "COM Port", ports, "Pref_ComListCallback"),
           Ring(PREF_BAUD, "PREF_BAUD", "Baud Rate", rates, ""),
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
    Check(LOADSET, "Load Camera Settings",
          {Ring(LOADSET_SETNO, "LOADSET_SETNO",
                "Load settings from: ", {{"Factory Defaults", 0}, {"User Set 1", 1}, {"User Set 2", 2}}),
           Button(LOADSET_OKBUTTON, "LOADSET_OKBUTTON", "OK", "LoadSet_OKCallback"),
           Button(LOADSET_CANCEL, "LOADSET_CANCEL", "Cancel", "LoadSave_CancelCallback")});
    Check(SAVESET, "Save Camera Settings",
          {Ring(SAVESET_SETNO, "SAVESET_SETNO", "Save settings to: ", {{"User Set 1", 1}, {"User Set 2", 2}}),
           Button(SAVESET_OKBUTTON, "SAVESET_OKBUTTON", "OK", "SaveSet_OKCallback"),
           Button(SAVESET_CANCEL, "SAVESET_CANCEL", "Cancel", "LoadSave_CancelCallback")});
    const Control comment{.id = F_SAVESET_COMMENT,
                          .name = "F_SAVESET_COMMENT",
                          .style = CTRL_TEXT_BOX,
                          .label = "File Comment"};
    Check(F_SAVESET, "Save Camera Settings to File",
          {comment, Button(F_SAVESET_OK, "F_SAVESET_OK", "OK", "F_SaveSet_OKCallback", "O"),
           Button(F_SAVESET_CANCEL, "F_SAVESET_CANCEL", "Cancel", "F_LoadSave_CancelCallback", "C")});
    Control message = Str(LOADPROG_MESSAGE, "LOADPROG_MESSAGE", "");
    message.display = true;
    const Control progress{.id = LOADPROG_PROGRESS, .name = "LOADPROG_PROGRESS", .style = CTRL_PROGRESS_BAR};
    Check(LOADPROG, "Load Settings From File",
          {message, Text(LOADPROG_TEXTMSG, "LOADPROG_TEXTMSG", "Please wait..."), progress,
           Button(LOADPROG_CANCEL, "LOADPROG_CANCEL", "Cancel", "LoadProg_CancelCallback", "C")});
    Check(MCP_WARN, "MCP Warning",
          {Named(MCP_WARN_TEXTMSG, "MCP_WARN_TEXTMSG"), Named(MCP_WARN_OKBUTTON, "MCP_WARN_OKBUTTON")});
}

TEST(Resource, RegisteringTwiceChangesNothing)
{
    RegisterUlvoIccdResources();
    const uires::File* first = uires::FindFile(kUlvoIccdUir);
    RegisterUlvoIccdResources();
    EXPECT_EQ(uires::FindFile("Ulvo_ICCD.uir"), first);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->panels.size(), 14u);  // each loads: ResourceLayout.EveryPanelAsLaidOut
}

}  // namespace
