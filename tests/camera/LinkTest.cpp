// The link's transaction rules, against the in-process simulated camera.
#include <QTimer>
#include <cstring>
#include <string>
#include <vector>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "support/SimLink.h"

namespace {

class LinkTest : public SimLinkTest {
protected:
    // Silences the camera so that every reply comes from injectLater().
    void scriptReplies() { camera().faults().silent = true; }

    // Sends a raw line as a text transaction and returns status and data.
    std::pair<int, std::string> ask(const char* line)
    {
        char reply[kReplySize] = "untouched";
        const int status = Comm_GetText(line, reply, sizeof reply);
        return {status, reply};
    }
};

// A line of no reply's shape is no reply: the wait goes on, and when nothing
// better comes the query is asked once more (silence here) and ends
// unrecognised.
TEST_F(LinkTest, TextQueriesTakeOnlyLinesInTheShapeOfAReply)
{
    struct Case {
        const char* bytes;
        int status;
        const char* data;
    };
    const Case cases[] = {
        {":o\r", COMM_OK, ""},            // bare acceptance: an empty text
        {"xx:o12\r", COMM_OK, "12"},      // bytes before the colon are not part of the reply
        {":oV2.21\r", COMM_OK, "V2.21"},  //
        {":one\r", COMM_OK, "ne"},        // data starts after the 'o'
        {"::o5\r", COMM_OK, "5"},         // a line that lost its CR runs into the next one
        {":e\r", COMM_NAK, "untouched"},  // refusal leaves the buffer alone
        {":eo\r", COMM_UNRECOGNIZED, "untouched"},
        {":X\r", COMM_UNRECOGNIZED, "untouched"},
        {"\r\n:E\r", COMM_UNRECOGNIZED, "untouched"},    // upper-case letters mean nothing
        {":oAB\x01\r", COMM_UNRECOGNIZED, "untouched"},  // not printable
    };
    scriptReplies();
    // After silence a text query first gives a late line time to come: the
    // replies are made to come after that.
    Comm_SetReplyTimeout(0.5);
    for (const Case& c : cases) {
        injectLater(300, c.bytes);
        const auto [status, data] = ask(":XYZ?\r");
        EXPECT_EQ(status, c.status) << c.bytes;
        EXPECT_EQ(data, c.data) << c.bytes;
    }
}

TEST_F(LinkTest, ReplySplitAcrossDeliveriesIsJoined)
{
    scriptReplies();
    injectLater(5, "  :o");
    injectLater(15, "AGN");
    injectLater(25, " 4");
    injectLater(35, "2\r");
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":AGN?\r", &value), COMM_OK);
    EXPECT_EQ(value, 42);
}

TEST_F(LinkTest, IntegerQueriesTakeTheirMnemonicABlankAndACountOnly)
{
    struct Case {
        const char* bytes;
        int status;
        int value;
        std::vector<const char*> later = {};  // the replies to the same query asked again, 40 ms apart
    };
    const Case cases[] = {
        {":oAGN 25\r", COMM_OK, 25},
        // A negative count is taken once two readings agree: a blank or a
        // digit turned into '-' on the line still looks like a count.
        {":oAGN-3\r", COMM_OK, -3, {":oAGN-3\r"}},
        {":oAGN -3\r", COMM_OK, -3, {":oAGN -3\r"}},
        {":oAGN-512\r", COMM_OK, 512, {":oAGN 512\r", ":oAGN 512\r"}},
        {":oAGN -12\r", COMM_OK, 512, {":oAGN 512\r", ":oAGN 512\r"}},
        {":oAGN-512\r", COMM_UNRECOGNIZED, 1234, {":oAGN 512\r", ":oAGN 511\r"}},
        {":oAGN 12!\r", COMM_UNRECOGNIZED, 1234},  // not read as 12
        {":oAGN)100\r", COMM_UNRECOGNIZED, 1234},  // nor as 0
        {":oXAGN+7z\r", COMM_UNRECOGNIZED, 1234},
        {":oAGN\r", COMM_UNRECOGNIZED, 1234},
        {":oXYZ 5\r", COMM_UNRECOGNIZED, 1234},
        {":e\r", COMM_NAK, 1234},
    };
    scriptReplies();
    Comm_SetReplyTimeout(0.2);
    for (const Case& c : cases) {
        int value = 1234;
        injectLater(5, c.bytes);
        for (std::size_t i = 0; i < c.later.size(); ++i)
            injectLater(45 + 40 * static_cast<int>(i), c.later[i]);
        EXPECT_EQ(Comm_GetIntVal(":AGN?\r", &value), c.status) << c.bytes;
        EXPECT_EQ(value, c.value) << c.bytes;
    }
}

