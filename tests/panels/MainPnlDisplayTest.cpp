// Showing the camera's settings, the Refresh button with and without a camera,
// and the serial traffic monitor of the factory screen.
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <string>
#include <vector>

#include "MainPanelFixture.h"
#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "panels/MainPnl.h"
#include "panels/PanelGlobals.h"
#include "resources/UlvoIccd.h"

namespace {

using Lines = std::vector<std::string>;

class MainPnlDisplay : public MainPanelTest {
protected:
    static std::string monitorLine(int index)
    {
        std::string text;
        GetCtrlVal(panel(), MAIN_RS232, &text);
        std::size_t at = 0;
        for (int i = 0; i < index && at != std::string::npos; ++i) {
            at = text.find('\n', at);
            if (at != std::string::npos) ++at;
        }
        if (at == std::string::npos) return {};
        return text.substr(at, text.find('\n', at) - at);
    }
    // The line without its time ("14:02:07.315  "): "> :WBM=1".
    static std::string traffic(int index)
    {
        const std::string line = monitorLine(index);
        return line.size() > 14 ? line.substr(14) : line;
    }
    static int monitorLines()
    {
        int n = -1;
        GetCtrlAttribute(panel(), MAIN_RS232, ATTR_TOTAL_LINES, &n);
        return n;
    }
};

TEST_F(MainPnlDisplay, ShowsTheCameraSettings)
{
    // Values unlike the power-on ones, each in its own control.
    const struct {
        const char* mnemonic;
        int value, control;
    } shown[] = {{"ALV", 90, MAIN_ALV}, {"SHS", 500, MAIN_SHS}, {"SMX", 400, MAIN_SMX},
                 {"GAM", 0, MAIN_GAM},  {"MFT", 0, MAIN_MFT},   {"MFI", 1, MAIN_MFI},
                 {"MIR", 1, MAIN_MIR},  {"IPH", 3, MAIN_IPH},   {"CMD", 0, MAIN_CMD},
                 {"WBM", 1, MAIN_WBM},  {"DFC", 0, MAIN_DFC},   {"SB2", 0, MAIN_DFC_ACCESS}};
    connect("VKC-475", 1);
    for (const auto& s : shown) camera().setReg(s.mnemonic, s.value);
    camera().setReg("AEC", 0);
    camera().setReg("AGN", 284);
    camera().setReg("CGB", 1071);
    show();
    for (const auto& s : shown) EXPECT_EQ(intVal(s.control), s.value) << s.mnemonic;
    EXPECT_EQ(intVal(MAIN_MODEL), 5);
    EXPECT_EQ(intVal(MAIN_MODE), 0);
    EXPECT_NEAR(realVal(MAIN_AGN), 9.9968, 1e-4);  // 284 x 0.0352
    EXPECT_NEAR(realVal(MAIN_TIMEMS), 500 * 0.06356, 1e-9);
    EXPECT_NEAR(realVal(MAIN_CGAIN_BLUE), 1.045910, 1e-5);  // 0.001 + 1070 x 0.00097655103
    // Manual mode: the gain is open, the automatic limits are not; without
    // blemish access the compensation is locked.
    EXPECT_FALSE(dimmed(MAIN_AGN));
    EXPECT_FALSE(dimmed(MAIN_SHS));
    for (int c : {MAIN_ALV, MAIN_AMX, MAIN_SMX, MAIN_DFC}) EXPECT_TRUE(dimmed(c)) << c;
}

TEST_F(MainPnlDisplay, ColourCameraReportingTriggerInputShowsCsync)
{
    start("VKC-475");
    CamMainSettings rec{};
    rec.aec = 1;
    rec.mfi = 2;
    Mpnl_DisplayMain(&rec);
    EXPECT_EQ(rec.mfi, 1);
    EXPECT_EQ(intVal(MAIN_MFI), 1);

    start("VK-475");  // the mono ring has the item
    rec.mfi = 2;
    Mpnl_DisplayMain(&rec);
    EXPECT_EQ(rec.mfi, 2);
    EXPECT_EQ(intVal(MAIN_MFI), 2);
}

TEST_F(MainPnlDisplay, RefreshReadsEverythingAgain)
{
    start("VK-470");
    camera().setReg("ALV", 77);
    camera().setReg("SB1", 0);
    camera().faults().replyDelayMs = 5;

    // The lamp is lit while the queries run.
    std::vector<int> lamp;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] { lamp.push_back(intVal(MAIN_REF_ACTIVE)); });
    probe.start(2);
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    probe.stop();
    ASSERT_FALSE(lamp.empty());
    EXPECT_EQ(lamp.front(), 1);
    EXPECT_EQ(intVal(MAIN_REF_ACTIVE), 0);

    ASSERT_GE(sent().size(), 3u);
    EXPECT_EQ(sent()[0], ":CAM?");
    EXPECT_EQ(intVal(MAIN_ALV), 77);
    EXPECT_TRUE(dimmed(MAIN_MODE));  // no ALC user access
    EXPECT_TRUE(popups().empty());
}

