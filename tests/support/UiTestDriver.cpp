#include "support/UiTestDriver.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>
#include <QShortcut>
#include <QTest>

#include "ui/UiCore.h"
#include "ui/UiDriverHooks.h"

using namespace uiimpl;

namespace uitest {

namespace {

// Gives a control the keyboard focus; inside a composite control (a slide
// with its number) the focus goes to its editing part, which gets the keys.
QWidget* focusOn(QWidget* control)
{
    QWidget* target = control;
    if (!qobject_cast<QAbstractSpinBox*>(target) && !qobject_cast<QLineEdit*>(target)) {
        if (auto* box = target->findChild<QAbstractSpinBox*>())
            target = box;
        else if (auto* edit = target->findChild<QLineEdit*>())
            target = edit;
    }
    target->setFocus(Qt::OtherFocusReason);
    return target;
}

// On screen and not behind a modal pop-up.
bool reachable(int panel)
{
    const PanelRecord* p = FindPanelRecord(panel);
    if (!p || !p->window->isVisible()) return false;
    const auto& stack = PopupStack();
    return stack.empty() || stack.back() == panel;
}

// The operator scrolls to a control before using it; one the window cannot
// bring into its view is out of reach.
bool inView(const Control& c)
{
    auto* window = dynamic_cast<PanelWindow*>(c.widget->window());
    if (!window) return true;
    window->showControl(c.widget);
    const QWidget* viewport = window->scrollArea()->viewport();
    return viewport->rect().intersects(QRect(c.widget->mapTo(viewport, QPoint(0, 0)), c.widget->size()));
}

Control* operableControl(int panel, int control, int* error)
{
    Control* c = FindControl(panel, control, error);
    if (!c) return nullptr;
    if (!reachable(panel) || !inView(*c)) {
        *error = UIEControlNotOperable;
        return nullptr;
    }
    return c;
}

int enter(int panel, int control, const Value& value)
{
    int error = 0;
    Control* c = operableControl(panel, control, &error);
    return c ? c->enter(value) : error;
}

int press(int panel, int control, bool down)
{
    int error = 0;
    Control* c = operableControl(panel, control, &error);
    return c ? c->press(down) : error;
}

}  // namespace

void Reset()
{
    for (int panel : AllPanels()) DiscardPanel(panel);
    Driver() = DriverState{};
    Driver().recordPopups = true;
    ClearQuitPending();
}

int Commit(int panel, int control, int value)
{
    return enter(panel, control, value);
}

int Commit(int panel, int control, double value)
{
    return enter(panel, control, value);
}

int Commit(int panel, int control, const char* text)
{
    return enter(panel, control, std::string(text ? text : ""));
}

int Press(int panel, int control)
{
    return press(panel, control, true);
}

int Release(int panel, int control)
{
    return press(panel, control, false);
}

int Click(int panel, int control)
{
    if (const int error = Press(panel, control)) return error;
    return Release(panel, control);
}

int ChooseMenuItem(int menuBar, int menuItem)
{
    MenuBarRecord* bar = FindMenuBarRecord(menuBar);
    if (!bar) return UIEHandleInvalid;
    auto item = bar->items.find(menuItem);
    if (item == bar->items.end() || !item->second.action) return UIEMenuItemNotFound;
    if (!reachable(bar->panel)) return UIEControlNotOperable;
    // The item and every menu it is in must be enabled and shown.
    for (auto at = item; at != bar->items.end(); at = bar->items.find(at->second.desc->parent)) {
        const QAction* action = at->second.action;
        if (!action || !action->isEnabled() || !action->isVisible()) return UIEControlNotOperable;
        if (!at->second.desc->parent) break;
    }
    if (item->second.desc->kind != uires::MenuKind::Item) return UIEControlNotOperable;
    QPointer<QAction> action = item->second.action;
    action->trigger();
    return UIENoError;
}

int ClosePanel(int panel)
{
    const PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    if (!reachable(panel)) return UIEControlNotOperable;
    p->window->close();
    return UIENoError;
}

int PressKey(int panel, int control, int key)
{
    const PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    if (!reachable(panel)) return UIEControlNotOperable;
    QWidget* target = p->window;
    if (control != 0) {
        int error = 0;
        const Control* c = FindControl(panel, control, &error);
        if (!c) return error;
        target = focusOn(c->widget);
    }
    // Shortcuts (Escape) are matched before any widget sees the key.
    for (QShortcut* shortcut : p->window->findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(key) && shortcut->isEnabled()) {
            emit shortcut->activated();
            return UIENoError;
        }
    // The key may close the panel and take the control with it.
    const QPointer<QWidget> receiver = target;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    if (receiver) QApplication::sendEvent(receiver, &release);
    return UIENoError;
}

int TypeKey(int panel, int control, QKeyCombination key)
{
    const PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    if (!reachable(panel)) return UIEControlNotOperable;
    QWidget* window = p->window;
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window, 1000)) return UIEControlNotOperable;
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    if (control != 0) {
        int error = 0;
        const Control* c = FindControl(panel, control, &error);
        if (!c) return error;
        target = focusOn(c->widget);
    }
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
    return UIENoError;
}

void RecordPopups(bool on)
{
    Driver().recordPopups = on;
}

std::vector<Popup> Popups()
{
    std::vector<Popup> all;
    for (const auto& [title, text] : Driver().popups) all.push_back({title, text});
    return all;
}

std::vector<std::string> OpenedDocuments()
{
    return Driver().documents;
}

void ClearPopups()
{
    Driver().popups.clear();
}

void AnswerConfirm(bool ok)
{
    Driver().confirmAnswers.push_back(ok);
}

void AnswerFileDialog(const std::string& path)
{
    Driver().fileAnswers.emplace_back(path);
}

void CancelFileDialog()
{
    Driver().fileAnswers.emplace_back(std::nullopt);
}

std::vector<FileDialog> FileDialogs()
{
    std::vector<FileDialog> all;
    for (const auto& d : Driver().fileDialogs)
        all.push_back({d.directory, d.pattern, d.title, d.buttonLabel});
    return all;
}

int TopPopup()
{
    return PopupStack().empty() ? 0 : PopupStack().back();
}

bool QuitRequested(int* code)
{
    return QuitPending(code);
}

QWidget* PanelWidget(int panel)
{
    const PanelRecord* p = FindPanelRecord(panel);
    return p ? p->window.data() : nullptr;
}

QWidget* ControlWidget(int panel, int control)
{
    int error = 0;
    const Control* c = FindControl(panel, control, &error);
    return c ? c->widget : nullptr;
}

}  // namespace uitest
