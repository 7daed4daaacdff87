// The keyboard in the program's dialogs: Enter presses OK (or the button
// with the focus), Escape cancels; in a camera panel Enter only commits a
// value and the panel stays.
#include <QFile>
#include <QWidget>

#include "AppFixture.h"
#include "camera/Globals.h"
#include "panels/PanelGlobals.h"
#include "resources/UlvoIccd.h"
#include "support/UiTestDriver.h"

namespace {

class DialogKeys : public AppTest {
protected:
    int open(int item)
    {
        EXPECT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, item), 0);
        return uitest::TopPopup();
    }
};

TEST_F(DialogKeys, PreferencesTakeEnterAsOkAndEscapeAsCancel)
{
    startOn("VKC-475");
    int pref = open(MAINMNU_FILE_SETUP);
    ASSERT_EQ(PanelName(pref), "PREF");
    // A caption typed and Enter in its box: the dialog takes it and closes.
    ASSERT_EQ(uitest::Commit(pref, PREF_LABEL1, "Zoom Lens"), 0);
    ASSERT_EQ(uitest::PressKey(pref, PREF_LABEL1, Qt::Key_Return), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_STREQ(g_label1, "Zoom Lens");
    EXPECT_EQ(CtrlText(g_mainpanel, MAIN_L1), "Zoom Lens");

    pref = open(MAINMNU_FILE_SETUP);
    ASSERT_EQ(uitest::Commit(pref, PREF_LABEL1, "Not taken"), 0);
    ASSERT_EQ(uitest::PressKey(pref, PREF_LABEL1, Qt::Key_Escape), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_STREQ(g_label1, "Zoom Lens");

    // Enter on the focused Cancel button presses Cancel, not OK.
    pref = open(MAINMNU_FILE_SETUP);
    ASSERT_EQ(uitest::Commit(pref, PREF_LABEL1, "Not taken either"), 0);
    uitest::ControlWidget(pref, PREF_CANCEL)->setFocus();
    ASSERT_EQ(uitest::PressKey(pref, 0, Qt::Key_Enter), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_STREQ(g_label1, "Zoom Lens");
    EXPECT_TRUE(uitest::Popups().empty());
}

TEST_F(DialogKeys, UserSetDialogsTakeEnterAsOkAndEscapeAsCancel)
{
    startOn("VK-470");
    int load = open(MAINMNU_FILE_LOAD);
    ASSERT_EQ(PanelName(load), "LOADSET");
    ASSERT_EQ(uitest::PressKey(load, LOADSET_SETNO, Qt::Key_Escape), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(CountSent(camera(1).log(), ":LSTA="), 0);

    load = open(MAINMNU_FILE_LOAD);
    ASSERT_EQ(uitest::PressKey(load, LOADSET_SETNO, Qt::Key_Return), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(CountSent(camera(1).log(), ":LSTA="), 1);

    const int save = open(MAINMNU_FILE_SAVESET);
    ASSERT_EQ(PanelName(save), "SAVESET");
    ASSERT_EQ(uitest::PressKey(save, 0, Qt::Key_Return), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(CountSent(camera(1).log(), ":WSTA="), 1);
}

TEST_F(DialogKeys, SaveSettingsFileTakesEnterInItsCommentAsOk)
{
    startOn("VK-400");
    const int dialog = open(MAINMNU_FILE_SAVEFILE);
    ASSERT_EQ(PanelName(dialog), "F_SAVESET");
    ASSERT_EQ(uitest::Commit(dialog, F_SAVESET_COMMENT, "by keyboard"), 0);
    uitest::AnswerFileDialog("keys.cfg");
    ASSERT_EQ(uitest::PressKey(dialog, F_SAVESET_COMMENT, Qt::Key_Return), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    QFile file(QString::fromStdString(path("keys.cfg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().split('\n').at(1).startsWith("by keyboard"));
}

TEST_F(DialogKeys, EnterInACameraPanelCommitsAndKeepsThePanel)
{
    startOn("VK-400");
    const int adv = open(MAINMNU_ADVSET);
    ASSERT_EQ(PanelName(adv), "ADVSET");
    camera(1).clearLog();
    ASSERT_EQ(uitest::PressKey(adv, ADVSET_VPD, Qt::Key_Return), 0);
    EXPECT_EQ(uitest::TopPopup(), adv);
    ASSERT_EQ(uitest::PressKey(adv, 0, Qt::Key_Enter), 0);
    EXPECT_EQ(uitest::TopPopup(), adv);
}

}  // namespace