// Silence is asked about twice, each time for 2 s, with the time a late line
// needs between the two.
TEST_F(LinkTest, SilenceTimesOutTwiceWithoutTouchingTheBuffer)
{
    scriptReplies();
    const double start = Timer();
    const auto [status, data] = ask(":VER?\r");
    const double took = Timer() - start;
    EXPECT_EQ(status, COMM_TIMEOUT);
    EXPECT_EQ(data, "untouched");
    EXPECT_EQ(sent(), (std::vector<std::string>{":VER?", ":VER?"}));
    EXPECT_GE(took, 4.0);
    EXPECT_LT(took, 4.8);
}

TEST_F(LinkTest, CommandLinesHaveTheWireFormat)
{
    Comm_SetIntVal(":AWW=", 3);
    Comm_SetIntVal(":AGN=", -28);
    int value = 0;
    Comm_GetIntVal(":AGN?\r", &value);
    Comm_SendFixed(":AWB!");
    Comm_SendFixedNumber(":LSTA=", 2);
    Comm_SetText(":CID=", "Lab 4");
    // The negative count is read twice.
    EXPECT_EQ(sent(), (std::vector<std::string>{":AWW=3", ":AGN=-28", ":AGN?", ":AGN?", ":AWB!", ":LSTA=2",
                                                ":CID=Lab 4"}));
    EXPECT_EQ(value, -28);
}

TEST_F(LinkTest, StaleLinesAreDroppedBeforeEachSend)
{
    // Two unsolicited lines, then a duplicating camera: every answer must
    // still belong to its own command.
    injectLater(0, ":oAGN 111\r:oAGN 222\r");
    PumpEvents(10);
    camera().faults().duplicateReplies = true;
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(Comm_SetIntVal(":ALV=", i), COMM_OK);
        int value = -1;
        ASSERT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
        EXPECT_EQ(value, i);
    }
}

// A reply later than its time-out is taken by the query asked again, and the
// second asking's own reply, later still, by no one.
TEST_F(LinkTest, LateReplyIsTakenByTheSecondAskingAndItsEchoByNoOne)
{
    camera().faults().late = {"AGN"};
    camera().faults().lateDelayMs = 2300;
    camera().setReg("AGN", 57);
    int agn = -1;
    EXPECT_EQ(Comm_GetIntVal(":AGN?\r", &agn), COMM_OK);
    EXPECT_EQ(agn, 57);
    camera().faults().late.clear();
    Comm_SetIntVal(":ALV=", 77);
    PumpEvents(2400);  // the second asking's answer arrives now, unasked
    int alv = -1;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &alv), COMM_OK);
    EXPECT_EQ(alv, 77);
    EXPECT_EQ(sent(), (std::vector<std::string>{":AGN?", ":AGN?", ":ALV=77", ":ALV?"}));
}

TEST_F(LinkTest, JunkBeforeTheColonIsIgnored)
{
    camera().faults().junkBeforeColon = "\x01garbage eo ";
    camera().faults().byteByByte = true;
    Comm_SetIntVal(":ALV=", 9);
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
    EXPECT_EQ(value, 9);
}

