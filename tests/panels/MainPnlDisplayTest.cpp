// Showing the camera's settings, the Refresh button with and without a camera,
// and the serial traffic monitor of the factory screen.
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <set>

#include "MainPanelFixture.h"
#include "camera/CommandSet.h"

namespace {

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
    static int monitorLines() { return attribute<int>(MAIN_RS232, ATTR_TOTAL_LINES); }
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
    setRegs({{"AEC", 0}, {"AGN", 284}, {"CGB", 1071}});
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

// A colour camera's trigger input (2) is shown as its CSYNC (1); the mono ring has the item.
TEST_F(MainPnlDisplay, ColourCameraReportingTriggerInputShowsCsync)
{
    for (const auto& [model, shown] : {std::pair{"VKC-475", 1}, std::pair{"VK-475", 2}}) {
        start(model);
        CamMainSettings rec{};
        rec.aec = 1;
        rec.mfi = 2;
        Mpnl_DisplayMain(&rec);
        EXPECT_EQ(rec.mfi, shown) << model;
        EXPECT_EQ(intVal(MAIN_MFI), shown) << model;
    }
}

TEST_F(MainPnlDisplay, RefreshReadsEverythingAgainOrSaysThereIsNoCamera)
{
    start("VK-470");
    setRegs({{"ALV", 77}, {"SB1", 0}});
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

    EXPECT_GE(sent().size(), 3u);
    EXPECT_EQ(firstSent(1), Lines{":CAM?"});
    EXPECT_EQ(intVal(MAIN_ALV), 77);
    EXPECT_TRUE(dimmed(MAIN_MODE));  // no ALC user access
    EXPECT_TRUE(popups().empty());

    // Without a camera.  No port: nothing at all.
    camera().faults().replyDelayMs = 0;
    camera().setReg("ALV", 90);
    const int port = g_com_port;
    g_com_port = 0;
    clearLog();
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    g_com_port = port;
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(popups().empty());

    // No answer, also when asked again: the message, and the panel stays as it was.
    camera().faults().silent = true;
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_EQ(sent(), (Lines{":CAM?", ":CAM?"}));
    EXPECT_EQ(popups(), std::vector{Error("No camera found.\n")});
    EXPECT_EQ(intVal(MAIN_ALV), 77);
    EXPECT_EQ(intVal(MAIN_REF_ACTIVE), 0);
}

// A setting whose query failed holds no value: its control shows none, its
// tooltip gives the failure, and the status line counts it.  Four refused
// queries end the snapshot; what was read is still shown on the reshaped panel.
TEST_F(MainPnlDisplay, RefreshShowsNoValueWhereAQueryFailedAndSaysWhy)
{
    const struct {
        std::set<std::string> refused;
        std::vector<std::pair<int, std::string>> marks;  // control, reason; "" for a value read
        const char* count;
    } cases[] = {
        {{"AGN", "SHS"},
         {{MAIN_AGN, kNak}, {MAIN_SHS, kNak}, {MAIN_TIMEMS, kNak}, {MAIN_ALV, ""}, {MAIN_MFT, ""}},
         "2 settings could not be read"},
        {{"AEC", "AGN", "AMX", "GAM"},
         {{MAIN_MODE, kNak}, {MAIN_GAM, kNak}, {MAIN_ALV, ""}, {MAIN_MFT, kStopped}},
         "settings could not be read"},
        {{}, {{MAIN_AGN, ""}, {MAIN_SHS, ""}, {MAIN_MODE, ""}, {MAIN_MFT, ""}}, nullptr},
    };
    start("VK-470");
    camera().setReg("ALV", 77);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused.size());
        camera().faults().refuse = c.refused;
        uitest::ClearPopups();
        ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
        EXPECT_EQ(popups().size(), c.refused.size() >= 4 ? 1u : 0u);  // only a pass that stopped
        for (const auto& [control, reason] : c.marks) {
            EXPECT_EQ(noValue(control), reason) << control;
            const std::string tip = uitest::ControlWidget(panel(), control)->toolTip().toStdString();
            EXPECT_NE(tip.find(reason), std::string::npos) << tip;
        }
        EXPECT_EQ(intVal(MAIN_ALV), 77);  // read before the snapshot stopped
        if (c.count)
            EXPECT_NE(statusLine().find(c.count), std::string::npos) << statusLine();
        else
            EXPECT_EQ(statusLine().find("could not be read"), std::string::npos) << statusLine();
    }
    EXPECT_EQ(title(), "Ulvo VK-470 Camera Control");
}

