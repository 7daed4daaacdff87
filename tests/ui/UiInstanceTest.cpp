// The single-instance check between real processes: this test program runs
// copies of itself as the other instance.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QWidget>

#include "UiTestResource.h"
#include "support/UiTestDriver.h"

namespace {

std::string uniqueKey(const char* what)
{
    return "IccdInstanceTest-" + std::to_string(::getpid()) + "-" + what;
}

// Runs this program as another copy in the given role; its exit code tells
// what it found (see AnotherCopy below).
int runCopy(const char* role, const std::string& key)
{
    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ICCD_INSTANCE_ROLE", role);
    env.insert("ICCD_INSTANCE_KEY", QString::fromStdString(key));
    copy.setProcessEnvironment(env);
    copy.start(QCoreApplication::applicationFilePath(),
               {"--gtest_filter=UiInstanceCopy.DISABLED_AnotherCopy", "--gtest_also_run_disabled_tests"});
    if (!copy.waitForFinished(20000)) return -1;
    return copy.exitStatus() == QProcess::NormalExit ? copy.exitCode() : -2;
}

void pump()
{
    for (int i = 0; i < 20; ++i) WaitForSystemEvents(0.01);
}

// Not a test of its own: the other copy that the tests below start.
TEST(UiInstanceCopy, DISABLED_AnotherCopy)
{
    const QByteArray role = qgetenv("ICCD_INSTANCE_ROLE");
    if (role.isEmpty()) GTEST_SKIP() << "started by the instance tests";
    SetAppInstanceKey(qgetenv("ICCD_INSTANCE_KEY").constData());
    int duplicate = -1;
    const int result = CheckForDuplicateAppInstance(role == "raise", &duplicate);
    // "crash" ends as a first copy that died: no clean-up of its listening socket.
    if (role == "crash") ::_exit(result == 0 && duplicate == 0 ? 42 : 1);
    // "later": found out quietly, then (its message read) asks for the first copy.
    if (role == "later" && result == 0 && duplicate == 1) ::_exit(ActivateOtherAppInstance() == 0 ? 1 : 98);
    ::_exit(result == 0 ? duplicate : 99);
}

TEST(UiInstance, ALaterCopyIsRefusedAndBringsTheFirstForward)
{
    RegisterTestResource();
    uitest::Reset();
    SetAppInstanceKey(uniqueKey("first").c_str());
    const int panel = LoadPanel(0, kTestUir, DEMO);
    DisplayPanel(panel);
    QWidget* window = uitest::PanelWidget(panel);
    window->showMinimized();

    int duplicate = -1;
    ASSERT_EQ(CheckForDuplicateAppInstance(1, &duplicate), 0);
    EXPECT_EQ(duplicate, 0);
    ASSERT_EQ(CheckForDuplicateAppInstance(1, &duplicate), 0);  // asked again: still the first
    EXPECT_EQ(duplicate, 0);

    EXPECT_EQ(runCopy("quiet", uniqueKey("first")), 1);
    pump();
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);  // not asked to come forward

    EXPECT_EQ(runCopy("raise", uniqueKey("first")), 1);
    pump();
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);

    // Asked for separately, after the later copy's message.
    window->showMinimized();
    EXPECT_EQ(runCopy("later", uniqueKey("first")), 1);
    pump();
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);

    // Another key is another program.
    EXPECT_EQ(runCopy("quiet", uniqueKey("other")), 0);
    uitest::Reset();
}

TEST(UiInstance, ACopyThatDiedDoesNotBlockTheNextStart)
{
    const std::string key = uniqueKey("crashed");
    ASSERT_EQ(runCopy("crash", key), 42);
    SetAppInstanceKey(key.c_str());
    int duplicate = -1;
    EXPECT_EQ(CheckForDuplicateAppInstance(1, &duplicate), 0);
    EXPECT_EQ(duplicate, 0);
    EXPECT_EQ(runCopy("quiet", key), 1);  // and it now answers for the key itself
    SetAppInstanceKey(nullptr);
}

TEST(UiInstance, RunTimeQueries)
{
    EXPECT_EQ(InitRunTime(nullptr, nullptr, 0), 1);  // the application object exists already
    int height = 0, width = 0;
    ASSERT_EQ(GetScreenSize(&height, &width), 0);
    EXPECT_GT(height, 0);
    EXPECT_GT(width, 0);
    std::string dir;
    GetProjectDir(&dir);
    EXPECT_EQ(dir, QDir::toNativeSeparators(QDir::currentPath()).toStdString());
    char small[2];
    EXPECT_EQ(GetProjectDir(small), UIEBufferTooSmall);
    EXPECT_STREQ(GetUILErrorString(UIEItemNotInList), "No list item has that value.");
}

}  // namespace