TEST_F(LinkTest, RefusalsAndGarbageFromTheCamera)
{
    camera().faults().refuse = {"AGN"};
    camera().faults().garbage = {"ALV"};
    int value = 5;
    EXPECT_EQ(Comm_SetIntVal(":AGN=", 1), COMM_NAK);
    EXPECT_EQ(Comm_GetIntVal(":AGN?\r", &value), COMM_NAK);
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_UNRECOGNIZED);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(Comm_GetIntVal(":AMX?\r", &value), COMM_OK);  // and the link is still in step
}

TEST_F(LinkTest, OverlongReplyIsCutAndTheLinkStaysInStep)
{
    camera().faults().overlong = {"AGN"};
    int value = 5;
    EXPECT_EQ(Comm_GetIntVal(":AGN?\r", &value), COMM_UNRECOGNIZED);
    EXPECT_EQ(value, 5);
    char reply[kReplySize];
    EXPECT_EQ(Comm_GetText(":AGN?\r", reply, sizeof reply), COMM_OK);
    EXPECT_EQ(std::strlen(reply), 223u);  // 224 characters kept, less the 'o'
    Comm_SetIntVal(":ALV=", 12);
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
    EXPECT_EQ(value, 12);
}

TEST_F(LinkTest, FloodOfLinesKeepsTheNewestAndNeverOverruns)
{
    scriptReplies();
    // Fifteen lines arrive at once during one wait, each taking 18 bytes of
    // the 225-byte ring; it holds twelve, so the three oldest make room and
    // the wait takes the fourth.
    std::string flood;
    for (int i = 0; i < 15; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, ":oLINE%02d..........\r", i);
        flood += line;
    }
    injectLater(20, flood);
    const auto [status, data] = ask(":XYZ?\r");
    EXPECT_EQ(status, COMM_OK);
    EXPECT_EQ(data.substr(0, 6), "LINE03");
    // Whatever is left over is stale for the next command.
    camera().faults().silent = false;
    int value = 0;
    Comm_SetIntVal(":ALV=", 3);
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
    EXPECT_EQ(value, 3);
}

// During a slow reply, a timer stands in for a user-interface callback that
// tries to start a transaction of its own.
TEST_F(LinkTest, NestedTransactionsAreRefusedByTheBusyFlag)
{
    camera().faults().replyDelayMs = 100;
    int busyDuringWait = 0, value = 99;
    char buffer[kReplySize] = "untouched";
    std::vector<int> statuses;
    QTimer::singleShot(20, [&] {
        busyDuringWait = Comm_IsBusy();
        statuses = {Comm_SetIntVal(":ALV=", 1),
                    Comm_SendFixed(":AWB!"),
                    Comm_SendFixedNumber(":WSTA=", 1),
                    Comm_SetText(":CID=", "x"),
                    Comm_GetText(":VER?\r", buffer, sizeof buffer),
                    Comm_GetIntVal(":ALV?\r", &value)};
    });
    int outer = 0;
    EXPECT_EQ(Comm_GetIntVal(":AMX?\r", &outer), COMM_OK);
    EXPECT_EQ(busyDuringWait, 1);
    // Every shape is refused with its own status: none reads as success.
    EXPECT_EQ(statuses, std::vector<int>(6, COMM_BUSY));
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(value, 99);
    EXPECT_EQ(sent(), std::vector<std::string>{":AMX?"});
    EXPECT_EQ(Comm_IsBusy(), 0);
}

TEST_F(LinkTest, MessageTextForEveryCode)
{
    EXPECT_STREQ(Comm_GetMessageErrorStr(0), "No error.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(1), "Timeout error waiting for camera response.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(2), "Camera returned error message NAK.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(3), "Camera returned unrecognized response.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(5), "Camera link lost (the device was removed or closed).");
    EXPECT_STREQ(Comm_GetMessageErrorStr(6),
                 "The camera's answer could not be confirmed (the line garbled or repeated replies).");
    for (int code : {4, -3, 7, 1000})
        EXPECT_STREQ(Comm_GetMessageErrorStr(code), "Unrecognized response from camera.") << code;
}

