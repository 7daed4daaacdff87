#include "UiTestResource.h"

#include "ui/UiResource.h"

using namespace uires;

namespace {

int record(int panel, int control, int event, void* data, int, int)
{
    SeenEvents().push_back({panel, control, event, data});
    return 0;
}

void recordMenu(int menuBar, int item, void* data, int panel)
{
    SeenMenus().push_back({menuBar, item, panel, data});
}

Panel demo()
{
    Panel p;
    p.id = DEMO;
    p.name = "DEMO";
    p.title = "Demo";
    p.callback = "Record";
    auto& c = p.ctrls;
    c.push_back(Frame(DEMO_BOX, "DEMO_BOX").at(0, 0, 0));
    c.push_back(TextMsg(DEMO_CAPTION, "DEMO_CAPTION", "Settings").caption(DEMO_BOX));
    c.push_back(
        Numeric(DEMO_COUNT, "DEMO_COUNT", "Count").range(10, 0, 100, 1).cb("Record").at(DEMO_BOX, 0, 0));
    c.push_back(Numeric(DEMO_GAIN, "DEMO_GAIN", "Gain\n(dB)", Type::Float)
                    .range(20.0, 0.0, 32.0, 0.5)
                    .prec(2)
                    .unit("dB")
                    .cb("Record")
                    .at(DEMO_BOX, 1, 0));
    c.push_back(Ring(DEMO_MODE, "DEMO_MODE", "Mode", {{"Off", 0}, {"On", 1}, {"Auto", 5}})
                    .cb("Record")
                    .at(DEMO_BOX, 2, 0));
    c.push_back(String(DEMO_NAME, "DEMO_NAME", "__Name").maxLen(8).cb("Record").at(0, 1, 0));
    c.push_back(TextBox(DEMO_LOG, "DEMO_LOG", "Log", 4).cb("Record").at(0, 2, 0));
    c.push_back(Button(DEMO_APPLY, "DEMO_APPLY", "__Apply").cb("Record").at(0, 3, 0));
    c.push_back(ArrowButton(DEMO_UP, "DEMO_UP", Arrow::FastUp).cb("Record").at(0, 3, 1));
    c.push_back(CheckBox(DEMO_ENABLE, "DEMO_ENABLE", "Enable").cb("Record").at(0, 4, 0));
    c.push_back(Toggle(DEMO_BIT, "DEMO_BIT", "7").cb("Record").at(0, 4, 1));
    c.push_back(Led(DEMO_LAMP, "DEMO_LAMP", "Busy").at(0, 5, 0));
    c.push_back(
        Slide(DEMO_LEVEL, "DEMO_LEVEL", "Level").range(0, 0, 100, 1).prec(1).cb("Record").at(0, 6, 0));
    c.push_back(
        Numeric(DEMO_ADDR, "DEMO_ADDR", "Address").range(0, 0, 255, 1).hex("0x").cb("Record").at(0, 7, 0));
    c.push_back(
        Numeric(DEMO_SHOWN, "DEMO_SHOWN", "Shown").range(0, 0, 1000, 1).display().cb("Record").at(0, 8, 0));
    return p;
}

Panel dialog()
{
    Panel p;
    p.id = DIALOG;
    p.name = "DIALOG";
    p.title = "Dialog";
    p.callback = "Record";
    p.closeCtrl = DIALOG_CANCEL;
    p.ctrls.push_back(ButtonRow(-1).at(0, 0, 0));
    p.ctrls.push_back(Button(DIALOG_OK, "DIALOG_OK", "__OK").cb("Record").at(-1, 0, 0));
    p.ctrls.push_back(Button(DIALOG_CANCEL, "DIALOG_CANCEL", "__Cancel").cb("Record").at(-1, 0, 1));
    return p;
}

MenuBar bar()
{
    MenuBar m;
    m.id = BAR;
    m.name = "BAR";
    m.items = {
        {BAR_FILE, "BAR_FILE", "__File", 0, MenuKind::Menu, "", ""},
        {BAR_FILE_OPEN, "BAR_FILE_OPEN", "__Open", BAR_FILE, MenuKind::Item, "RecordMenu", "Ctrl+O"},
        {BAR_FILE_SEP, "BAR_FILE_SEP", "", BAR_FILE, MenuKind::Separator, "", ""},
        {BAR_FILE_MORE, "BAR_FILE_MORE", "__More", BAR_FILE, MenuKind::Menu, "", ""},
        {BAR_FILE_MORE_ONE, "BAR_FILE_MORE_ONE", "One", BAR_FILE_MORE, MenuKind::Item, "RecordMenu", "F6"},
        {BAR_FILE_QUIT, "BAR_FILE_QUIT", "E__xit", BAR_FILE, MenuKind::Item, "RecordMenu", ""},
        {BAR_TOOLS, "BAR_TOOLS", "__Tools & More", 0, MenuKind::Item, "RecordMenu", ""}};
    return m;
}

}  // namespace

void RegisterTestResource()
{
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFile({kTestUir, {demo(), dialog()}, {bar()}});
}

std::vector<Seen>& SeenEvents()
{
    static std::vector<Seen> all;
    return all;
}

std::vector<SeenMenu>& SeenMenus()
{
    static std::vector<SeenMenu> all;
    return all;
}

std::vector<int> Commits()
{
    std::vector<int> controls;
    for (const Seen& s : SeenEvents())
        if (s.event == EVENT_COMMIT) controls.push_back(s.control);
    return controls;
}

void StartRecording()
{
    RegisterUiCallback("Record", &record);
    RegisterUiCallback("RecordMenu", &recordMenu);
    SeenEvents().clear();
    SeenMenus().clear();
}
