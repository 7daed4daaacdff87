// Callbacks by name, and the calls into them.
//
// The resource names its callbacks; the functions live in code that depends on
// the resource, so the program registers them by name at start-up.  Names are
// looked up when the event arrives.
#include <map>
#include <vector>

#include "ui/UiCore.h"

namespace uiimpl {

namespace {

std::map<std::string, CtrlCallbackPtr>& ctrlCallbacks()
{
    static std::map<std::string, CtrlCallbackPtr> all;
    return all;
}

std::map<std::string, MenuCallbackPtr>& menuCallbacks()
{
    static std::map<std::string, MenuCallbackPtr> all;
    return all;
}

int s_depth = 0;
std::vector<int> g_discardLater;
std::vector<std::unique_ptr<PanelRecord>> s_graveyard;

// Counts running callbacks; the last one out discards what was removed meanwhile.
class CallbackScope {
public:
    CallbackScope() { ++s_depth; }
    ~CallbackScope()
    {
        if (--s_depth == 0) DiscardPending();
    }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;
};

template <typename Map, typename Fn>
void remember(Map& map, const char* name, Fn function)
{
    if (!name || !*name) return;
    if (function)
        map[name] = function;
    else
        map.erase(name);
}

template <typename Map>
auto lookUp(const Map& map, const std::string& name) -> typename Map::mapped_type
{
    if (name.empty()) return nullptr;
    const auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
}

}  // namespace

CtrlCallbackPtr RegisteredCtrlCallback(const std::string& name)
{
    return lookUp(ctrlCallbacks(), name);
}

MenuCallbackPtr RegisteredMenuCallback(const std::string& name)
{
    return lookUp(menuCallbacks(), name);
}

void DispatchCtrlEvent(int panel, int control, int event, int eventData1, int eventData2)
{
    int error = 0;
    const Control* c = FindControl(panel, control, &error);
    if (!c) return;
    const CtrlCallbackPtr function = c->installed ? c->installed : RegisteredCtrlCallback(c->desc.callback);
    if (!function) return;
    void* data = c->callbackData;
    CallbackScope scope;
    function(panel, control, event, data, eventData1, eventData2);
}

void DispatchPanelEvent(int panel, int event)
{
    const PanelRecord* p = FindPanelRecord(panel);
    if (!p) return;
    const PanelCallbackPtr function = p->installed ? p->installed : RegisteredCtrlCallback(p->desc->callback);
    if (!function) return;
    void* data = p->callbackData;
    CallbackScope scope;
    function(panel, 0, event, data, 0, 0);
}

void DispatchMenuEvent(int menuBar, int menuItem)
{
    const MenuBarRecord* bar = FindMenuBarRecord(menuBar);
    if (!bar) return;
    const auto item = bar->items.find(menuItem);
    if (item == bar->items.end()) return;
    const MenuItemRecord& m = item->second;
    const MenuCallbackPtr function = m.installed ? m.installed : RegisteredMenuCallback(m.desc->callback);
    if (!function) return;
    const int panel = bar->panel;
    void* data = m.callbackData;
    CallbackScope scope;
    function(menuBar, menuItem, data, panel);
}

bool InCallback()
{
    return s_depth > 0;
}

void DiscardWhenIdle(int panel)
{
    if (s_depth > 0)
        g_discardLater.push_back(panel);
    else
        DiscardPanel(panel);
}

void KeepUntilIdle(std::unique_ptr<PanelRecord> record)
{
    if (s_depth > 0) s_graveyard.push_back(std::move(record));
}

void DiscardPending()
{
    std::vector<int> panels;
    panels.swap(g_discardLater);
    for (int p : panels) DiscardPanel(p);
    s_graveyard.clear();
}

}  // namespace uiimpl

void RegisterUiCallback(const char* name, CtrlCallbackPtr function)
{
    uiimpl::remember(uiimpl::ctrlCallbacks(), name, function);
}

void RegisterUiCallback(const char* name, MenuCallbackPtr function)
{
    uiimpl::remember(uiimpl::menuCallbacks(), name, function);
}
