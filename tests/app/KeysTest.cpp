// The keyboard and the Help menu of the main window: every standard key
// reaches its command from a field with the focus, no two items of a menu
// share an access key, every item that opens a dialog says so with "…",
// and Escape closes every pop-up.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <set>

#include "AppFixture.h"
#include "camera/Globals.h"
#include "panels/PanelGlobals.h"
#include "resources/UlvoIccd.h"
#include "support/UiTestDriver.h"

namespace {

class Keys : public AppTest {
protected:
    static QMenuBar* bar() { return uitest::PanelWidget(g_mainpanel)->findChild<QMenuBar*>("MAINMNU"); }
};

TEST_F(Keys, MenusShowTheirKeysAndNoTwoItemsShareAnAccessKey)
{
    startOn("VKC-475", {"/fac"});  // every item there
    QStringList top;
    for (QAction* a : bar()->actions()) top << a->text();
    EXPECT_EQ(top,
              QStringList({"&File", "&Edit", "&View", "&Advanced Settings…", "&Color Processing…", "&Help"}));
    struct Menu {
        const char* name;
        std::vector<std::string> items;  // text, a tab, and the key
    } menus[] = {{"MAINMNU_FILE",
                  {"&Preferences…\tCtrl+,", "&Load Settings…", "&Save Settings…",
                   "L&oad Settings File…\tCtrl+O", "Sa&ve Settings File…\tCtrl+S", "Pr&esets…",
                   "Spli&t Screen…", "-", "&FPGA Access…", "&AFE Access…", "E&xit\tCtrl+Q"}},
                 {"MAINMNU_EDIT", {"&Restore Previous Settings"}},
                 {"MAINMNU_VIEW", {"&Refresh\tF5"}},
                 {"MAINMNU_HELP", {"&User Guide\tF1", "&About Ulvo ICCD Camera Control…"}}};
    std::set<QChar> barKeys;
    for (QAction* a : bar()->actions())
        EXPECT_TRUE(barKeys.insert(a->text()[a->text().indexOf('&') + 1]).second);
    for (const Menu& m : menus) {
        SCOPED_TRACE(m.name);
        QMenu* menu = bar()->findChild<QAction*>(m.name)->menu();
        ASSERT_NE(menu, nullptr);
        std::vector<std::string> items;
        std::set<QChar> keys;
        for (QAction* a : menu->actions()) {
            if (!a->isVisible()) continue;  // the recent files, none yet
            if (a->isSeparator()) {
                items.push_back("-");
                continue;
            }
            const QString key = a->shortcut().toString(QKeySequence::NativeText);
            items.push_back((key.isEmpty() ? a->text() : a->text() + '\t' + key).toStdString());
            EXPECT_TRUE(keys.insert(a->text()[a->text().indexOf('&') + 1].toLower()).second)
                << a->text().toStdString();
        }
        EXPECT_EQ(items, m.items);
    }
}

TEST_F(Keys, StandardKeysReachTheirCommandsFromATextField)
{
    // The VKC-475 in automatic mode, where ALC Level is a field the operator can type in.
    putCamera(1, "VKC-475");
    camera(1).setReg("AEC", 1);
    ASSERT_EQ(start(), AppStartResult::Started);
    ASSERT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);
    camera(1).clearLog();
    ASSERT_EQ(uitest::TypeKey(g_mainpanel, MAIN_ALV, Qt::Key_F5), 0);
    ASSERT_FALSE(camera(1).log().empty());
    EXPECT_EQ(camera(1).log().front(), ":CAM?");

    ASSERT_EQ(uitest::TypeKey(g_mainpanel, MAIN_ALV, Qt::CTRL | Qt::Key_O), 0);
    ASSERT_EQ(uitest::FileDialogs().size(), 1u);  // cancelled: no answer queued
    EXPECT_EQ(uitest::FileDialogs()[0].title, "Load Camera Settings From File");

    const struct {
        QKeyCombination key;
        const char* panel;
    } dialogs[] = {{Qt::CTRL | Qt::Key_S, "F_SAVESET"},
                   {Qt::CTRL | Qt::Key_Comma, "PREF"},
                   {Qt::ALT | Qt::Key_C, "CPROC"},
                   {Qt::ALT | Qt::Key_A, "ADVSET_C"}};
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.panel);
        ASSERT_EQ(uitest::TypeKey(g_mainpanel, MAIN_ALV, d.key), 0);
        pump();
        EXPECT_EQ(PanelName(uitest::TopPopup()), d.panel);
        if (uitest::TopPopup()) RemovePopup(0);
    }
    // Nothing typed into the field.
    EXPECT_EQ(camera(1).reg("ALV"), std::optional<int>(CtrlInt(g_mainpanel, MAIN_ALV)));

    ASSERT_EQ(uitest::TypeKey(g_mainpanel, MAIN_ALV, Qt::Key_F1), 0);
    ASSERT_EQ(uitest::OpenedDocuments().size(), 1u);
    EXPECT_TRUE(QString::fromStdString(uitest::OpenedDocuments()[0]).endsWith("/doc/USER_GUIDE.html"));
    EXPECT_TRUE(uitest::Popups().empty());

    ASSERT_EQ(uitest::TypeKey(g_mainpanel, MAIN_ALV, Qt::CTRL | Qt::Key_Q), 0);
    stop();
}

TEST_F(Keys, EscapeClosesEveryPopUp)
{
    startOn("VKC-475", {"/fac"});
    for (int item :
         {MAINMNU_FILE_SETUP, MAINMNU_FILE_LOAD, MAINMNU_FILE_SAVESET, MAINMNU_FILE_SAVEFILE,
          MAINMNU_FILE_SPLIT, MAINMNU_FILE_FTEST, MAINMNU_FILE_AFEACC, MAINMNU_ADVSET, MAINMNU_COLORPROC}) {
        SCOPED_TRACE(item);
        ASSERT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, item), 0);
        pump();
        const int popup = uitest::TopPopup();
        ASSERT_GT(popup, 0);
        ASSERT_EQ(uitest::PressKey(popup, 0, Qt::Key_Escape), 0);
        pump();
        EXPECT_EQ(uitest::TopPopup(), 0) << PanelName(popup);
    }
    EXPECT_TRUE(uitest::Popups().empty());
}

TEST_F(Keys, AboutGivesTheVersionsAndTheLicence)
{
    startOn("VK-470");
    ASSERT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, MAINMNU_HELP_ABOUT), 0);
    ASSERT_EQ(uitest::Popups().size(), 1u);
    const uitest::Popup about = uitest::Popups()[0];
    EXPECT_EQ(about.title, "About Ulvo ICCD Camera Control");
    const QString text = QString::fromStdString(about.text);
    EXPECT_TRUE(text.startsWith("Ulvo ICCD Camera Control\nVersion 0.1\n")) << about.text;
    for (const char* bit : {"Built with Qt 6.", "All rights reserved.", "GNU Lesser General Public License"})
        EXPECT_TRUE(text.contains(QLatin1String(bit))) << about.text;
    EXPECT_TRUE(camera(1).log().empty());
}

}  // namespace