// The mark of a setting not read goes when the camera takes a value for it,
// and comes back when it refuses one.
TEST_F(MainPnlDisplay, ASettingNotReadIsMarkedUntilTheCameraTakesAValue)
{
    connect("VK-470");
    camera().setReg("AEC", 0);  // manual: the shutter speed is the operator's
    camera().faults().refuse = {"SHS"};
    show();
    ASSERT_EQ(noValue(MAIN_SHS), kNak);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_SHS, 300), 0);
    EXPECT_EQ(noValue(MAIN_SHS), kNak);
    EXPECT_EQ(noValue(MAIN_TIMEMS), kNak);
    EXPECT_NE(statusLine().find("1 setting could not be read"), std::string::npos) << statusLine();

    camera().faults().refuse.clear();
    ASSERT_EQ(uitest::Commit(panel(), MAIN_SHS, 300), 0);
    EXPECT_EQ(noValue(MAIN_SHS), "");
    EXPECT_EQ(intVal(MAIN_SHS), 300);
    EXPECT_NEAR(realVal(MAIN_TIMEMS), 19.068, 1e-9);  // 300 x 0.06356
    EXPECT_EQ(statusLine().find("could not be read"), std::string::npos) << statusLine();
}

// What the camera holds beyond a control's range or choices is never shown
// as a limit: the control shows the camera's value in place of its own and
// says so, at start-up and on Refresh alike; a display widens to show it.
TEST_F(MainPnlDisplay, ValuesBeyondAControlAreShownAsTheCameraHoldsThem)
{
    connect("VKC-475");
    // AGN 1278 is 44.9856 dB, beyond 30.
    setRegs({{"AEC", 0}, {"ALV", 300}, {"SHS", 9999}, {"AGN", 1278}, {"GAM", 7}});
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "start-up" : "refresh");
        if (pass == 0)
            show();
        else
            ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
        EXPECT_EQ(noValue(MAIN_ALV), "The camera holds 300, outside what this control sets (20 to 255).");
        EXPECT_EQ(noValue(MAIN_SHS), "The camera holds 9999, outside what this control sets (1 to 625).");
        EXPECT_EQ(noValue(MAIN_AGN),
                  "The camera holds 44.99, outside what this control sets (0.00 to 30.00).");
        EXPECT_EQ(noValue(MAIN_GAM), "The camera holds 7, which is none of this control's choices.");
        EXPECT_NEAR(realVal(MAIN_TIMEMS), 635.53644, 1e-6);  // 9999 x 0.06356: a display shows it whole
        EXPECT_EQ(statusLine().find("could not be read"), std::string::npos);
    }
    // A value the camera refuses brings the camera's back; one it takes, or
    // one read again within the range, clears the mark.
    camera().faults().refuse = {"SHS"};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_SHS, 300), 0);
    EXPECT_EQ(noValue(MAIN_SHS), "The camera holds 9999, outside what this control sets (1 to 625).");
    EXPECT_NEAR(realVal(MAIN_TIMEMS), 635.53644, 1e-6);
    camera().faults().refuse.clear();
    EXPECT_EQ(uitest::Commit(panel(), MAIN_GAM, 1), 0);
    EXPECT_EQ(noValue(MAIN_GAM), "");
    camera().setReg("ALV", 100);
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_EQ(noValue(MAIN_ALV), "");
    EXPECT_EQ(intVal(MAIN_ALV), 100);
}

