// The Advanced Settings pop-up over the main window, against a simulated
// camera, opened as the operator opens it: from the menu.
#pragma once

#include "MainPanelFixture.h"
#include "panels/AdvSetPnl.h"
#include "resources/UlvoIccd.h"

class AdvSetTest : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        AdvSetPnl_RegisterCallbacks();
    }

    /// Chooses "Advanced Settings"; returns the pop-up it opened.  The
    /// opening's traffic is forgotten unless keepTraffic.
    int open(bool keepTraffic = false)
    {
        EXPECT_EQ(openPopup(MAINMNU_ADVSET), g_advset_panel);
        if (!keepTraffic) clearLog();
        return pop_;
    }
};
