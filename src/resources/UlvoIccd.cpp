// The main menu bar, and the registration of the whole resource.
#include "resources/UlvoIccd.h"

#include "resources/UlvoIccdParts.h"

namespace ulvo {

uires::MenuBar MainMenuBar()
{
    using uires::MenuKind;
    uires::MenuBar bar;
    bar.id = MAINMNU;
    bar.name = "MAINMNU";
    auto item = [&](int id, const char* name, const char* label, int parent, MenuKind kind,
                    const char* callback, const char* shortcut = "") {
        bar.items.push_back({id, name, label, parent, kind, callback ? callback : "", shortcut});
    };
    // "…" marks an item that opens a dialog; no two items of a menu share an
    // access key.
    item(UI_ID(MAINMNU_FILE), "__File", 0, MenuKind::Menu, nullptr);
    item(UI_ID(MAINMNU_FILE_SETUP), "__Preferences…", MAINMNU_FILE, MenuKind::Item, "MMnu_FilePrefCallback",
         "Ctrl+,");
    item(UI_ID(MAINMNU_FILE_LOAD), "__Load Settings…", MAINMNU_FILE, MenuKind::Item, "MMnu_FileLoadCallback");
    item(UI_ID(MAINMNU_FILE_SAVESET), "__Save Settings…", MAINMNU_FILE, MenuKind::Item,
         "MMnu_FileSaveCallback");
    item(UI_ID(MAINMNU_FILE_LOADFILE), "L__oad Settings File…", MAINMNU_FILE, MenuKind::Item,
         "MMnu_FileLoadFrmFileCallback", "Ctrl+O");
    item(UI_ID(MAINMNU_FILE_SAVEFILE), "Sa__ve Settings File…", MAINMNU_FILE, MenuKind::Item,
         "MMnu_FileSaveToFileCallback", "Ctrl+S");
    item(UI_ID(MAINMNU_FILE_PRESETS), "Pr__esets…", MAINMNU_FILE, MenuKind::Item, "MMnu_PresetsCallback");
    item(UI_ID(MAINMNU_FILE_SPLIT), "Spli__t Screen…", MAINMNU_FILE, MenuKind::Item,
         "MMnu_FileSplitCallback");
    item(UI_ID(MAINMNU_FILE_SEPARATOR), "", MAINMNU_FILE, MenuKind::Separator, nullptr);
    item(UI_ID(MAINMNU_FILE_FTEST), "__FPGA Access…", MAINMNU_FILE, MenuKind::Item, "MMnu_FPGACallback");
    item(UI_ID(MAINMNU_FILE_AFEACC), "__AFE Access…", MAINMNU_FILE, MenuKind::Item, "MMnu_AFECallback");
    item(UI_ID(MAINMNU_FILE_RECENTSEP), "", MAINMNU_FILE, MenuKind::Separator, nullptr);
    // Labelled with the files at run time.
    item(MAINMNU_FILE_RECENT1, "MAINMNU_FILE_RECENT1", "__1", MAINMNU_FILE, MenuKind::Item,
         "MMnu_RecentFileCallback");
    item(MAINMNU_FILE_RECENT1 + 1, "MAINMNU_FILE_RECENT2", "__2", MAINMNU_FILE, MenuKind::Item,
         "MMnu_RecentFileCallback");
    item(MAINMNU_FILE_RECENT1 + 2, "MAINMNU_FILE_RECENT3", "__3", MAINMNU_FILE, MenuKind::Item,
         "MMnu_RecentFileCallback");
    item(MAINMNU_FILE_RECENT1 + 3, "MAINMNU_FILE_RECENT4", "__4", MAINMNU_FILE, MenuKind::Item,
         "MMnu_RecentFileCallback");
    item(MAINMNU_FILE_RECENT1 + 4, "MAINMNU_FILE_RECENT5", "__5", MAINMNU_FILE, MenuKind::Item,
         "MMnu_RecentFileCallback");
    item(UI_ID(MAINMNU_FILE_EXIT), "E__xit", MAINMNU_FILE, MenuKind::Item, "MMnu_QuitProg", "Ctrl+Q");
    item(UI_ID(MAINMNU_EDIT), "__Edit", 0, MenuKind::Menu, nullptr);
    item(UI_ID(MAINMNU_EDIT_RESTORE), "__Restore Previous Settings", MAINMNU_EDIT, MenuKind::Item,
         "MMnu_RestoreCallback");
    item(UI_ID(MAINMNU_VIEW), "__View", 0, MenuKind::Menu, nullptr);
    item(UI_ID(MAINMNU_VIEW_REFRESH), "__Refresh", MAINMNU_VIEW, MenuKind::Item, "MMnu_RefreshCallback",
         "F5");
    // Chosen straight from the bar.
    item(UI_ID(MAINMNU_ADVSET), "__Advanced Settings…", 0, MenuKind::Item, "MMnu_AdvSetCallback");
    item(UI_ID(MAINMNU_COLORPROC), "__Color Processing…", 0, MenuKind::Item, "MMnu_CProcCallback");
    item(UI_ID(MAINMNU_HELP), "__Help", 0, MenuKind::Menu, nullptr);
    item(UI_ID(MAINMNU_HELP_GUIDE), "__User Guide", MAINMNU_HELP, MenuKind::Item, "MMnu_UserGuideCallback",
         "F1");
    item(UI_ID(MAINMNU_HELP_ABOUT), "__About Ulvo ICCD Camera Control…", MAINMNU_HELP, MenuKind::Item,
         "MMnu_AboutCallback");
    return bar;
}

}  // namespace ulvo

void RegisterUlvoIccdResources()
{
    static bool registered = false;
    if (registered) return;
    registered = true;
    using namespace ulvo;
    uires::File file;
    file.name = kUlvoIccdUir;
    file.panels = {AdvSetPanel(),      AdvSetColourPanel(), AfePanel(),          ColourProcessingPanel(),
                   SaveToFilePanel(),  FpgaPanel(),         LoadProgressPanel(), LoadSetPanel(),
                   MainPanel(),        McpWarningPanel(),   PreferencesPanel(),  SaveSetPanel(),
                   SplitScreenPanel(), PresetsPanel()};
    file.menuBars = {MainMenuBar()};
    uires::RegisterFile(std::move(file));
}
