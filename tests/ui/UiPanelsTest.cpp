// Panels: loading and discarding, attributes, pop-ups, the close box, the
// event loop, callbacks by name, and what the test driver lets through.
#include <gtest/gtest.h>
#include <QApplication>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include "UiTestResource.h"

namespace {

class UiPanels : public UiTest {
protected:
    static int shown(int resource)
    {
        const int p = LoadPanel(0, kTestUir, resource);
        EXPECT_GT(p, 0);
        EXPECT_EQ(DisplayPanel(p), 0);
        return p;
    }
};

TEST_F(UiPanels, EveryLoadGivesANewPanelOfItsOwn)
{
    const int a = LoadPanel(0, kTestUir, DEMO);
    const int b = LoadPanel(0, "/opt/ui/TEST.UIR", DEMO);  // directory and case do not matter
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(uitest::PanelWidget(a)->objectName(), "DEMO");
    EXPECT_EQ(uitest::ControlWidget(a, DEMO_GAIN)->objectName(), "DEMO_GAIN");
    SetCtrlVal(a, DEMO_COUNT, 5);
    EXPECT_EQ(CtrlValue(b, DEMO_COUNT), 10);

    EXPECT_EQ(LoadPanel(0, "other.uir", DEMO), UIEFileNotFound);
    EXPECT_EQ(LoadPanel(0, kTestUir, 77), UIEResourceNotFound);
    EXPECT_EQ(LoadPanel(b + 100, kTestUir, DEMO), UIEHandleInvalid);

    // A panel loaded into another goes with it.
    const int child = LoadPanel(a, kTestUir, DIALOG);
    ASSERT_GT(child, 0);
    EXPECT_EQ(DiscardPanel(a), 0);
    int v = 0;
    EXPECT_EQ(GetCtrlVal(a, DEMO_COUNT, &v), UIEHandleInvalid);
    EXPECT_EQ(DisplayPanel(child), UIEHandleInvalid);
    EXPECT_EQ(DiscardPanel(a), UIEHandleInvalid);
    EXPECT_EQ(GetCtrlVal(b, DEMO_COUNT, &v), 0);
}

TEST_F(UiPanels, PanelAttributes)
{
    const int p = LoadPanel(0, kTestUir, DEMO);
    EXPECT_EQ(PanelAttr<std::string>(p, ATTR_TITLE), "Demo");
    EXPECT_EQ(SetPanelAttribute(p, ATTR_TITLE, "Ulvo VK-475 Camera Control"), 0);
    EXPECT_EQ(uitest::PanelWidget(p)->windowTitle(), "Ulvo VK-475 Camera Control");

    // The original run time's attribute 618 is taken and has no effect.
    EXPECT_EQ(SetPanelAttribute(p, ATTR_LEGACY_618, 1), 0);
    EXPECT_EQ(PanelAttr(p, ATTR_LEGACY_618), 1);
    PanelAttr(p, ATTR_LEGACY_540);
    EXPECT_EQ(SetPanelAttribute(p, ATTR_MIN_VALUE, 1), UIEInvalidAttribute);

    // The window fits what it shows, before and after it is on screen.
    const int tall = PanelAttr(p, ATTR_HEIGHT);
    EXPECT_GT(tall, 100);
    SetCtrlAttribute(p, DEMO_LOG, ATTR_VISIBLE, 0);
    const int shorter = PanelAttr(p, ATTR_HEIGHT);
    EXPECT_LT(shorter, tall);

    EXPECT_EQ(PanelAttr(p, ATTR_VISIBLE), 0);
    DisplayPanel(p);
    EXPECT_EQ(PanelAttr(p, ATTR_VISIBLE), 1);
    HidePanel(p);
    EXPECT_FALSE(uitest::PanelWidget(p)->isVisible());

    // A status line appears at its bottom when first given text.
    QWidget* window = uitest::PanelWidget(p);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    const int without = PanelAttr(p, ATTR_HEIGHT);
    EXPECT_EQ(SetPanelAttribute(p, ATTR_STATUS_TEXT, "COM1 connected"), 0);
    EXPECT_GT(PanelAttr(p, ATTR_HEIGHT), without);
    EXPECT_EQ(PanelAttr<std::string>(p, ATTR_STATUS_TEXT), "COM1 connected");
}

TEST_F(UiPanels, PopupsAreModalStackAndGoWhenRemoved)
{
    const int main = shown(DEMO);
    const int first = LoadPanel(0, kTestUir, DIALOG);
    const int second = LoadPanel(0, kTestUir, DIALOG);
    ASSERT_EQ(InstallPopup(first), 0);  // returns at once
    EXPECT_TRUE(uitest::PanelWidget(first)->isVisible());
    EXPECT_EQ(uitest::PanelWidget(first)->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(uitest::TopPopup(), first);

    // The operator cannot reach the window behind a pop-up.
    EXPECT_EQ(uitest::Commit(main, DEMO_COUNT, 3), UIEControlNotOperable);

    ASSERT_EQ(InstallPopup(second), 0);
    EXPECT_EQ(InstallPopup(second), UIEAlreadyPopup);
    EXPECT_EQ(uitest::Click(first, DIALOG_OK), UIEControlNotOperable);
    EXPECT_EQ(RemovePopup(0), 0);
    EXPECT_EQ(uitest::TopPopup(), first);
    int v = 0;
    EXPECT_EQ(GetPanelAttribute(second, ATTR_VISIBLE, &v), UIEHandleInvalid);  // discarded
    EXPECT_EQ(uitest::Click(first, DIALOG_OK), 0);

    const int third = LoadPanel(0, kTestUir, DIALOG);
    InstallPopup(third);
    EXPECT_EQ(RemovePopup(1), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(RemovePopup(0), UIENoPopup);
    EXPECT_EQ(uitest::Commit(main, DEMO_COUNT, 3), 0);
}

// What a callback that closes its own pop-up still sees.
struct InsideCallback {
    int readResult = 1, visible = 1, count = 0;
};

int closeAndRead(int panel, int, int event, void* data, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    auto* seen = static_cast<InsideCallback*>(data);
    RemovePopup(0);
    seen->readResult = GetCtrlVal(panel, DEMO_COUNT, &seen->count);
    GetPanelAttribute(panel, ATTR_VISIBLE, &seen->visible);
    return 0;
}

int discardOwnPanel(int panel, int, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) DiscardPanel(panel);
    return 0;
}

TEST_F(UiPanels, APanelClosedByItsOwnCallbackLastsUntilTheCallbackEnds)
{
    const int p = LoadPanel(0, kTestUir, DEMO);
    InstallPopup(p);
    SetCtrlVal(p, DEMO_COUNT, 42);
    InsideCallback seen;
    InstallCtrlCallback(p, DEMO_APPLY, &closeAndRead, &seen);
    ASSERT_EQ(uitest::Click(p, DEMO_APPLY), 0);
    EXPECT_EQ(seen.readResult, 0);
    EXPECT_EQ(seen.count, 42);
    EXPECT_EQ(seen.visible, 0);
    int v = 0;
    EXPECT_EQ(GetCtrlVal(p, DEMO_COUNT, &v), UIEHandleInvalid);

    // Discarding the panel from inside its own button's callback is safe.
    const int q = shown(DEMO);
    InstallCtrlCallback(q, DEMO_APPLY, &discardOwnPanel, nullptr);
    EXPECT_EQ(uitest::Click(q, DEMO_APPLY), 0);
    QApplication::processEvents();
    EXPECT_EQ(GetCtrlVal(q, DEMO_COUNT, &v), UIEHandleInvalid);
}

TEST_F(UiPanels, TheCloseBoxAsksThePanelAndPressesItsCloseControl)
{
    const int d = shown(DIALOG);
    ASSERT_EQ(uitest::ClosePanel(d), 0);
    const std::vector<Seen> expected = {{d, 0, EVENT_CLOSE, nullptr},
                                        {d, DIALOG_CANCEL, EVENT_COMMIT, nullptr}};
    EXPECT_EQ(SeenEvents(), expected);
    EXPECT_TRUE(uitest::PanelWidget(d)->isVisible());  // the program decides

    // Esc presses the close control too.
    SeenEvents().clear();
    auto* escape = uitest::PanelWidget(d)->findChild<QShortcut*>();
    ASSERT_NE(escape, nullptr);
    EXPECT_EQ(escape->key(), QKeySequence(Qt::Key_Escape));
    emit escape->activated();
    EXPECT_EQ(Commits(), std::vector<int>{DIALOG_CANCEL});

    // A dimmed close control is not pressed; a panel without one only hears of it.
    SeenEvents().clear();
    SetCtrlAttribute(d, DIALOG_CANCEL, ATTR_DIMMED, 1);
    uitest::ClosePanel(d);
    const int m = shown(DEMO);
    uitest::ClosePanel(m);
    const std::vector<Seen> closes = {{d, 0, EVENT_CLOSE, nullptr}, {m, 0, EVENT_CLOSE, nullptr}};
    EXPECT_EQ(SeenEvents(), closes);
}

int quitWithSeven(int, int, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) QuitUserInterface(7);
    return 0;
}

TEST_F(UiPanels, TheEventLoopRunsUntilAQuit)
{
    const int d = shown(DIALOG);
    InstallCtrlCallback(d, DIALOG_OK, &quitWithSeven, nullptr);
    QTimer::singleShot(0, [d] { uitest::Click(d, DIALOG_OK); });
    EXPECT_EQ(RunUserInterface(), 7);

    // A quit asked for outside the loop ends the next one at once.
    int code = 0;
    EXPECT_FALSE(uitest::QuitRequested(&code));
    QuitUserInterface(3);
    EXPECT_TRUE(uitest::QuitRequested(&code));
    EXPECT_EQ(code, 3);
    EXPECT_EQ(RunUserInterface(), 3);
    EXPECT_FALSE(uitest::QuitRequested());
}

int g_other = 0;
int other(int, int, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) ++g_other;
    return 0;
}

