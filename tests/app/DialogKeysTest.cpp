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

using DialogKeys = AppTest;

TEST_F(DialogKeys, EnterIsOkOrTheFocusedButtonEscapeCancelsACameraPanelStays)
{
    startOn("VK-400");
    const struct {
        int item;
        const char* panel;
        int typedInto;  // 0: nothing typed
        const char* typed;
        int keyAt, key;
        bool onCancel;  // the focus on Cancel
        bool stays;
        const char* sent;  // nullptr: not counted
        int count;         // since the start
    } cases[] = {
        {MAINMNU_FILE_SETUP, "PREF", PREF_LABEL1, "Zoom Lens", PREF_LABEL1, Qt::Key_Return, false, false,
         nullptr, 0},
        {MAINMNU_FILE_SETUP, "PREF", PREF_LABEL1, "Not taken", PREF_LABEL1, Qt::Key_Escape, false, false,
         nullptr, 0},
        {MAINMNU_FILE_SETUP, "PREF", PREF_LABEL1, "Not taken either", 0, Qt::Key_Enter, true, false, nullptr,
         0},
        {MAINMNU_FILE_LOAD, "LOADSET", 0, nullptr, LOADSET_SETNO, Qt::Key_Escape, false, false, ":LSTA=", 0},
        {MAINMNU_FILE_LOAD, "LOADSET", 0, nullptr, LOADSET_SETNO, Qt::Key_Return, false, false, ":LSTA=", 1},
        {MAINMNU_FILE_SAVESET, "SAVESET", 0, nullptr, 0, Qt::Key_Return, false, false, ":WSTA=", 1},
        // Enter in the one-line comment is the dialog's.
        {MAINMNU_FILE_SAVEFILE, "F_SAVESET", F_SAVESET_COMMENT, "by keyboard", F_SAVESET_COMMENT,
         Qt::Key_Return, false, false, nullptr, 0},
        {MAINMNU_ADVSET, "ADVSET", 0, nullptr, ADVSET_VPD, Qt::Key_Return, false, true, nullptr, 0},
        {MAINMNU_ADVSET, "ADVSET", 0, nullptr, 0, Qt::Key_Enter, false, true, nullptr, 0},
    };
    uitest::AnswerFileDialog("keys.cfg");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.panel) + " " + std::to_string(c.keyAt) + " " + std::to_string(c.key));
        const int dialog = choose(c.item);
        ASSERT_EQ(PanelName(dialog), c.panel);
        if (c.typed) {
            ASSERT_EQ(uitest::Commit(dialog, c.typedInto, c.typed), 0);
        }
        if (c.onCancel) uitest::ControlWidget(dialog, PREF_CANCEL)->setFocus();
        ASSERT_EQ(uitest::PressKey(dialog, c.keyAt, c.key), 0);
        EXPECT_EQ(uitest::TopPopup(), c.stays ? dialog : 0);
        if (c.sent) {
            EXPECT_EQ(CountSent(camera(1).log(), c.sent), c.count);
        }
        while (uitest::TopPopup()) RemovePopup(0);  // a dialog left open fails its own case only
    }
    EXPECT_STREQ(g_label1, "Zoom Lens");  // neither Escape nor Cancel took theirs
    EXPECT_EQ(CtrlText(g_mainpanel, MAIN_L1), "Zoom Lens");
    QFile file(QString::fromStdString(path("keys.cfg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().split('\n').at(1).startsWith("by keyboard"));
    EXPECT_TRUE(uitest::Popups().empty());
}

}  // namespace
