// Menu bars: built on a panel's window from the resource, items dimmed,
// renamed or removed by the program.
#include <QApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

#include "ui/UiCore.h"

namespace uiimpl {

namespace {

std::map<int, std::unique_ptr<MenuBarRecord>>& menuBars()
{
    static std::map<int, std::unique_ptr<MenuBarRecord>> all;
    return all;
}

int g_nextMenuBar = 1;

MenuItemRecord* findItem(int menuBar, int menuItem, int* error)
{
    MenuBarRecord* bar = FindMenuBarRecord(menuBar);
    if (!bar) {
        *error = UIEHandleInvalid;
        return nullptr;
    }
    const auto it = bar->items.find(menuItem);
    if (it == bar->items.end() || !it->second.action) {
        *error = UIEMenuItemNotFound;
        return nullptr;
    }
    *error = UIENoError;
    return &it->second;
}

// Deletes a widget or action now, or after the callback that may sit in it.
void dispose(QObject* object)
{
    if (InCallback())
        object->deleteLater();
    else
        delete object;
}

void removeAction(QAction* action)
{
    for (QObject* o : action->associatedObjects())
        if (auto* w = qobject_cast<QWidget*>(o)) w->removeAction(action);
    if (QMenu* menu = action->menu())
        dispose(menu);
    else
        dispose(action);
}

}  // namespace

MenuBarRecord* FindMenuBarRecord(int handle)
{
    const auto it = menuBars().find(handle);
    if (it == menuBars().end() || !it->second->bar) return nullptr;
    return it->second.get();
}

void ForgetMenuBarsOf(int panel)
{
    for (auto it = menuBars().begin(); it != menuBars().end();)
        it = it->second->panel == panel ? menuBars().erase(it) : std::next(it);
}

}  // namespace uiimpl

using namespace uiimpl;

int LoadMenuBar(int panel, const char* file, int menuBarResource)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return UIENoRunTime;
    const uires::File* f = uires::FindFile(file ? file : "");
    if (!f) return UIEFileNotFound;
    const uires::MenuBar* desc = uires::FindMenuBar(*f, menuBarResource);
    if (!desc) return UIEResourceNotFound;
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    if (p->menuBar) DiscardMenuBar(p->menuBar);

    auto record = std::make_unique<MenuBarRecord>();
    record->handle = g_nextMenuBar++;
    record->panel = panel;
    record->desc = desc;
    auto* bar = new QMenuBar(p->window);
    bar->setObjectName(QString::fromStdString(desc->name));
    bar->setNativeMenuBar(false);
    record->bar = bar;
    p->window->layout()->setMenuBar(bar);

    const int handle = record->handle;
    std::map<int, QMenu*> menus;
    for (const auto& item : desc->items) {
        QMenu* in = nullptr;
        if (item.parent) {
            const auto m = menus.find(item.parent);
            if (m == menus.end()) continue;  // its menu is not in the description
            in = m->second;
        }
        const QString text = QString::fromStdString(uires::DisplayLabel(item.label));
        QAction* action = nullptr;
        switch (item.kind) {
            case uires::MenuKind::Menu: {
                QMenu* menu = in ? in->addMenu(text) : bar->addMenu(text);
                menus[item.id] = menu;
                action = menu->menuAction();
                break;
            }
            case uires::MenuKind::Separator:
                action = in ? in->addSeparator() : bar->addSeparator();
                break;
            case uires::MenuKind::Item:
                action = in ? in->addAction(text) : bar->addAction(text);
                QObject::connect(action, &QAction::triggered, action,
                                 [handle, id = item.id] { DispatchMenuEvent(handle, id); });
                if (!item.shortcut.empty()) {
                    action->setShortcut(QKeySequence::fromString(QString::fromStdString(item.shortcut),
                                                                 QKeySequence::PortableText));
                    // The key works in the window the bar is on, whatever has the focus there.
                    action->setShortcutContext(Qt::WindowShortcut);
                }
                break;
        }
        action->setObjectName(QString::fromStdString(item.name));
        MenuItemRecord& r = record->items[item.id];
        r.desc = &item;
        r.action = action;
        r.label = item.label;
    }
    p->menuBar = handle;
    menuBars()[handle] = std::move(record);
    return handle;
}