TEST_F(MainPnlDisplay, RefreshWithoutACamera)
{
    start("VK-470");
    camera().setReg("ALV", 77);

    // No port: nothing at all.
    const int port = g_com_port;
    g_com_port = 0;
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    g_com_port = port;
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(popups().empty());

    // No answer, also when asked again: the message, and the panel stays as it was.
    camera().faults().silent = true;
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_EQ(sent(), (Lines{":CAM?", ":CAM?"}));
    EXPECT_EQ(popups(), std::vector{Error("No camera found.\n")});
    EXPECT_EQ(intVal(MAIN_ALV), 128);
    EXPECT_EQ(intVal(MAIN_REF_ACTIVE), 0);
}

// Four refused queries end the snapshot; the message names the refusal, and
// what was read is still shown on the reshaped panel.
TEST_F(MainPnlDisplay, RefreshWithFailingQueries)
{
    start("VK-470");
    ASSERT_EQ(intVal(MAIN_MFT), 1);
    camera().setReg("ALV", 77);
    camera().faults().refuse = {"AEC", "AGN", "AMX", "GAM"};
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_EQ(popups(), std::vector{Error("Failure querying camera for current settings.\n"
                                          "Camera returned error message NAK.")});
    EXPECT_EQ(title(), "Ulvo VK-470 Camera Control");
    EXPECT_EQ(intVal(MAIN_ALV), 77);  // read before the snapshot stopped
    EXPECT_EQ(intVal(MAIN_MFT), 1);   // never reached: not shown as the record's 0
    EXPECT_EQ(intVal(MAIN_REF_ACTIVE), 0);
}

// A query that failed gave 0 or the value of count 0; shown, it would pass
// for the camera's setting.  Its control keeps what it showed.
TEST_F(MainPnlDisplay, RefreshKeepsWhatAFailedQueryShowed)
{
    start("VK-470");
    camera().setReg("AGN", 57);
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    double gain = 0.0;
    GetCtrlVal(panel(), MAIN_AGN, &gain);
    EXPECT_NEAR(gain, 2.0064, 1e-6);  // 57 x 0.0352

    camera().setReg("AGN", 355);
    camera().setReg("ALV", 77);
    camera().faults().refuse = {"AGN"};
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    GetCtrlVal(panel(), MAIN_AGN, &gain);
    EXPECT_NEAR(gain, 2.0064, 1e-6);
    EXPECT_EQ(intVal(MAIN_ALV), 77);  // the rest is shown as read
}

