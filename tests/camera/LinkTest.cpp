// The link's transaction rules, against the in-process simulated camera.
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
        {":one\r", COMM_OK, "ne"},        // data starts after the 'o'
        {"::o5\r", COMM_OK, "5"},         // a line that lost its CR runs into the next one
        {":e\r", COMM_NAK, "untouched"},  // refusal leaves the buffer alone
        {":eo\r", COMM_UNRECOGNIZED, "untouched"},
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

// An integer query takes only a line of its own mnemonic, a blank and a
// count: the replies of other queries, texts and acknowledgements before it
// are passed over.
TEST_F(LinkTest, IntegerQueriesTakeTheirMnemonicABlankAndACountOnly)
{
    struct Case {
        const char* query;
        const char* bytes;
        int status;
        int value;
        std::vector<const char*> later = {};  // the replies to the same query asked again, 40 ms apart
    };
    const Case cases[] = {
        {":AGN?\r", ":oAGN 25\r", COMM_OK, 25},
        // A negative count is taken once two readings agree: a blank or a
        // digit turned into '-' on the line still looks like a count.
        {":AGN?\r", ":oAGN-3\r", COMM_OK, -3, {":oAGN-3\r"}},
        {":AGN?\r", ":oAGN -3\r", COMM_OK, -3, {":oAGN -3\r"}},
        {":AGN?\r", ":oAGN-512\r", COMM_OK, 512, {":oAGN 512\r", ":oAGN 512\r"}},
        {":AGN?\r", ":oAGN -12\r", COMM_OK, 512, {":oAGN 512\r", ":oAGN 512\r"}},
        {":AGN?\r", ":oAGN-512\r", COMM_UNRECOGNIZED, 1234, {":oAGN 512\r", ":oAGN 511\r"}},
        {":AGN?\r", ":oAGN 12!\r", COMM_UNRECOGNIZED, 1234},  // not read as 12
        {":AGN?\r", ":oAGN)100\r", COMM_UNRECOGNIZED, 1234},  // nor as 0
        {":AGN?\r", ":oXAGN+7z\r", COMM_UNRECOGNIZED, 1234},
        {":AGN?\r", ":oAGN\r", COMM_UNRECOGNIZED, 1234},
        {":AGN?\r", ":oXYZ 5\r", COMM_UNRECOGNIZED, 1234},  // nothing better arrives in time
        {":AGN?\r", ":e\r", COMM_NAK, 1234},
        {":AGN?\r", ":oWDS 0\r:oAGN 25\r", COMM_OK, 25},                // a late reply first
        {":AGN?\r", ":oSB1-1\r:oAGN-3\r", COMM_OK, -3, {":oAGN-3\r"}},  // sign after the other mnemonic
        {":FOC?\r", ":oFOCO 3\r:oFOC 9\r", COMM_OK, 9},                 // a longer mnemonic is another one
        {":FOCO?\r", ":oFOC 9\r:oFOCO 3\r", COMM_OK, 3},                // and so is a shorter one
        {":CD2?\r", ":oCD1 5\r:oCD2 6\r", COMM_OK, 6},                  //
        {":AGN?\r", ":o1.04\r:oAGN 25\r", COMM_OK, 25},                 // a text, then the answer
        {":AGN?\r", ":o\r:oAGN 25\r", COMM_OK, 25},                     // an acknowledgement, then the answer
        {":AGN?\r", ":oWDS 0\r", COMM_TIMEOUT, 1234},                   // nothing but another's reply
        {":AGN?\r", ":oWDSX 5\r:e\r", COMM_NAK, 1234},                  // not a mnemonic: held, then refused
    };
    scriptReplies();
    Comm_SetReplyTimeout(0.2);
    for (const Case& c : cases) {
        int value = 1234;
        injectLater(5, c.bytes);
        for (std::size_t i = 0; i < c.later.size(); ++i)
            injectLater(45 + 40 * static_cast<int>(i), c.later[i]);
        EXPECT_EQ(Comm_GetIntVal(c.query, &value), c.status) << c.bytes;
        EXPECT_EQ(value, c.value) << c.bytes;
        PumpEvents(20);
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

// The wire format of every command is held by the command-set tests; a
// negative count is also asked for a second time.
TEST_F(LinkTest, NegativeCountIsAskedForTwice)
{
    Comm_SetIntVal(":AGN=", -28);
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":AGN?\r", &value), COMM_OK);
    EXPECT_EQ(value, -28);
    EXPECT_EQ(sent(), (std::vector<std::string>{":AGN=-28", ":AGN?", ":AGN?"}));
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

// Refused, garbled and overlong replies end their own transaction only, and
// junk before the colon of a reply that comes byte by byte is passed over.
TEST_F(LinkTest, CameraFaultsEndOnlyTheirOwnTransaction)
{
    camera().faults().refuse = {"AGN"};
    camera().faults().garbage = {"ALV"};
    camera().faults().overlong = {"AMX"};
    int value = 5;
    EXPECT_EQ(Comm_SetIntVal(":AGN=", 1), COMM_NAK);
    EXPECT_EQ(Comm_GetIntVal(":AGN?\r", &value), COMM_NAK);
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_UNRECOGNIZED);
    EXPECT_EQ(Comm_GetIntVal(":AMX?\r", &value), COMM_UNRECOGNIZED);  // the overlong line is cut
    EXPECT_EQ(value, 5);
    char reply[kReplySize];
    EXPECT_EQ(Comm_GetText(":AMX?\r", reply, sizeof reply), COMM_OK);
    EXPECT_EQ(std::strlen(reply), 223u);  // 224 characters kept, less the 'o'
    camera().faults().junkBeforeColon = "\x01garbage eo ";
    camera().faults().byteByByte = true;
    Comm_SetIntVal(":SHS=", 12);
    EXPECT_EQ(Comm_GetIntVal(":SHS?\r", &value), COMM_OK);
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

TEST_F(LinkTest, MessageTextForEveryCode)
{
    EXPECT_STREQ(Comm_GetMessageErrorStr(0), "No error.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(1), "Timeout error waiting for camera response.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(2), "Camera returned error message NAK.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(3), "Camera returned unrecognized response.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(4), "The link was busy with another command; nothing was sent.");
    EXPECT_STREQ(Comm_GetMessageErrorStr(5), "Camera link lost (the device was removed or closed).");
    EXPECT_STREQ(Comm_GetMessageErrorStr(6),
                 "The camera's answer could not be confirmed (the line garbled or repeated replies).");
    for (int code : {-3, 7, 1000})
        EXPECT_STREQ(Comm_GetMessageErrorStr(code), "Unrecognized response from camera.") << code;
}

// A NUL inside a reply used to cut it in two in the receive store, so the
// next command took the rest for its answer; before the colon it ended the
// monitor's text, so the reply never showed there.  Nor may a reply that held
// one pass for the shorter text around it.
TEST_F(LinkTest, FactoryModeShowsTheTrafficAndNulBytesNeitherSplitNorHideAReply)
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
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{{":ALV?\r", 0}, {"zz:oALV 5\r", 1}}));

    seen.clear();
    scriptReplies();
    Comm_SetReplyTimeout(0.5);
    injectLater(20, std::string("\0\0:oAB\0CD\r", 10));
    EXPECT_EQ(ask(":VER?\r"), (std::pair<int, std::string>{COMM_UNRECOGNIZED, "untouched"}));
    injectLater(300, std::string("\0\0:oXY\r", 7));
    EXPECT_EQ(ask(":VER?\r"), (std::pair<int, std::string>{COMM_OK, "XY"}));
    std::vector<std::string> received;
    for (const auto& [text, in] : seen)
        if (in) received.push_back(text);
    EXPECT_EQ(received, (std::vector<std::string>{":oABCD\r", ":oXY\r"}));
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

TEST(LinkPortTest, PortsThatMapToNothingOrAreNotOpenFailAtOnce)
{
    EXPECT_EQ(Comm_OpenPort(0, 9600), kRS_InvalidPortNum);
    EXPECT_EQ(Comm_OpenPort(33, 9600), kRS_InvalidPortNum);
    for (const char* device : {"/nonexistent/ttyXYZ", "sim:NO-SUCH-MODEL"}) {
        SetComPortDevice(4, QString::fromLatin1(device));
        EXPECT_EQ(Comm_OpenPort(4, 9600), kRS_CanNotOpenPort) << device;
    }
    ClearComPortDevices();

    g_com_port = 0;
    const double start = Timer();
    int value = 7;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_LINK_LOST);
    EXPECT_EQ(Comm_SetIntVal(":ALV=", 1), COMM_LINK_LOST);
    EXPECT_EQ(value, 7);
    EXPECT_LT(Timer() - start, 0.5);  // nothing to wait for
}

}  // namespace