int DiscardMenuBar(int menuBar)
{
    MenuBarRecord* bar = FindMenuBarRecord(menuBar);
    if (!bar) return UIEHandleInvalid;
    if (PanelRecord* p = FindPanelRecord(bar->panel)) {
        p->window->layout()->setMenuBar(nullptr);
        if (p->menuBar == menuBar) p->menuBar = 0;
    }
    QMenuBar* widget = bar->bar;
    menuBars().erase(menuBar);
    widget->hide();
    dispose(widget);
    return UIENoError;
}

int DiscardMenuItem(int menuBar, int menuItem)
{
    int error = 0;
    MenuItemRecord* item = findItem(menuBar, menuItem, &error);
    if (!item) return error;
    MenuBarRecord* bar = FindMenuBarRecord(menuBar);
    // A menu takes what is in it along.
    std::vector<int> inside;
    for (const auto& [id, r] : bar->items)
        if (r.desc->parent == menuItem) inside.push_back(id);
    for (int id : inside) DiscardMenuItem(menuBar, id);
    QAction* action = item->action;
    bar->items.erase(menuItem);
    removeAction(action);
    return UIENoError;
}

int InstallMenuCallback(int menuBar, int menuItem, MenuCallbackPtr function, void* callbackData)
{
    int error = 0;
    MenuItemRecord* item = findItem(menuBar, menuItem, &error);
    if (!item) return error;
    item->installed = function;
    item->callbackData = callbackData;
    return UIENoError;
}

int GetMenuBarAttribute(int menuBar, int menuItem, int attribute, int* value)
{
    int error = 0;
    MenuItemRecord* item = findItem(menuBar, menuItem, &error);
    if (!item) return error;
    switch (attribute) {
        case ATTR_DIMMED:
            *value = item->action->isEnabled() ? 0 : 1;
            break;
        case ATTR_CHECKED:
            *value = item->action->isChecked() ? 1 : 0;
            break;
        case ATTR_VISIBLE:
            *value = item->action->isVisible() ? 1 : 0;
            break;
        default:
            return UIEInvalidAttribute;
    }
    return UIENoError;
}

int GetMenuBarAttribute(int menuBar, int menuItem, int attribute, std::string* value)
{
    int error = 0;
    MenuItemRecord* item = findItem(menuBar, menuItem, &error);
    if (!item) return error;
    switch (attribute) {
        case ATTR_ITEM_NAME:
            *value = item->label;
            break;
        case ATTR_CONSTANT_NAME:
            *value = item->desc->name;
            break;
        case ATTR_CALLBACK_NAME:
            *value = item->desc->callback;
            break;
        default:
            return UIEInvalidAttribute;
    }
    return UIENoError;
}

int SetMenuBarAttribute(int menuBar, int menuItem, int attribute, int value)
{
    int error = 0;
    MenuItemRecord* item = findItem(menuBar, menuItem, &error);
    if (!item) return error;
    switch (attribute) {
        case ATTR_DIMMED:
            item->action->setEnabled(!value);
            break;
        case ATTR_VISIBLE:
            item->action->setVisible(value != 0);
            break;
        case ATTR_CHECKED:
            item->action->setCheckable(true);
            item->action->setChecked(value != 0);
            break;
        default:
            return UIEInvalidAttribute;
    }
    return UIENoError;
}

int SetMenuBarAttribute(int menuBar, int menuItem, int attribute, const char* value)
{
    int error = 0;
    MenuItemRecord* item = findItem(menuBar, menuItem, &error);
    if (!item) return error;
    if (attribute != ATTR_ITEM_NAME) return UIEInvalidAttribute;
    item->label = value ? value : "";
    item->action->setText(QString::fromStdString(uires::DisplayLabel(item->label)));
    return UIENoError;
}
