// The main window: camera settings on the left, lens drives in the middle,
// the 47x family's image processing on the right, and the factory controls
// with the traffic monitor across the bottom.
#include "camera/Models.h"
#include "resources/UlvoIccdParts.h"

namespace ulvo {

namespace {

using namespace uires;

constexpr int kLeftColumn = -1;
constexpr int kMiddleColumn = -2;
constexpr int kButtons = -3;
constexpr int kMonitorButtons = -4;

const char kVal[] = "Mpnl_ValCallback";
const char kLens[] = "Mpnl_ZFICallback";

Ctrl lensButton(int id, std::string name, Arrow arrow, int frame, int col)
{
    const bool up = arrow == Arrow::Up || arrow == Arrow::FastUp;
    const bool fast = arrow == Arrow::FastUp || arrow == Arrow::FastDown;
    std::string tip = std::string(fast ? "Coarse" : "Fine") + (up ? " up" : " down") + ": drives while held";
    return ArrowButton(id, std::move(name), arrow).cb(kLens).tip(tip).at(frame, 0, col);
}

// Every item's value is its model-table row: that is what ":CAM=" sends.
std::vector<Item> modelItems()
{
    std::vector<Item> items(kCamModelCount);
    for (int row = 0; row < kCamModelCount; ++row)
        items[kCamModels[row].ringPlace] = {kCamModels[row].name, row};
    return items;
}

}  // namespace

Panel MainPanel()
{
    Panel p;
    p.id = MAIN;
    p.name = "MAIN";
    p.title = "Ulvo ICCD Camera Control";
    p.callback = "M_PnlCallback";
    auto& c = p.ctrls;

    // Columns.
    c.push_back(Frame(kLeftColumn, "").at(0, 0, 0));
    c.back().flat = true;
    c.push_back(Frame(kMiddleColumn, "").at(0, 0, 1));
    c.back().flat = true;
    c.back().stretchRow = 3;
    c.push_back(Frame(UI_ID(MAIN_DEC_VK47X), "Image Processing").at(0, 0, 2));

    // Gain and level control.
    c.push_back(Frame(UI_ID(MAIN_DECORATION), "Gain and Level").at(kLeftColumn, 0, 0));
    c.push_back(Ring(UI_ID(MAIN_MODE), "ALC Mode", ManualAutomatic()).cb(kVal).at(MAIN_DECORATION, 0, 0));
    c.push_back(Numeric(UI_ID(MAIN_ALV), "ALC Level")
                    .range(20, Settings_LaidOut("ALV"), 1)
                    .cb(kVal)
                    .at(MAIN_DECORATION, 1, 0));
    c.push_back(Numeric(UI_ID(MAIN_AGN), "Manual Gain\n(dB)", Type::Float)
                    .range(20.0, Settings_LaidOut("AGN"), 1.0)
                    .prec(2)
                    .cb(kVal)
                    .at(MAIN_DECORATION, 2, 0));
    c.push_back(Numeric(UI_ID(MAIN_AMX), "ALC Max Gain\n(dB)", Type::Float)
                    .range(20.0, Settings_LaidOut("AMX"), 0.1)
                    .prec(2)
                    .cb(kVal)
                    .at(MAIN_DECORATION, 3, 0));
    c.push_back(Numeric(UI_ID(MAIN_SMX), "ALC Max Shutter Speed\n(lines)")
                    .range(1, Settings_LaidOut("SMX"), 1)
                    .cb(kVal)
                    .at(MAIN_DECORATION, 4, 0));

    // Shutter and video.
    c.push_back(Frame(UI_ID(MAIN_DECORATION_4), "Shutter and Video").at(kLeftColumn, 1, 0));
    c.push_back(Ring(UI_ID(MAIN_SHE), "Shutter Control", OffOn()).cb(kVal).at(MAIN_DECORATION_4, 0, 0));
    c.push_back(Numeric(UI_ID(MAIN_SHS), "Shutter Speed\n(lines)")
                    .range(1, Settings_LaidOut("SHS"), 1)
                    .cb(kVal)
                    .at(MAIN_DECORATION_4, 1, 0));
    c.push_back(Numeric(UI_ID(MAIN_TIMEMS), "msec", Type::Double)
                    .range(0.0, 0.0, 10000.0, 0.0)
                    .prec(2)
                    .cb(kVal)
                    .labelPos(LabelAt::Right)
                    .tip("Shutter time: one line lasts 63.56 microseconds; a time typed here is set as the "
                         "nearest number of lines")
                    .at(MAIN_DECORATION_4, 1, 1));
    c.push_back(
        Ring(UI_ID(MAIN_GAM), "Gamma", {{"1.0", 0}, {"0.45", 1}}).cb(kVal).at(MAIN_DECORATION_4, 2, 0));
    c.push_back(Ring(UI_ID(MAIN_VMD), "Vertical Mode", {{"Frame", 0}, {"Field", 1}})
                    .cb(kVal)
                    .at(MAIN_DECORATION_4, 3, 0));

    // Synchronisation and trigger.
    c.push_back(Frame(UI_ID(MAIN_DECORATION_6), "Sync and Trigger").at(kLeftColumn, 2, 0));
    c.push_back(
        Ring(UI_ID(MAIN_MFI), "MFI\nInput", {{"VD Input", 0}, {"CSYNC Input", 1}, {"Trigger Input", 2}})
            .cb(kVal)
            .tip("Multi-function input")
            .at(MAIN_DECORATION_6, 0, 0));
    c.push_back(Ring(UI_ID(MAIN_MFT), "MFI\nTermination", {{"Hi Z", 0}, {"75 ohm", 1}})
                    .cb(kVal)
                    .at(MAIN_DECORATION_6, 1, 0));
    c.push_back(Ring(UI_ID(MAIN_TMD), "Trigger Mode",
                     {{"Off", 0}, {"Async Reset", 1}, {"Edge Pre-select", 2}, {"Pulse Width Mode", 3}})
                    .cb(kVal)
                    .at(MAIN_DECORATION_6, 2, 0));

    // Lens drives, one group per axis; the captions come from the preferences.
    const struct {
        int frame, caption;
        const char *frameName, *captionName, *text;
        int ids[4];
        const char* names[4];
    } axes[] = {
        {MAIN_DECORATION_9,
         MAIN_L1,
         "MAIN_DECORATION_9",
         "MAIN_L1",
         "Zoom Control",
         {MAIN_ZM_BIGUP, MAIN_ZM_SMALLUP, MAIN_ZM_SMALLDOWN, MAIN_ZM_BIGDOWN},
         {"MAIN_ZM_BIGUP", "MAIN_ZM_SMALLUP", "MAIN_ZM_SMALLDOWN", "MAIN_ZM_BIGDOWN"}},
        {MAIN_DECORATION_10,
         MAIN_L2,
         "MAIN_DECORATION_10",
         "MAIN_L2",
         "Focus Control",
         {MAIN_FOC_BIGUP, MAIN_FOC_SMALLUP, MAIN_FOC_SMALLDOWN, MAIN_FOC_BIGDOWN},
         {"MAIN_FOC_BIGUP", "MAIN_FOC_SMALLUP", "MAIN_FOC_SMALLDOWN", "MAIN_FOC_BIGDOWN"}},
        {MAIN_DECORATION_12,
         MAIN_L3,
         "MAIN_DECORATION_12",
         "MAIN_L3",
         "Iris Control",
         {MAIN_IRC_BIGUP, MAIN_IRC_SMALLUP, MAIN_IRC_SMALLDOWN, MAIN_IRC_BIGDOWN},
         {"MAIN_IRC_BIGUP", "MAIN_IRC_SMALLUP", "MAIN_IRC_SMALLDOWN", "MAIN_IRC_BIGDOWN"}},
    };
    const Arrow arrows[] = {Arrow::FastUp, Arrow::Up, Arrow::Down, Arrow::FastDown};
    int row = 0;
    for (const auto& axis : axes) {
        c.push_back(Frame(axis.frame, axis.frameName).at(kMiddleColumn, row++, 0));
        c.push_back(TextMsg(axis.caption, axis.captionName, axis.text).caption(axis.frame));
        for (int i = 0; i < 4; ++i)
            c.push_back(lensButton(axis.ids[i], axis.names[i], arrows[i], axis.frame, i));
    }
    c.push_back(Frame(kButtons, "").at(kMiddleColumn, 4, 0));
    c.back().flat = true;
    c.push_back(Button(UI_ID(MAIN_REFRESH), "__Refresh")
                    .cb("Mpnl_RefreshButtonCallback")
                    .tip("Read every setting from the camera again")
                    .aligned(Align::Fill)
                    .at(kButtons, 0, 0));
    c.push_back(Led(UI_ID(MAIN_REF_ACTIVE), "")
                    .labelPos(LabelAt::None)
                    .placed(Place::ValueColumn)
                    .tip("Lit while the settings are read from the camera")
                    .at(kButtons, 0, 1));
    c.push_back(Button(UI_ID(MAIN_QUIT), "__Quit")
                    .cb("M_QuitButtonCallback")
                    .aligned(Align::Fill)
                    .at(kButtons, 1, 0));

    // Image processing of the 47x family; the colour controls show for colour models.
    const int vk = MAIN_DEC_VK47X;
    c.push_back(Ring(UI_ID(MAIN_DFC), "White Blemish\nCompensation", OffOn()).cb(kVal).at(vk, 0, 0));
    c.push_back(Ring(UI_ID(MAIN_MIR), "Mirror Image", OffOn()).cb(kVal).at(vk, 1, 0));
    c.push_back(Ring(UI_ID(MAIN_CMD), "Color Mode", {{"Mono", 0}, {"Color", 1}}).cb(kVal).at(vk, 2, 0));
    c.push_back(TextMsg(UI_ID(MAIN_CGAIN_TXT), "Color Gain").asHeading().at(vk, 3, 0));
    const char* gains[] = {"Red", "Green", "Blue"};
    const int gainIds[] = {MAIN_CGAIN_RED, MAIN_CGAIN_GREEN, MAIN_CGAIN_BLUE};
    const char* gainNames[] = {"MAIN_CGAIN_RED", "MAIN_CGAIN_GREEN", "MAIN_CGAIN_BLUE"};
    const char* gainSettings[] = {"CGR", "CGG", "CGB"};
    for (int i = 0; i < 3; ++i)
        c.push_back(Numeric(gainIds[i], gainNames[i], gains[i], Type::Float)
                        .range(2.0, Settings_LaidOut(gainSettings[i]), 0.1)
                        .prec(3)
                        .cb(kVal)
                        .at(vk, 4 + i, 0));
    c.push_back(Numeric(UI_ID(MAIN_IPH), "Interpolator Phase")
                    .range(1, Settings_LaidOut("IPH"), 1)
                    .cb(kVal)
                    .at(vk, 7, 0));
    c.push_back(Frame(UI_ID(MAIN_AWB_BOX)).at(vk, 8, 0));
    c.push_back(TextMsg(UI_ID(MAIN_AWB_TXT), "White Balance").caption(MAIN_AWB_BOX));
    c.push_back(
        Ring(UI_ID(MAIN_WBM), "White Balance\nMode", ManualAutomatic()).cb(kVal).at(MAIN_AWB_BOX, 0, 0));
    c.push_back(
        Button(UI_ID(MAIN_AWB), "AW__B").cb(kVal).tip("Balance the white once now").at(MAIN_AWB_BOX, 0, 1));
    const struct {
        int id;
        const char *name, *label, *setting;
    } sliders[] = {{MAIN_HUE, "MAIN_HUE", "Hue (%)", "HUE"},
                   {MAIN_VSAT, "MAIN_VSAT", "V-Sat (%)", "VSA"},
                   {MAIN_USAT, "MAIN_USAT", "U-Sat (%)", "USA"},
                   {MAIN_YGAIN, "MAIN_YGAIN", "Y-Gain (%)", "YGA"}};
    row = 9;
    for (const auto& s : sliders)
        c.push_back(Slide(s.id, s.name, s.label, Type::Float)
                        .range(0.0, Settings_LaidOut(s.setting), 1.0)
                        .prec(1)
                        .cb(kVal)
                        .at(vk, row++, 0));

    // Factory screen: model selector, user access and the serial traffic.
    c.push_back(Frame(UI_ID(MAIN_FACBOX), "Factory Settings").at(0, 1, 0, 1, 3));
    c.push_back(Ring(UI_ID(MAIN_MODEL), "Camera Model", modelItems())
                    .cb(kVal)
                    .tip("Tells the camera which model it is; the FPGA must suit the model")
                    .at(MAIN_FACBOX, 0, 0));
    const char* access = "* Whether the user screen may change this setting; kept in the camera";
    c.push_back(Ring(UI_ID(MAIN_AGC_ACCESS), "ALC User Access *", DisabledEnabled())
                    .cb(kVal)
                    .tip(access)
                    .at(MAIN_FACBOX, 0, 1));
    c.push_back(Ring(UI_ID(MAIN_DFC_ACCESS), "Blemish User Access *", DisabledEnabled())
                    .cb(kVal)
                    .tip(access)
                    .at(MAIN_FACBOX, 0, 2));
    c.push_back(TextBox(UI_ID(MAIN_RS232), "RS-232", 8)
                    .display()
                    .tip("Every command sent to the camera and every reply line received")
                    .minWidth(600)
                    .at(MAIN_FACBOX, 1, 0, 1, 3));
    c.push_back(ButtonRow(kMonitorButtons).at(MAIN_FACBOX, 2, 0, 1, 3));
    c.push_back(Toggle(UI_ID(MAIN_MON_PAUSE), "__Pause")
                    .cb("Mpnl_MonitorCallback")
                    .tip("Holds the monitor still; the lines of the pause are counted, not shown")
                    .at(kMonitorButtons, 0, 0));
    c.push_back(Button(UI_ID(MAIN_MON_CLEAR), "C__lear")
                    .cb("Mpnl_MonitorCallback")
                    .tip("Empties the monitor")
                    .at(kMonitorButtons, 0, 1));
    c.push_back(Button(UI_ID(MAIN_MON_SAVE), "__Save…")
                    .cb("Mpnl_MonitorCallback")
                    .tip("Writes the monitor's lines to a text file")
                    .at(kMonitorButtons, 0, 2));
    c.push_back(String(UI_ID(MAIN_MON_FILTER), "Fil__ter")
                    .cb("Mpnl_MonitorCallback")
                    .tip("Shows only the lines that contain this text, in any case; every line is still kept")
                    .at(MAIN_FACBOX, 3, 0));
    c.push_back(String(UI_ID(MAIN_MON_COMMAND), "Co__mmand")
                    .cb("Mpnl_MonitorCallback")
                    .commitOnEnterOnly()
                    .tip("A command line for the camera, as \":AGN?\"; Enter or Send sends it with its CR")
                    .at(MAIN_FACBOX, 3, 1));
    c.push_back(Button(UI_ID(MAIN_MON_SEND), "Sen__d")
                    .cb("Mpnl_MonitorCallback")
                    .tip("Sends the command line to the camera once the link is free")
                    .at(MAIN_FACBOX, 3, 2));
    return p;
}

}  // namespace ulvo
