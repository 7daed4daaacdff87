// Named presets and the recent settings files, through the dialog and the
// File menu an operator uses.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include "AppFixture.h"
#include "app/MenuCallbacks.h"
#include "app/Presets.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "resources/UlvoIccd.h"
#include "support/UiTestDriver.h"

namespace {

using uitest::Popup;

class Presets : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        SetUserDataFolder(path("data"));
    }
    std::string fileText(const std::string& file) const
    {
        QFile f(QString::fromStdString(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }
    // The recent-file items as the File menu shows them.
    static std::vector<std::string> recentItems()
    {
        std::vector<std::string> shown;
        const QMenuBar* bar = uitest::PanelWidget(g_mainpanel)->findChild<QMenuBar*>("MAINMNU");
        for (QAction* a : bar->findChild<QAction*>("MAINMNU_FILE")->menu()->actions())
            if (a->isVisible() && a->text().startsWith('&') && a->text()[1].isDigit())
                shown.push_back(a->text().left(a->text().indexOf("  (")).toStdString());
        return shown;
    }
};

TEST_F(Presets, SavedRecalledReplacedAndDeletedThroughTheDialog)
{
    startOn("VK-470");
    camera(1).setReg("ALV", 40);
    int dialog = choose(MAINMNU_FILE_PRESETS);
    ASSERT_EQ(PanelName(dialog), "PRESETS");
    EXPECT_EQ(Dimmed(dialog, PRESETS_RECALL), 1);  // nothing to recall yet
    EXPECT_EQ(CtrlText(dialog, PRESETS_FOLDER), "In " + path("data/presets"));

    // A name must stay a file in the presets folder.
    for (const char* bad : {"", "../up", ".hidden", "a/b", "tab\there"}) {
        uitest::ClearPopups();
        ASSERT_EQ(uitest::Commit(dialog, PRESETS_NAME, bad), 0);
        ASSERT_EQ(uitest::Click(dialog, PRESETS_SAVE), 0);
        ASSERT_EQ(uitest::Popups().size(), 1u) << bad;
        EXPECT_EQ(uitest::Popups()[0].title, "Presets");
    }
    EXPECT_FALSE(QDir(QString::fromStdString(path("data/presets"))).exists("../up.cfg"));

    ASSERT_EQ(uitest::Commit(dialog, PRESETS_NAME, "Bench A"), 0);
    ASSERT_EQ(uitest::Click(dialog, PRESETS_SAVE), 0);
    const std::string file = path("data/presets/Bench A.cfg");
    EXPECT_NE(fileText(file).find("\nALV: 40"), std::string::npos);
    EXPECT_EQ(PresetNames(), (std::vector<std::string>{"Bench A"}));
    EXPECT_EQ(Dimmed(dialog, PRESETS_RECALL), 0);
    EXPECT_EQ(Mpnl_LastAction().substr(9), "Saved the settings to \"Bench A.cfg\"");

    // Saved again under the name: replaced only when the operator agrees.
    camera(1).setReg("ALV", 55);
    uitest::AnswerConfirm(false);
    ASSERT_EQ(uitest::Click(dialog, PRESETS_SAVE), 0);
    EXPECT_NE(fileText(file).find("\nALV: 40"), std::string::npos);

    // Recalled: the camera gets the preset's level and the dialog closes.
    uitest::ClearPopups();
    ASSERT_EQ(uitest::Click(dialog, PRESETS_RECALL), 0);
    EXPECT_EQ(*camera(1).reg("ALV"), 40);
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 40);
    EXPECT_EQ(
        uitest::Popups(),
        (std::vector<Popup>{{"Load Settings From File", "The camera took every setting of the file."}}));
    EXPECT_EQ(Mpnl_LastAction().substr(9), "Loaded \"Bench A.cfg\"");
    EXPECT_EQ(recentItems(), (std::vector<std::string>{"&1 Bench A.cfg"}));

    dialog = choose(MAINMNU_FILE_PRESETS);
    uitest::AnswerConfirm(true);
    ASSERT_EQ(uitest::Click(dialog, PRESETS_DELETE), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
    EXPECT_EQ(Dimmed(dialog, PRESETS_RECALL), 1);
    EXPECT_TRUE(recentItems().empty());  // a deleted preset is no recent file either
}

TEST_F(Presets, RecentFilesAreTheLastFiveMostRecentFirstAndOutliveTheProgram)
{
    startOn("VK-470");
    for (const char* name : {"f1.cfg", "f2.cfg", "f3.cfg", "f4.cfg", "f5.cfg", "two__marks.cfg"}) {
        camera(1).setReg("ALV", name[1] == 'w' ? 66 : 10 * (name[1] - '0'));
        ASSERT_EQ(SaveSettingsToFile(path(name), ""), 0);
    }
    // Only the first "__" marks the access key: the file's own stay in its name.
    const std::vector<std::string> five = {"&1 two__marks.cfg", "&2 f5.cfg", "&3 f4.cfg", "&4 f3.cfg",
                                           "&5 f2.cfg"};
    EXPECT_EQ(recentItems(), five);
    SetUserDataFolder(path("data"));  // as the next start reads it
    EXPECT_EQ(RecentFiles().size(), 5u);
    EXPECT_EQ(RecentFiles()[1], path("f5.cfg"));

    // Chosen from the menu: loaded, and first in the list.
    ASSERT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, MAINMNU_FILE_RECENT1 + 2), 0);
    EXPECT_EQ(*camera(1).reg("ALV"), 40);
    EXPECT_EQ(recentItems()[0], "&1 f4.cfg");

    // A file gone from the disk is said so and taken off the list.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path("f3.cfg"))));
    uitest::ClearPopups();
    ASSERT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, MAINMNU_FILE_RECENT1 + 3), 0);
    ASSERT_EQ(uitest::Popups().size(), 1u);
    EXPECT_EQ(uitest::Popups()[0].text.rfind("Failure opening camera settings file.\n", 0), 0u);
    EXPECT_EQ(recentItems(),
              (std::vector<std::string>{"&1 f4.cfg", "&2 two__marks.cfg", "&3 f5.cfg", "&4 f2.cfg"}));
}

}  // namespace
