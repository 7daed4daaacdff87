// The main window against a simulated camera, as the program sets it up: the
// panel and its menu bar loaded, shaped for the model and filled from the
// camera.  Pop-ups are recorded, not shown.
#pragma once

#include <string>
#include <vector>

#include "panels/PanelGlobals.h"
#include "support/SimLink.h"
#include "support/UiTestDriver.h"

class MainPanelTest : public SimLinkTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Connects a camera of the model; screen 0 is the user screen, 1 the
    /// factory screen.  Change the camera, then call show().
    void connect(const char* model, int screen = 0);
    /// Loads a fresh main window and shapes and fills it as start-up does;
    /// then forgets the traffic and pop-ups so far.
    void show();
    void start(const char* model, int screen = 0)
    {
        connect(model, screen);
        show();
    }

    static int panel() { return g_mainpanel; }
    static int intVal(int control) { return value<int>(control); }
    static double realVal(int control) { return value<double>(control); }
    static bool visible(int control) { return attribute<int>(control, ATTR_VISIBLE) != 0; }
    static bool dimmed(int control) { return attribute<int>(control, ATTR_DIMMED) != 0; }
    static std::string label(int control) { return attribute<std::string>(control, ATTR_LABEL_TEXT); }
    static double minOf(int control) { return attribute<double>(control, ATTR_MIN_VALUE); }
    static double maxOf(int control) { return attribute<double>(control, ATTR_MAX_VALUE); }
    static int height(int control) { return attribute<int>(control, ATTR_HEIGHT); }
    static int items(int control);
    static bool menuDimmed(int item);
    static std::string title();
    static std::string statusLine();
    /// Why the control holds no value; empty when it holds one.
    static std::string noValue(int control, int onPanel = 0)
    {
        std::string reason;
        GetCtrlAttribute(onPanel ? onPanel : g_mainpanel, control, ATTR_NO_VALUE_REASON, &reason);
        return reason;
    }

    static std::vector<uitest::Popup> popups() { return uitest::Popups(); }

    template <typename T>
    static T value(int control)
    {
        T v{};
        EXPECT_EQ(GetCtrlVal(g_mainpanel, control, &v), 0) << control;
        return v;
    }
    template <typename T>
    static T attribute(int control, int which)
    {
        T v{};
        EXPECT_EQ(GetCtrlAttribute(g_mainpanel, control, which, &v), 0) << control;
        return v;
    }

    /// Height of the 47x frame in the window as laid out, before shaping.
    int laidOutFrame_ = 0;
};

/// One recorded "ERROR" pop-up with the text.
inline uitest::Popup Error(const std::string& text)
{
    return {"ERROR", text};
}
