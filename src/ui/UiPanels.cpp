// Panels: loading, showing, pop-ups, panel attributes and the event loop.
#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <algorithm>

#include "ui/UiCore.h"

namespace uiimpl {

namespace {

std::map<int, std::unique_ptr<PanelRecord>>& panels()
{
    static std::map<int, std::unique_ptr<PanelRecord>> all;
    return all;
}

int g_nextHandle = 1;
int g_firstShown = 0;  // the program's main window: the first panel shown on its own
std::vector<QEventLoop*> s_loops;
bool g_quitPending = false;
int g_quitCode = 0;

bool haveApplication()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

constexpr char kStatusLineName[] = "statusLine";

// A line along the bottom of the panel, made the first time a text is put there.
QLabel* statusLine(PanelRecord& p)
{
    if (auto* line = p.window->findChild<QLabel*>(QLatin1String(kStatusLineName))) return line;
    auto* line = new QLabel(p.window);
    line->setObjectName(QLatin1String(kStatusLineName));
    line->setFrameShape(QFrame::StyledPanel);
    line->setFrameShadow(QFrame::Sunken);
    line->setContentsMargins(4, 1, 4, 1);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    p.window->addStatusLine(line);  // below the scrolled part, so it stays in view
    return line;
}

std::pair<int, int> idsOf(QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        const QVariant control = w->property("uiControl");
        if (control.isValid()) return {w->property("uiPanel").toInt(), control.toInt()};
        if (w->isWindow()) break;
    }
    return {0, 0};
}

// Focus events of controls come from the application's focus tracking.
void trackFocus()
{
    static bool tracking = false;
    if (tracking) return;
    tracking = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget* old, QWidget* now) {
        // A control the keyboard reaches is scrolled into view, however the focus came.
        if (auto* window = now ? dynamic_cast<PanelWindow*>(now->window()) : nullptr)
            window->showControl(now);
        const auto from = idsOf(old);
        const auto to = idsOf(now);
        if (from == to) return;
        int error = 0;
        // Each step may discard the panel, so look the control up again each time.
        if (Control* c = FindControl(from.first, from.second, &error)) c->focusLost();
        if (Control* c = FindControl(from.first, from.second, &error)) c->fire(EVENT_LOST_FOCUS);
        if (Control* c = FindControl(to.first, to.second, &error)) c->fire(EVENT_GOT_FOCUS);
    });
}

// The close box and Esc press the panel's close control, if it has one.
void pressCloseControl(int panel)
{
    const PanelRecord* p = FindPanelRecord(panel);
    if (!p || !p->desc->closeCtrl) return;
    int error = 0;
    if (Control* c = FindControl(panel, p->desc->closeCtrl, &error); c && c->operable())
        c->fire(EVENT_COMMIT);
}

// Enter presses the button with the focus, or else the default control.
bool pressDefaultControl(int panel)
{
    const PanelRecord* p = FindPanelRecord(panel);
    if (!p || !p->desc->defaultCtrl) return false;
    if (auto* button = qobject_cast<QAbstractButton*>(p->window->focusWidget());
        button && button->isEnabled()) {
        button->click();
        return true;
    }
    int error = 0;
    if (Control* c = FindControl(panel, p->desc->defaultCtrl, &error); c && c->operable())
        c->fire(EVENT_COMMIT);
    return true;
}

void closeBoxUsed(int panel)
{
    DispatchPanelEvent(panel, EVENT_CLOSE);
    pressCloseControl(panel);
}

// First showing: in front of the window it belongs to and centred on it, or
// centred on the screen when it is the first.
void placeForFirstShow(PanelRecord& p)
{
    PanelWindow* w = p.window;
    SettleLayout(w);
    QWidget* front = FrontWindow();
    if (front == w) front = nullptr;
    if (front && !w->parentWidget()) {
        w->winId();  // makes the native window, so it can be tied to its owner
        if (front->windowHandle()) w->windowHandle()->setTransientParent(front->windowHandle());
    }
    QRect area;
    if (front)
        area = front->geometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isValid()) return;
    QPoint at = area.center() - QPoint(w->width() / 2, w->height() / 2);
    // Centred on a window near the screen's edge, it would hang over it.  A
    // window's position is its frame's.
    if (const QScreen* screen = front ? front->screen() : w->screen()) {
        const QRect free = screen->availableGeometry();
        const QMargins m =
            front && front->windowHandle() ? front->windowHandle()->frameMargins() : QMargins();
        const QSize framed = w->size().grownBy(m);
        at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() - framed.width() + 1)));
        at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() - framed.height() + 1)));
    }
    w->move(at);
    p.shownBefore = true;
}

void takeOffScreen(int panel)
{
    if (PanelRecord* p = FindPanelRecord(panel)) {
        p->window->hide();
        p->window->setWindowModality(Qt::NonModal);
    }
}

}  // namespace

