// Every callback the resource names is one the program has registered, but
// for the panels still to be built, listed here by name.
#include <set>
#include <string>

#include "AppFixture.h"
#include "panels/MainPnl.h"
#include "resources/UlvoIccd.h"
#include "ui/UiCore.h"
#include "ui/UiResource.h"

namespace {

// The secondary panels not built yet; this list empties as they are.
const std::set<std::string> kNotBuiltYet = {
    "MMnu_FileSplitCallback",   "MMnu_FPGACallback",      "MMnu_AFECallback",     "MMnu_CProcCallback",
    "SplitScrnPnl_ValCallback", "FTestPnl_WriteCallback", "FTestPnl_ValCallback", "FTestPnl_OKCallback",
    "FTestPnl_BitCallback",     "CProcPnl_ValCallback",   "CProcPnl_OKCallback",  "AfePnl_ValCallback",
    "AfePnl_OKCallback",
};

bool registered(const std::string& name)
{
    return uiimpl::RegisteredCtrlCallback(name) != nullptr || uiimpl::RegisteredMenuCallback(name) != nullptr;
}

TEST(CallbackRegistry, EveryCallbackTheResourceNamesIsRegistered)
{
    RegisterUlvoIccdResources();
    RegisterAppCallbacks();
    Mpnl_RegisterCallbacks();
    const uires::File* file = uires::FindFile(kUlvoIccdUir);
    ASSERT_NE(file, nullptr);

    std::set<std::string> named;
    for (const uires::Panel& panel : file->panels) {
        if (!panel.callback.empty()) named.insert(panel.callback);
        for (const uires::Ctrl& ctrl : panel.ctrls)
            if (!ctrl.callback.empty()) named.insert(ctrl.callback);
    }
    for (const uires::MenuBar& bar : file->menuBars)
        for (const uires::MenuItem& item : bar.items)
            if (!item.callback.empty()) named.insert(item.callback);

    ASSERT_GT(named.size(), 30u);
    for (const std::string& name : named) EXPECT_NE(registered(name), kNotBuiltYet.count(name) != 0) << name;
    // A name on the list that the resource no longer uses is a stale entry.
    for (const std::string& name : kNotBuiltYet) EXPECT_EQ(named.count(name), 1u) << name;
}

}  // namespace
