// The Advanced Settings pop-up over the main window, against a simulated
// camera, opened as the operator opens it: from the menu.
#pragma once

#include <string>

#include "MainPanelFixture.h"
#include "panels/AdvSetPnl.h"
#include "resources/UlvoIccd.h"

class AdvSetTest : public MainPanelTest {
protected:
    void SetUp() override
    {
        MainPanelTest::SetUp();
        AdvSetPnl_RegisterCallbacks();
    }

    /// Chooses "Advanced Settings"; returns the pop-up it opened (0 when none).
    /// The opening's traffic is forgotten unless keepTraffic.
    int open(bool keepTraffic = false)
    {
        if (uitest::TopPopup() != 0) RemovePopup(1);  // what an earlier open left
        EXPECT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, MAINMNU_ADVSET), 0);
        adv_ = uitest::TopPopup();
        EXPECT_EQ(adv_, g_advset_panel);
        if (!keepTraffic) clearLog();
        return adv_;
    }

    int advInt(int control) const { return get<int>(control); }
    double advReal(int control) const { return get<double>(control); }
    std::string advText(int control) const { return get<std::string>(control); }
    int advAttr(int control, int attribute) const
    {
        int v = -1;
        EXPECT_EQ(GetCtrlAttribute(adv_, control, attribute, &v), 0) << control;
        return v;
    }
    double advLimit(int control, int attribute) const
    {
        double v = -1;
        EXPECT_EQ(GetCtrlAttribute(adv_, control, attribute, &v), 0) << control;
        return v;
    }
    bool advVisible(int control) const { return advAttr(control, ATTR_VISIBLE) != 0; }
    bool advDimmed(int control) const { return advAttr(control, ATTR_DIMMED) != 0; }
    bool advDisplayOnly(int control) const { return advAttr(control, ATTR_CTRL_MODE) == VAL_INDICATOR; }

    int adv_ = 0;

private:
    template <typename T>
    T get(int control) const
    {
        T v{};
        EXPECT_EQ(GetCtrlVal(adv_, control, &v), 0) << control;
        return v;
    }
};