// Refresh pressed while another command waits for its reply: it is carried
// out once that command has its answer, and the panel never takes an
// unanswered model query for the first model of the table.
TEST_F(MainPnlDisplay, RefreshDuringAnotherCommandFollowsIt)
{
    start("VK-470", {{"AEC", 0}});
    camera().faults().replyDelayMs = 50;
    QTimer::singleShot(
        10, [] { Mpnl_RefreshButtonCallback(g_mainpanel, MAIN_REFRESH, EVENT_COMMIT, nullptr, 0, 0); });
    ASSERT_EQ(uitest::Commit(panel(), MAIN_GAM, 0), 0);
    PumpEvents(20);
    EXPECT_EQ(firstSent(3), (Lines{":GAM=0", ":CAM?", ":SB1?"}));
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

TEST_F(MainPnlDisplay, TrafficMonitorPausesClearsAndSaves)
{
    start("VK-470", 1);
    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_CLEAR), 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_PAUSE, 1), 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_ALV, 70), 0);  // two lines, held back
    EXPECT_EQ(monitorLines(), 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_PAUSE, 0), 0);
    EXPECT_EQ(monitorLines(), 1);
    EXPECT_EQ(traffic(0), "(2 lines not shown while paused)");
    ASSERT_EQ(uitest::Commit(panel(), MAIN_ALV, 71), 0);
    EXPECT_EQ(traffic(1), "> :ALV=71");

    // The saved log is every kept line, dated, whatever the filter shows.
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_FILTER, "nothing like it"), 0);
    EXPECT_EQ(monitorLines(), 0);
    QTemporaryDir dir;
    uitest::AnswerFileDialog(dir.filePath("traffic").toStdString());
    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_SAVE), 0);
    EXPECT_EQ(uitest::FileDialogs().back().pattern, "*.txt");
    QFile saved(dir.filePath("traffic.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    ASSERT_EQ(lines.size(), 5);  // the header, three lines and the empty rest
    const QRegularExpression header(
        QStringLiteral("^Traffic monitor saved \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r$"));
    EXPECT_TRUE(header.match(QString::fromLatin1(lines[0])).hasMatch()) << lines[0].toStdString();
    const QRegularExpression dated(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d  "));
    for (int i = 1; i < 4; ++i) EXPECT_TRUE(dated.match(QString::fromLatin1(lines[i])).hasMatch()) << i;
    EXPECT_EQ(lines[0].mid(22, 10), lines[1].left(10));  // the same day
    EXPECT_TRUE(lines[2].endsWith("  > :ALV=71\r"));
    EXPECT_TRUE(lines[3].endsWith("  < :o\r"));

    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_CLEAR), 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_FILTER, ""), 0);
    EXPECT_EQ(monitorLines(), 0);
    EXPECT_TRUE(popups().empty());
}

// The filter narrows the view, in any case; lines keep coming while it does.
TEST_F(MainPnlDisplay, TrafficMonitorFilterShowsTheMatchingLines)
{
    start("VK-470", 1);
    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_CLEAR), 0);
    for (const char* line : {":AGN=852\r", ":ALV=70\r", ":agn?\r"}) Mpnl_ShowTraffic(line, 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_FILTER, "AgN"), 0);
    ASSERT_EQ(monitorLines(), 2);
    EXPECT_EQ(traffic(0), "> :AGN=852");
    EXPECT_EQ(traffic(1), "> :agn?");
    Mpnl_ShowTraffic(":oAGN 852\r", 1);
    Mpnl_ShowTraffic(":o\r", 1);
    ASSERT_EQ(monitorLines(), 3);
    EXPECT_EQ(traffic(2), "< :oAGN 852");
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_FILTER, ""), 0);
    EXPECT_EQ(monitorLines(), 5);
    EXPECT_EQ(traffic(1), "> :ALV=70");
    EXPECT_EQ(traffic(4), "< :o");
}

// Bytes beyond printable ASCII are shown as their hex codes, so junk on the
// line can be seen; only the line end is dropped.
TEST_F(MainPnlDisplay, TrafficMonitorShowsUnprintableBytesInHexAndKeepsTheNewestLines)
{
    start("VK-470", 1);
    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_CLEAR), 0);
    camera().faults().junkBeforeColon = "\x01\x7f";
    ASSERT_EQ(uitest::Commit(panel(), MAIN_GAM, 0), 0);
    camera().faults().junkBeforeColon.clear();
    EXPECT_EQ(traffic(0), "> :GAM=0");
    EXPECT_EQ(traffic(1), "< <01><7F>:o");
    Mpnl_ShowTraffic("a\tb\r\xe9\r\n", 1);
    EXPECT_EQ(traffic(2), "< a<09>b<0D><E9>");

    // The monitor keeps the newest lines: these three go first.
    const int total = kTrafficMonitorLines + 150;
    for (int i = 0; i < total; ++i) Mpnl_ShowTraffic((":AGN=" + std::to_string(i) + "\r").c_str(), i % 2);
    EXPECT_EQ(monitorLines(), kTrafficMonitorLines);
    EXPECT_EQ(traffic(0), "> :AGN=150");
    EXPECT_EQ(traffic(kTrafficMonitorLines - 1), "< :AGN=" + std::to_string(total - 1));
}