// Refresh pressed while another command waits for its reply: it is carried
// out once that command has its answer, and the panel never takes an
// unanswered model query for the first model of the table.
TEST_F(MainPnlDisplay, RefreshDuringAnotherCommandFollowsIt)
{
    connect("VK-470");
    camera().setReg("AEC", 0);
    show();
    camera().faults().replyDelayMs = 50;
    QTimer::singleShot(
        10, [] { Mpnl_RefreshButtonCallback(g_mainpanel, MAIN_REFRESH, EVENT_COMMIT, nullptr, 0, 0); });
    ASSERT_EQ(uitest::Commit(panel(), MAIN_GAM, 0), 0);
    PumpEvents(20);
    ASSERT_GE(sent().size(), 3u);
    EXPECT_EQ(sent()[0], ":GAM=0");
    EXPECT_EQ(sent()[1], ":CAM?");
    EXPECT_EQ(sent()[2], ":SB1?");
    EXPECT_EQ(g_cam_model_user_idx, 4);
    EXPECT_EQ(title(), "Ulvo VK-470 Camera Control");
    EXPECT_TRUE(popups().empty());
}

TEST_F(MainPnlDisplay, TrafficMonitorOnTheFactoryScreen)
{
    start("VKC-475", 1);
    ResetTextBox(panel(), MAIN_RS232, "");  // the traffic of the start
    ASSERT_EQ(uitest::Commit(panel(), MAIN_WBM, 1), 0);
    EXPECT_EQ(monitorLines(), 2);
    // The time to the millisecond, then which way the line went.
    const QRegularExpression timed(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d  > :WBM=1$"));
    EXPECT_TRUE(timed.match(QString::fromStdString(monitorLine(0))).hasMatch()) << monitorLine(0);
    EXPECT_EQ(traffic(0), "> :WBM=1");
    EXPECT_EQ(traffic(1), "< :o");

    // A refresh fills the box; the newest line stays in view.
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_EQ(traffic(2), "> :CAM?");
    EXPECT_EQ(traffic(3), "< :oVKC-475");
    EXPECT_GT(monitorLines(), 40);
    auto* box = qobject_cast<QPlainTextEdit*>(uitest::ControlWidget(panel(), MAIN_RS232));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());

    // The user screen has no monitor and logs nothing.
    start("VKC-475", 0);
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_EQ(monitorLines(), 0);
}

TEST_F(MainPnlDisplay, TrafficMonitorKeepsTheNewestLines)
{
    start("VKC-475", 1);
    const int total = kTrafficMonitorLines + 150;
    for (int i = 0; i < total; ++i) Mpnl_ShowTraffic((":AGN=" + std::to_string(i) + "\r").c_str(), i % 2);
    EXPECT_EQ(monitorLines(), kTrafficMonitorLines);
    EXPECT_EQ(traffic(0), "> :AGN=150");
    EXPECT_EQ(traffic(kTrafficMonitorLines - 1), "< :AGN=" + std::to_string(total - 1));
}

TEST_F(MainPnlDisplay, TrafficMonitorPausesClearsAndSaves)
{
    start("VK-470", 1);
    ResetTextBox(panel(), MAIN_RS232, "");
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_PAUSE, 1), 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_ALV, 70), 0);  // two lines, held back
    EXPECT_EQ(monitorLines(), 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_PAUSE, 0), 0);
    EXPECT_EQ(monitorLines(), 1);
    EXPECT_EQ(traffic(0), "(2 lines not shown while paused)");
    ASSERT_EQ(uitest::Commit(panel(), MAIN_ALV, 71), 0);
    EXPECT_EQ(traffic(1), "> :ALV=71");

    QTemporaryDir dir;
    uitest::AnswerFileDialog(dir.filePath("traffic").toStdString());
    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_SAVE), 0);
    EXPECT_EQ(uitest::FileDialogs().back().pattern, "*.txt");
    QFile saved(dir.filePath("traffic.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4);  // three lines and the empty rest
    EXPECT_TRUE(lines[1].endsWith("  > :ALV=71\r"));
    EXPECT_TRUE(lines[2].endsWith("  < :o\r"));

    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_CLEAR), 0);
    EXPECT_EQ(monitorLines(), 0);
    EXPECT_TRUE(popups().empty());
}

}  // namespace