TEST_F(LinkTest, FactoryModeReportsTrafficBothWays)
{
    static std::vector<std::pair<std::string, int>> seen;
    seen.clear();
    Comm_SetTrafficHook([](const char* text, int received) { seen.emplace_back(text, received); });
    camera().faults().junkBeforeColon = "zz";

    Comm_SetIntVal(":ALV=", 5);  // normal mode: nothing reported
    EXPECT_TRUE(seen.empty());

    g_prog_type = 1;
    int value = 0;
    Comm_GetIntVal(":ALV?\r", &value);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (std::pair<std::string, int>{":ALV?\r", 0}));
    EXPECT_EQ(seen[1], (std::pair<std::string, int>{"zz:oALV 5\r", 1}));
}

TEST_F(LinkTest, NulBytesOnTheLineNeitherSplitAReplyNorHideItFromTheMonitor)
{
    // A NUL inside a reply used to cut it in two in the receive store, so the
    // next command took the rest for its answer; before the colon it ended
    // the monitor's text, so the reply never showed there.  Nor may a reply
    // that held one pass for the shorter text around it.
    static std::vector<std::string> seen;
    seen.clear();
    Comm_SetTrafficHook([](const char* text, int received) {
        if (received) seen.emplace_back(text);
    });
    g_prog_type = 1;
    scriptReplies();
    Comm_SetReplyTimeout(0.5);
    injectLater(20, std::string("\0\0:oAB\0CD\r", 10));
    EXPECT_EQ(ask(":VER?\r"), (std::pair<int, std::string>{COMM_UNRECOGNIZED, "untouched"}));
    injectLater(300, std::string("\0\0:oXY\r", 7));
    EXPECT_EQ(ask(":VER?\r"), (std::pair<int, std::string>{COMM_OK, "XY"}));
    EXPECT_EQ(seen, (std::vector<std::string>{":oABCD\r", ":oXY\r"}));
}

TEST_F(LinkTest, DeviceThatHangsUpEndsTransactionsAndCanBeReopened)
{
    camera().faults().hangupAfter = camera().commandCount() + 1;
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
    PumpEvents(20);
    EXPECT_EQ(IsComLinkDown(1), 1);
    const double start = Timer();
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_LINK_LOST);  // the write fails
    EXPECT_LT(Timer() - start, 0.5);                               // a dead device is not waited for

    camera().faults().hangupAfter = 0;
    Comm_ClosePort(1);
    ASSERT_EQ(Comm_OpenPort(1, 9600), 0);
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
}

TEST(LinkPortTest, OpeningAPortThatMapsToNothingFails)
{
    EXPECT_EQ(Comm_OpenPort(0, 9600), kRS_InvalidPortNum);
    EXPECT_EQ(Comm_OpenPort(33, 9600), kRS_InvalidPortNum);
    SetComPortDevice(4, QStringLiteral("/nonexistent/ttyXYZ"));
    EXPECT_EQ(Comm_OpenPort(4, 9600), kRS_CanNotOpenPort);
    SetComPortDevice(4, QStringLiteral("sim:NO-SUCH-MODEL"));
    EXPECT_EQ(Comm_OpenPort(4, 9600), kRS_CanNotOpenPort);
    ClearComPortDevices();
}

TEST(LinkWithoutPortTest, TransactionsWithoutAnOpenPortFailAtOnce)
{
    g_com_port = 0;
    const double start = Timer();
    int value = 7;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_LINK_LOST);
    EXPECT_EQ(Comm_SetIntVal(":ALV=", 1), COMM_LINK_LOST);
    EXPECT_EQ(value, 7);
    EXPECT_LT(Timer() - start, 0.5);  // nothing to wait for
}

}  // namespace
