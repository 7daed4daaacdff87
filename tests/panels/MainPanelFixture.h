// The main window against a simulated camera, as the program sets it up: the
// panel and its menu bar loaded, shaped for the model and filled from the
// camera.  Pop-ups are recorded, not shown.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "panels/AdvSetPnl.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "resources/UlvoIccd.h"
#include "support/SimLink.h"
#include "support/UiTestDriver.h"

using Lines = std::vector<std::string>;

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
    using Regs = std::initializer_list<std::pair<const char*, int>>;
    void start(const char* model, int screen = 0) { start(model, {}, screen); }
    /// start() with these registers of the camera set first.
    void start(const char* model, Regs regs, int screen = 0)
    {
        connect(model, screen);
        setRegs(regs);
        show();
    }
    void setRegs(Regs regs)
    {
        for (const auto& [name, value] : regs) camera().setReg(name, value);
    }

    // Each accessor reads the main window unless given another panel p.
    static int panel() { return g_mainpanel; }
    static int intVal(int control, int p = g_mainpanel) { return value<int>(control, p); }
    static double realVal(int control, int p = g_mainpanel) { return value<double>(control, p); }
    static std::string textVal(int control, int p = g_mainpanel) { return value<std::string>(control, p); }
    static bool visible(int control, int p = g_mainpanel) { return attribute<int>(control, ATTR_VISIBLE, p); }
    static bool dimmed(int control, int p = g_mainpanel) { return attribute<int>(control, ATTR_DIMMED, p); }
    /// Checks that each control is shown, or not, as paired.
    static void expectVisible(std::initializer_list<std::pair<int, bool>> want, int p = g_mainpanel)
    {
        for (const auto& [control, shown] : want) EXPECT_EQ(visible(control, p), shown) << control;
    }
    static void expectVisible(std::initializer_list<int> controls, bool shown, int p = g_mainpanel)
    {
        for (int control : controls) EXPECT_EQ(visible(control, p), shown) << control;
    }
    static void expectDimmed(std::initializer_list<int> controls, bool dim, int p = g_mainpanel)
    {
        for (int control : controls) EXPECT_EQ(dimmed(control, p), dim) << control;
    }
    static std::string label(int control) { return attribute<std::string>(control, ATTR_LABEL_TEXT); }
    static double minOf(int control) { return attribute<double>(control, ATTR_MIN_VALUE); }
    static double maxOf(int control) { return attribute<double>(control, ATTR_MAX_VALUE); }
    static int height(int control) { return attribute<int>(control, ATTR_HEIGHT); }
    static int items(int control, int onPanel = g_mainpanel);
    static bool menuDimmed(int item);
    static std::string title(int p = g_mainpanel) { return panelAttribute<std::string>(ATTR_TITLE, p); }
    static std::string statusLine(int p = g_mainpanel)
    {
        return panelAttribute<std::string>(ATTR_STATUS_TEXT, p);
    }
    /// Why the control holds no value; empty when it holds one.
    static std::string noValue(int control, int p = g_mainpanel)
    {
        return attribute<std::string>(control, ATTR_NO_VALUE_REASON, p);
    }
    /// What the status line says the last action did, without its "HH:MM:SS ".
    static std::string lastAction() { return Mpnl_LastAction().substr(9); }

    static std::vector<uitest::Popup> popups() { return uitest::Popups(); }
    /// Commits the value and returns what that sent.
    template <typename V>
    std::vector<std::string> sends(int control, V value, int onPanel = g_mainpanel)
    {
        clearLog();
        EXPECT_EQ(uitest::Commit(onPanel, control, value), 0) << control;
        return sent();
    }
    /// The first n lines sent, or all of them if fewer went out.
    std::vector<std::string> firstSent(std::size_t n)
    {
        return {sent().begin(), sent().begin() + std::min(n, sent().size())};
    }

    template <typename T>
    static T value(int control, int onPanel = g_mainpanel)
    {
        T v{};
        EXPECT_EQ(GetCtrlVal(onPanel, control, &v), 0) << control;
        return v;
    }
    template <typename T>
    static T attribute(int control, int which, int onPanel = g_mainpanel)
    {
        T v{};
        EXPECT_EQ(GetCtrlAttribute(onPanel, control, which, &v), 0) << control;
        return v;
    }
    template <typename T>
    static T panelAttribute(int which, int onPanel = g_mainpanel)
    {
        T v{};
        EXPECT_EQ(GetPanelAttribute(onPanel, which, &v), 0) << which;
        return v;
    }

    /// Height of the 47x frame in the window as laid out, before shaping.
    int laidOutFrame_ = 0;
};

/// A pop-up over the main window, opened as the operator opens it: from the
/// menu.  The pop* accessors read it.
class PopupTest : public MainPanelTest {
protected:
    /// Chooses the menu item; returns the pop-up it opened.  The opening's
    /// traffic stays in the log.
    int openPopup(int item)
    {
        if (uitest::TopPopup() != 0) RemovePopup(1);  // what an earlier open left
        EXPECT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, item), 0);
        pop_ = uitest::TopPopup();
        EXPECT_GT(pop_, 0);
        return pop_;
    }

    int popInt(int control) const { return intVal(control, pop_); }
    double popReal(int control) const { return realVal(control, pop_); }
    std::string popText(int control) const { return textVal(control, pop_); }
    int popAttr(int control, int which) const { return attribute<int>(control, which, pop_); }
    double popLimit(int control, int which) const { return attribute<double>(control, which, pop_); }
    bool popVisible(int control) const { return visible(control, pop_); }
    bool popDimmed(int control) const { return dimmed(control, pop_); }
    bool popDisplayOnly(int control) const { return popAttr(control, ATTR_CTRL_MODE) == VAL_INDICATOR; }
    template <typename V>
    std::vector<std::string> popSends(int control, V value)
    {
        return sends(control, value, pop_);
    }

    int pop_ = 0;
};

/// The Advanced Settings pop-up.
class AdvSetTest : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        AdvSetPnl_RegisterCallbacks();
    }
    /// Chooses "Advanced Settings"; the opening's traffic is forgotten unless keepTraffic.
    int open(bool keepTraffic = false)
    {
        EXPECT_EQ(openPopup(MAINMNU_ADVSET), g_advset_panel);
        if (!keepTraffic) clearLog();
        return pop_;
    }
};

/// Why a setting whose query the camera refused, or that a stopped reading never asked, holds no value.
inline const std::string kNak = "Not read from the camera: Camera returned error message NAK.";
inline const std::string kStopped =
    "Not read from the camera: the reading stopped at its fourth failed query.";

/// One recorded "ERROR" pop-up with the text.
inline uitest::Popup Error(const std::string& text)
{
    return {"ERROR", text};
}

/// The "ERROR" pop-up of a step the camera refused, named as the message names
/// it ("Setting GAM (Gamma) to 0").
inline uitest::Popup Refused(const std::string& step)
{
    return Error("Camera returned error message NAK.\n" + step + ": the camera refused it.");
}