TEST_F(MainPnlDisplay, TrafficMonitorCommandLine)
{
    start("VK-470", 1);
    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_CLEAR), 0);
    camera().setReg("ALV", 77);
    // Enter sends; the command and its reply show as other traffic does.
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_COMMAND, ":ALV?"), 0);
    ASSERT_EQ(monitorLines(), 2);
    EXPECT_EQ(traffic(0), "> :ALV?");
    EXPECT_EQ(traffic(1), "< :oALV 77");
    EXPECT_EQ(textVal(MAIN_MON_COMMAND), "");
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_COMMAND, ":ALV=90"), 0);
    EXPECT_EQ(camera().reg("ALV"), 90);
    EXPECT_EQ(lastAction(), "Command :ALV=90 sent");
    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_SEND), 0);  // an empty line sends nothing
    EXPECT_EQ(monitorLines(), 4);
    EXPECT_TRUE(popups().empty());
    // Typed, then the focus goes elsewhere: nothing goes out until Enter.
    ASSERT_EQ(uitest::TypeKey(panel(), MAIN_MON_COMMAND, Qt::Key_X), 0);
    ASSERT_EQ(uitest::TypeKey(panel(), MAIN_ALV, Qt::Key_Tab), 0);
    EXPECT_EQ(monitorLines(), 4);
    EXPECT_EQ(textVal(MAIN_MON_COMMAND), "x");
    ASSERT_EQ(uitest::TypeKey(panel(), MAIN_MON_COMMAND, Qt::Key_Return), 0);
    EXPECT_EQ(traffic(4), "> x");
    ASSERT_EQ(uitest::Click(panel(), MAIN_MON_CLEAR), 0);
    uitest::ClearPopups();
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_COMMAND, ":ALV?"), 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_COMMAND, ":ALV=90"), 0);

    // Refused before it is sent, and kept to be mended.
    const std::string tooLong = ":CID=" + std::string(60, 'A');
    const struct {
        std::string typed, message;
    } refused[] = {
        {":ALV=1\a", "The command holds a control character or a character beyond ASCII; it was not sent."},
        {tooLong, "The command is longer than 64 characters; it was not sent."},
    };
    for (const auto& r : refused) {
        uitest::ClearPopups();
        ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_COMMAND, r.typed.c_str()), 0);
        EXPECT_EQ(popups(), (std::vector<uitest::Popup>{{"Command", r.message}})) << r.typed;
        EXPECT_EQ(textVal(MAIN_MON_COMMAND), r.typed);
    }
    EXPECT_EQ(monitorLines(), 4);
    EXPECT_EQ(camera().reg("ALV"), 90);

    // A refusal is told in the monitor and in a pop-up.
    uitest::ClearPopups();
    camera().faults().refuse = {"ALV"};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MON_COMMAND, ":ALV=50"), 0);
    EXPECT_EQ(traffic(5), "< :e");
    EXPECT_EQ(traffic(6), "(Camera returned error message NAK.)");
    EXPECT_EQ(popups(), (std::vector{Refused("Setting ALV (ALC Level) to 50")}));

    // Typed while the link is in use: each line waits its turn, none replaces another.
    camera().faults().refuse.clear();
    camera().faults().replyDelayMs = 30;
    clearLog();
    QTimer::singleShot(10, [] {
        for (const char* c : {":ALV=60", ":ALV?"}) uitest::Commit(g_mainpanel, MAIN_MON_COMMAND, c);
    });
    ASSERT_EQ(uitest::Commit(panel(), MAIN_GAM, 0), 0);
    PumpEvents(100);
    EXPECT_EQ(sent(), (Lines{":GAM=0", ":ALV=60", ":ALV?"}));
    EXPECT_EQ(traffic(monitorLines() - 1), "< :oALV 60");
}

}  // namespace
