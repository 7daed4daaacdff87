// Menu bars: built on the panel, items chosen, dimmed, renamed and removed.
#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "UiTestResource.h"

namespace {

class UiMenus : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        panel = LoadPanel(0, kTestUir, DEMO);
        bar = LoadMenuBar(panel, kTestUir, BAR);
        ASSERT_GT(bar, 0);
        DisplayPanel(panel);
    }

    QMenuBar* menuBar() const { return uitest::PanelWidget(panel)->findChild<QMenuBar*>("BAR"); }
    QAction* action(const char* name) const { return uitest::PanelWidget(panel)->findChild<QAction*>(name); }

    int panel = 0, bar = 0;
};

TEST_F(UiMenus, TheBarShowsItsMenusInOrderWithAccessKeys)
{
    ASSERT_NE(menuBar(), nullptr);
    QStringList top;
    for (QAction* a : menuBar()->actions()) top << a->text();
    EXPECT_EQ(top, QStringList({"&File", "&Tools && More"}));
    QMenu* file = action("BAR_FILE")->menu();
    ASSERT_NE(file, nullptr);
    QStringList items;
    for (QAction* a : file->actions()) items << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items, QStringList({"&Open", "-", "&More", "E&xit"}));

    std::string stored;
    GetMenuBarAttribute(bar, BAR_FILE_QUIT, ATTR_ITEM_NAME, &stored);
    EXPECT_EQ(stored, "E__xit");
    GetMenuBarAttribute(bar, BAR_TOOLS, ATTR_CALLBACK_NAME, &stored);
    EXPECT_EQ(stored, "RecordMenu");
    EXPECT_EQ(LoadMenuBar(panel, kTestUir, 9), UIEResourceNotFound);
    EXPECT_EQ(LoadMenuBar(panel + 100, kTestUir, BAR), UIEHandleInvalid);
}

TEST_F(UiMenus, ChoosingAnItemCallsItsCallbackWithBarItemAndPanel)
{
    ASSERT_EQ(uitest::ChooseMenuItem(bar, BAR_FILE_OPEN), 0);
    ASSERT_EQ(uitest::ChooseMenuItem(bar, BAR_TOOLS), 0);  // straight from the bar
    ASSERT_EQ(uitest::ChooseMenuItem(bar, BAR_FILE_MORE_ONE), 0);
    int data = 0;
    InstallMenuCallback(bar, BAR_FILE_QUIT, nullptr, &data);
    action("BAR_FILE_QUIT")->trigger();  // the operator's path through Qt
    const std::vector<SeenMenu> expected = {{bar, BAR_FILE_OPEN, panel, nullptr},
                                            {bar, BAR_TOOLS, panel, nullptr},
                                            {bar, BAR_FILE_MORE_ONE, panel, nullptr},
                                            {bar, BAR_FILE_QUIT, panel, &data}};
    EXPECT_EQ(SeenMenus(), expected);
    EXPECT_EQ(uitest::ChooseMenuItem(bar, BAR_FILE), UIEControlNotOperable);  // a menu, not a command
}