TEST_F(UiPanels, CallbacksAreFoundByNameWhenTheEventArrives)
{
    const int p = shown(DEMO);
    RegisterUiCallback("Record", static_cast<CtrlCallbackPtr>(nullptr));
    uitest::Click(p, DEMO_APPLY);  // no callback by that name: nothing happens
    RegisterUiCallback("Record", &other);
    uitest::Click(p, DEMO_APPLY);
    EXPECT_EQ(g_other, 1);
    EXPECT_TRUE(SeenEvents().empty());

    // An installed callback goes first, with its data; nullptr goes back to the name.
    StartRecording();
    int data = 0;
    InstallCtrlCallback(p, DEMO_APPLY, &other, &data);
    uitest::Click(p, DEMO_APPLY);
    EXPECT_EQ(g_other, 2);
    InstallCtrlCallback(p, DEMO_APPLY, nullptr, &data);
    uitest::Commit(p, DEMO_COUNT, 4);
    uitest::Click(p, DEMO_APPLY);
    const std::vector<Seen> expected = {{p, DEMO_COUNT, EVENT_COMMIT, nullptr},
                                        {p, DEMO_APPLY, EVENT_LEFT_CLICK, &data},
                                        {p, DEMO_APPLY, EVENT_COMMIT, &data}};
    EXPECT_EQ(SeenEvents(), expected);
}