PanelRecord* FindPanelRecord(int handle)
{
    const auto it = panels().find(handle);
    if (it == panels().end() || !it->second->window) return nullptr;
    return it->second.get();
}

std::vector<int> AllPanels()
{
    std::vector<int> handles;
    for (const auto& [handle, p] : panels()) handles.push_back(handle);
    return handles;
}

Control* FindControl(int panel, int control, int* error)
{
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) {
        *error = UIEHandleInvalid;
        return nullptr;
    }
    const auto it = p->controls.find(control);
    if (it == p->controls.end()) {
        *error = UIEControlNotFound;
        return nullptr;
    }
    *error = UIENoError;
    return it->second.get();
}

std::vector<int>& PopupStack()
{
    static std::vector<int> stack;
    return stack;
}

QWidget* FrontWindow()
{
    if (!PopupStack().empty())
        if (const PanelRecord* p = FindPanelRecord(PopupStack().back())) return p->window;
    QWidget* active = QApplication::activeWindow();
    for (const auto& [handle, p] : panels())
        if (p->window && p->window == active) return active;
    if (const PanelRecord* p = FindPanelRecord(g_firstShown); p && p->window->isVisible()) return p->window;
    for (const auto& [handle, p] : panels())
        if (p->window && p->window->isVisible()) return p->window;
    return nullptr;
}

bool QuitPending(int* code)
{
    if (code) *code = g_quitCode;
    return g_quitPending;
}

void ClearQuitPending()
{
    g_quitPending = false;
}

}  // namespace uiimpl

using namespace uiimpl;

int LoadPanel(int parentPanel, const char* file, int panelResource)
{
    if (!haveApplication()) return UIENoRunTime;
    const uires::File* f = uires::FindFile(file ? file : "");
    if (!f) return UIEFileNotFound;
    const uires::Panel* desc = uires::FindPanel(*f, panelResource);
    if (!desc) return UIEResourceNotFound;
    if (parentPanel && !FindPanelRecord(parentPanel)) return UIEHandleInvalid;

    auto record = std::make_unique<PanelRecord>();
    record->handle = g_nextHandle++;
    record->parent = parentPanel;
    record->desc = desc;
    PanelRecord& p = *record;
    panels()[p.handle] = std::move(record);
    BuildPanel(p);

    const int handle = p.handle;
    p.window->onClose = [handle] { closeBoxUsed(handle); };
    p.window->onActivation = [handle](bool active) {
        DispatchPanelEvent(handle, active ? EVENT_GOT_FOCUS : EVENT_LOST_FOCUS);
    };
    if (desc->closeCtrl) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), p.window);
        QObject::connect(escape, &QShortcut::activated, p.window, [handle] { pressCloseControl(handle); });
    }
    if (desc->defaultCtrl) p.window->onEnter = [handle] { return pressDefaultControl(handle); };
    trackFocus();
    return handle;
}

int DisplayPanel(int panel)
{
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    if (!p->shownBefore) {
        placeForFirstShow(*p);
        if (!g_firstShown && !p->parent) g_firstShown = panel;
    }
    p->window->show();
    p->window->raise();
    p->window->activateWindow();
    return UIENoError;
}

int HidePanel(int panel)
{
    if (!FindPanelRecord(panel)) return UIEHandleInvalid;
    auto& stack = PopupStack();
    stack.erase(std::remove(stack.begin(), stack.end(), panel), stack.end());
    takeOffScreen(panel);
    return UIENoError;
}

int DiscardPanel(int panel)
{
    auto it = panels().find(panel);
    if (it == panels().end()) return UIEHandleInvalid;
    std::vector<int> children;
    for (const auto& [handle, p] : panels())
        if (p->parent == panel) children.push_back(handle);
    for (int child : children) DiscardPanel(child);

    it = panels().find(panel);
    std::unique_ptr<PanelRecord> record = std::move(it->second);
    panels().erase(it);
    auto& stack = PopupStack();
    stack.erase(std::remove(stack.begin(), stack.end(), panel), stack.end());
    ForgetMenuBarsOf(panel);
    if (g_firstShown == panel) g_firstShown = 0;

    QPointer<PanelWindow> window = record->window;
    if (window) {
        window->onClose = nullptr;
        window->onEnter = nullptr;
        window->onActivation = nullptr;
        window->hide();
    }
    KeepUntilIdle(std::move(record));
    if (window) {
        // A callback of this window may still be on the stack.
        if (InCallback())
            window->deleteLater();
        else
            delete window.data();
    }
    return UIENoError;
}