// Keys take Qt's own path from a field with the focus: an item's shortcut,
// also inside a submenu, and the access key of a command on the bar, which
// a text field must not take as a letter.
TEST_F(UiMenus, KeysReachTheirItemsWhereverTheFocusIs)
{
    EXPECT_EQ(action("BAR_FILE_OPEN")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    const struct {
        int control;
        QKeyCombination key;
        int item;
    } cases[] = {{DEMO_NAME, Qt::CTRL | Qt::Key_O, BAR_FILE_OPEN},
                 {DEMO_COUNT, Qt::CTRL | Qt::Key_O, BAR_FILE_OPEN},
                 {DEMO_GAIN, QKeyCombination(Qt::Key_F6), BAR_FILE_MORE_ONE},
                 {DEMO_NAME, Qt::ALT | Qt::Key_T, BAR_TOOLS},
                 {DEMO_COUNT, Qt::ALT | Qt::Key_T, BAR_TOOLS}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        SeenMenus().clear();
        ASSERT_EQ(uitest::TypeKey(panel, c.control, c.key), 0);
        EXPECT_EQ(SeenMenus(), (std::vector<SeenMenu>{{bar, c.item, panel, nullptr}}));
    }
    std::string name;
    GetCtrlVal(panel, DEMO_NAME, &name);
    EXPECT_EQ(name, "");  // no "t" typed into the field
    // A dimmed item's key does nothing.
    SetMenuBarAttribute(bar, BAR_FILE_OPEN, ATTR_DIMMED, 1);
    SeenMenus().clear();
    ASSERT_EQ(uitest::TypeKey(panel, DEMO_NAME, Qt::CTRL | Qt::Key_O), 0);
    EXPECT_TRUE(SeenMenus().empty());
}

TEST_F(UiMenus, DimmedItemsAndItemsInDimmedMenusCannotBeChosen)
{
    int dimmed = -1;
    EXPECT_EQ(SetMenuBarAttribute(bar, BAR_TOOLS, ATTR_DIMMED, 1), 0);
    GetMenuBarAttribute(bar, BAR_TOOLS, ATTR_DIMMED, &dimmed);
    EXPECT_EQ(dimmed, 1);
    EXPECT_FALSE(action("BAR_TOOLS")->isEnabled());
    EXPECT_EQ(uitest::ChooseMenuItem(bar, BAR_TOOLS), UIEControlNotOperable);
    SetMenuBarAttribute(bar, BAR_FILE_MORE, ATTR_DIMMED, 1);
    EXPECT_EQ(uitest::ChooseMenuItem(bar, BAR_FILE_MORE_ONE), UIEControlNotOperable);
    SetMenuBarAttribute(bar, BAR_FILE_MORE, ATTR_DIMMED, 0);
    EXPECT_EQ(uitest::ChooseMenuItem(bar, BAR_FILE_MORE_ONE), 0);

    // Behind a pop-up the menu bar is out of reach too.
    InstallPopup(LoadPanel(0, kTestUir, DIALOG));
    EXPECT_EQ(uitest::ChooseMenuItem(bar, BAR_FILE_OPEN), UIEControlNotOperable);
    RemovePopup(0);

    EXPECT_EQ(SetMenuBarAttribute(bar, BAR_FILE_OPEN, ATTR_ITEM_NAME, "__Open Camera..."), 0);
    EXPECT_EQ(action("BAR_FILE_OPEN")->text(), "&Open Camera...");
    EXPECT_EQ(SetMenuBarAttribute(bar, BAR_FILE_OPEN, ATTR_MIN_VALUE, 1), UIEInvalidAttribute);
    EXPECT_EQ(SetMenuBarAttribute(bar, 99, ATTR_DIMMED, 1), UIEMenuItemNotFound);
}

TEST_F(UiMenus, DiscardedItemsLeaveTheMenu)
{
    QMenu* file = action("BAR_FILE")->menu();
    EXPECT_EQ(DiscardMenuItem(bar, BAR_FILE_SEP), 0);
    EXPECT_EQ(DiscardMenuItem(bar, BAR_FILE_MORE), 0);  // with what is in it
    QStringList items;
    for (QAction* a : file->actions()) items << a->text();
    EXPECT_EQ(items, QStringList({"&Open", "E&xit"}));
    EXPECT_EQ(uitest::ChooseMenuItem(bar, BAR_FILE_MORE_ONE), UIEMenuItemNotFound);
    EXPECT_EQ(DiscardMenuItem(bar, BAR_FILE_SEP), UIEMenuItemNotFound);

    // A new menu bar replaces the old one; the panel's end is the bar's end.
    const int again = LoadMenuBar(panel, kTestUir, BAR);
    EXPECT_EQ(uitest::PanelWidget(panel)->findChildren<QMenuBar*>().size(), 1);
    EXPECT_EQ(uitest::ChooseMenuItem(bar, BAR_FILE_OPEN), UIEHandleInvalid);
    EXPECT_EQ(uitest::ChooseMenuItem(again, BAR_FILE_MORE_ONE), 0);
    DiscardPanel(panel);
    EXPECT_EQ(DiscardMenuItem(again, BAR_FILE_OPEN), UIEHandleInvalid);
}

}  // namespace
