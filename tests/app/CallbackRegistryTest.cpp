// Every callback the resource names is one the program has registered: a
// name without a function is a control or menu item that silently does nothing.
#include <set>
#include <string>

#include "AppFixture.h"
#include "panels/MainPnl.h"
#include "resources/UlvoIccd.h"
#include "ui/UiCore.h"
#include "ui/UiResource.h"

namespace {

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
    for (const std::string& name : named) EXPECT_TRUE(registered(name)) << name;
}

}  // namespace