int InstallPopup(int panel)
{
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    auto& stack = PopupStack();
    if (std::find(stack.begin(), stack.end(), panel) != stack.end()) return UIEAlreadyPopup;
    if (!p->shownBefore) placeForFirstShow(*p);
    p->window->hide();  // modality can only change while hidden
    p->window->setWindowModality(Qt::ApplicationModal);
    stack.push_back(panel);
    p->window->show();
    p->window->raise();
    p->window->activateWindow();
    return UIENoError;
}

int RemovePopup(int removeAll)
{
    auto& stack = PopupStack();
    if (stack.empty()) return UIENoPopup;
    do {
        const int panel = stack.back();
        stack.pop_back();
        takeOffScreen(panel);
        DiscardWhenIdle(panel);
    } while (removeAll && !stack.empty());
    return UIENoError;
}

int InstallPanelCallback(int panel, PanelCallbackPtr function, void* callbackData)
{
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    p->installed = function;
    p->callbackData = callbackData;
    return UIENoError;
}

int GetPanelAttribute(int panel, int attribute, int* value)
{
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    PanelWindow* w = p->window;
    switch (attribute) {
        case ATTR_LEGACY_533:
        case ATTR_LEGACY_540:
        case ATTR_LEGACY_618:
            *value = p->legacyAttributes[attribute];
            return UIENoError;
        case ATTR_VISIBLE:
            *value = w->isVisible() ? 1 : 0;
            return UIENoError;
        case ATTR_DIMMED:
            *value = w->isEnabled() ? 0 : 1;
            return UIENoError;
        default:
            break;
    }
    SettleLayout(w);
    switch (attribute) {
        case ATTR_WIDTH:
            *value = w->width();
            break;
        case ATTR_HEIGHT:
            *value = w->height();
            break;
        case ATTR_TOP:
            *value = w->geometry().top();
            break;
        case ATTR_LEFT:
            *value = w->geometry().left();
            break;
        default:
            return UIEInvalidAttribute;
    }
    return UIENoError;
}

int GetPanelAttribute(int panel, int attribute, std::string* value)
{
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    switch (attribute) {
        case ATTR_TITLE:
            *value = p->window->windowTitle().toStdString();
            break;
        case ATTR_CONSTANT_NAME:
            *value = p->desc->name;
            break;
        case ATTR_CALLBACK_NAME:
            *value = p->desc->callback;
            break;
        case ATTR_STATUS_TEXT: {
            const auto* line = p->window->findChild<QLabel*>(QLatin1String(kStatusLineName));
            *value = line ? line->text().toStdString() : std::string();
            break;
        }
        default:
            return UIEInvalidAttribute;
    }
    return UIENoError;
}

int SetPanelAttribute(int panel, int attribute, int value)
{
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    PanelWindow* w = p->window;
    switch (attribute) {
        case ATTR_LEGACY_533:
        case ATTR_LEGACY_540:
        case ATTR_LEGACY_618:
            p->legacyAttributes[attribute] = value;
            return UIENoError;
        case ATTR_VISIBLE:
            return value ? DisplayPanel(panel) : HidePanel(panel);
        case ATTR_DIMMED:
            w->setEnabled(!value);
            return UIENoError;
        case ATTR_TOP:
        case ATTR_LEFT: {
            QRect g = w->geometry();
            if (attribute == ATTR_TOP)
                g.moveTop(value);
            else
                g.moveLeft(value);
            w->setGeometry(g);
            p->shownBefore = true;  // the program placed it
            return UIENoError;
        }
        case ATTR_WIDTH:
        case ATTR_HEIGHT: {
            if (value <= 0) return UIEOutOfRange;
            // The window may be larger than its contents need, never smaller.
            SettleLayout(w);
            QSize s = w->size();
            (attribute == ATTR_WIDTH ? s.rwidth() : s.rheight()) = value;
            w->chooseSize(s);
            return UIENoError;
        }
        default:
            return UIEInvalidAttribute;
    }
}

int SetPanelAttribute(int panel, int attribute, const char* value)
{
    PanelRecord* p = FindPanelRecord(panel);
    if (!p) return UIEHandleInvalid;
    const QString text = QString::fromUtf8(value ? value : "");
    if (attribute == ATTR_TITLE) {
        p->window->setWindowTitle(text);
        return UIENoError;
    }
    if (attribute == ATTR_STATUS_TEXT) {
        statusLine(*p)->setText(text);
        return UIENoError;
    }
    return UIEInvalidAttribute;
}

int RunUserInterface()
{
    if (!haveApplication()) return UIENoRunTime;
    if (g_quitPending) {
        g_quitPending = false;
        return g_quitCode;
    }
    QEventLoop loop;
    s_loops.push_back(&loop);
    const int code = loop.exec();
    s_loops.pop_back();
    return code;
}

int QuitUserInterface(int code)
{
    if (s_loops.empty()) {
        g_quitPending = true;
        g_quitCode = code;
    } else {
        s_loops.back()->exit(code);
    }
    return UIENoError;
}
