// A small resource for the user-interface service tests, one control of
// every kind, and a recorder for the callbacks they fire.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/UiTestDriver.h"
#include "ui/Ui.h"

inline constexpr char kTestUir[] = "test.uir";

// Panel DEMO and its controls.
inline constexpr int DEMO = 1;
inline constexpr int DEMO_COUNT = 2;    // numeric int 0..100, default 10
inline constexpr int DEMO_GAIN = 3;     // numeric float 0..32 step 0.5, 2 digits, default 20
inline constexpr int DEMO_MODE = 4;     // ring Off 0, On 1, Auto 5
inline constexpr int DEMO_NAME = 5;     // string, 8 characters
inline constexpr int DEMO_LOG = 6;      // text box
inline constexpr int DEMO_CAPTION = 7;  // text message captioning DEMO_BOX
inline constexpr int DEMO_BOX = 8;      // frame around COUNT, GAIN, MODE
inline constexpr int DEMO_APPLY = 9;    // command button "__Apply"
inline constexpr int DEMO_UP = 10;      // arrow button
inline constexpr int DEMO_ENABLE = 11;  // check box
inline constexpr int DEMO_BIT = 12;     // toggle
inline constexpr int DEMO_LAMP = 13;    // LED
inline constexpr int DEMO_LEVEL = 14;   // slide 0..100 step 1
inline constexpr int DEMO_ADDR = 15;    // hexadecimal numeric 0..255
inline constexpr int DEMO_SHOWN = 16;   // numeric, display only

// Panel DIALOG: the close box and Esc press Cancel.
inline constexpr int DIALOG = 2;
inline constexpr int DIALOG_OK = 2;
inline constexpr int DIALOG_CANCEL = 3;

// Menu bar BAR.
inline constexpr int BAR = 1;
inline constexpr int BAR_FILE = 2;
inline constexpr int BAR_FILE_OPEN = 3;
inline constexpr int BAR_FILE_SEP = 4;
inline constexpr int BAR_FILE_MORE = 5;  // submenu
inline constexpr int BAR_FILE_MORE_ONE = 6;
inline constexpr int BAR_FILE_QUIT = 7;
inline constexpr int BAR_TOOLS = 8;  // chosen straight from the bar

/// Registers kTestUir (once).
void RegisterTestResource();

/// Events seen by the recording callbacks, which the resource names
/// "Record" (controls and panels) and "RecordMenu".
struct Seen {
    int panel, control, event;
    void* data;
    bool operator==(const Seen&) const = default;
};
struct SeenMenu {
    int menuBar, item, panel;
    void* data;
    bool operator==(const SeenMenu&) const = default;
};
std::vector<Seen>& SeenEvents();
std::vector<SeenMenu>& SeenMenus();
/// Commits only, as (control) numbers.
std::vector<int> Commits();
/// Registers the recorders under their names and clears what they saw.
void StartRecording();

/// A control's value or attribute, a panel's attribute; the read must succeed.
template <typename T = int>
T CtrlValue(int panel, int control)
{
    T v{};
    EXPECT_EQ(GetCtrlVal(panel, control, &v), 0);
    return v;
}
template <typename T = int>
T CtrlAttr(int panel, int control, int attribute)
{
    T v{};
    EXPECT_EQ(GetCtrlAttribute(panel, control, attribute, &v), 0);
    return v;
}
template <typename T = int>
T PanelAttr(int panel, int attribute)
{
    T v{};
    EXPECT_EQ(GetPanelAttribute(panel, attribute, &v), 0);
    return v;
}

/// Each test starts on a clean slate, with the resource registered and the
/// recorders on.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestResource();
        uitest::Reset();
        StartRecording();
    }
    void TearDown() override { uitest::Reset(); }
};