// The value a callback reads is the one just committed.
int g_valueSeen = -1;
int readOnCommit(int panel, int control, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) GetCtrlVal(panel, control, &g_valueSeen);
    return 0;
}

TEST_F(UiPanels, TheDriverActsOnlyWhereAnOperatorCould)
{
    const int p = LoadPanel(0, kTestUir, DEMO);
    EXPECT_EQ(uitest::Commit(p, DEMO_COUNT, 5), UIEControlNotOperable);  // not on screen yet
    DisplayPanel(p);
    InstallCtrlCallback(p, DEMO_MODE, &readOnCommit, nullptr);
    EXPECT_EQ(uitest::Commit(p, DEMO_MODE, 5), 0);
    EXPECT_EQ(g_valueSeen, 5);
    EXPECT_EQ(uitest::Commit(p, DEMO_MODE, 4), UIEItemNotInList);

    SetCtrlAttribute(p, DEMO_COUNT, ATTR_DIMMED, 1);
    SetCtrlAttribute(p, DEMO_NAME, ATTR_VISIBLE, 0);
    SetCtrlAttribute(p, DEMO_BOX, ATTR_DIMMED, 1);  // the gain inside it too
    EXPECT_EQ(uitest::Commit(p, DEMO_COUNT, 5), UIEControlNotOperable);
    EXPECT_EQ(uitest::Commit(p, DEMO_NAME, "x"), UIEControlNotOperable);
    EXPECT_EQ(uitest::Commit(p, DEMO_GAIN, 3.0), UIEControlNotOperable);
    EXPECT_EQ(uitest::Commit(p, DEMO_SHOWN, 3), UIEControlNotOperable);  // display only
    EXPECT_EQ(uitest::Commit(p, DEMO_LAMP, 1), UIEControlNotOperable);
    SetCtrlAttribute(p, DEMO_BOX, ATTR_DIMMED, 0);
    EXPECT_EQ(uitest::Commit(p, DEMO_GAIN, 3.0), 0);

    // Buttons go down before they come up.
    EXPECT_EQ(uitest::Release(p, DEMO_UP), UIEOutOfRange);
    EXPECT_EQ(uitest::Press(p, DEMO_UP), 0);
    EXPECT_EQ(uitest::Press(p, DEMO_UP), UIEOutOfRange);
    EXPECT_EQ(uitest::Release(p, DEMO_UP), 0);
    EXPECT_EQ(uitest::Commit(p, DEMO_APPLY, 1), UIEInvalidType);

    // Normal mode: the operator may change it, but it commits nothing.
    SetCtrlAttribute(p, DEMO_LEVEL, ATTR_CTRL_MODE, VAL_NORMAL);
    SeenEvents().clear();
    EXPECT_EQ(uitest::Commit(p, DEMO_LEVEL, 30), 0);
    EXPECT_TRUE(SeenEvents().empty());
    EXPECT_EQ(CtrlValue(p, DEMO_LEVEL), 30);
}

}  // namespace
