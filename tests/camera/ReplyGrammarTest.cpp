// How reply lines are read, and which transactions a stray line puts in
// doubt.  Both are pure: no camera is needed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "camera/LinkLedger.h"
#include "camera/ReplyGrammar.h"

namespace {

TEST(ReplyGrammarTest, EveryLineIsReadStrictly)
{
    struct Case {
        const char* text;  // between the ':' and the CR
        ReplyKind kind;
        const char* mnemonic;
        int count;
    };
    const Case cases[] = {
        {"o", ReplyKind::Accept, "", 0},
        {"e", ReplyKind::Refuse, "", 0},
        {"oAGN 852", ReplyKind::Integer, "AGN", 852},
        {"oSSA -40", ReplyKind::Integer, "SSA", -40},
        {"oSSA-40", ReplyKind::Integer, "SSA", -40},  // "% d" puts the sign where the blank was
        {"oSB1 1", ReplyKind::Integer, "SB1", 1},
        {"oAGN 007", ReplyKind::Integer, "AGN", 7},
        {"oAGN -2147483648", ReplyKind::Integer, "AGN", -2147483647 - 1},
        {"oHUE 12!", ReplyKind::Text, "", 0},  // trailing junk: no count at all
        {"oSLR)100", ReplyKind::Text, "", 0},  // the blank damaged
        {"oAGN25", ReplyKind::Text, "", 0},    // no blank: the digit may have been one
        {"oAGN  25", ReplyKind::Text, "", 0},
        {"oAGN +25", ReplyKind::Text, "", 0},
        {"oAGN 2147483648", ReplyKind::Text, "", 0},  // beyond an int
        {"oAGN", ReplyKind::Text, "", 0},
        {"oV2.21", ReplyKind::Text, "", 0},
        {"oDEMO UNIT", ReplyKind::Text, "", 0},
        {"eo", ReplyKind::Malformed, "", 0},  // a refusal is "e" and nothing else
        {"oe", ReplyKind::Text, "", 0},
        {"eAGN 852", ReplyKind::Malformed, "", 0},
        {"", ReplyKind::Malformed, "", 0},
        {"E", ReplyKind::Malformed, "", 0},
        {"oAB\x1A"
         "CD",
         ReplyKind::Malformed, "", 0},  // a NUL on the line
        {"ocaf\xe9", ReplyKind::Malformed, "", 0},
        {"oAB\nCD", ReplyKind::Malformed, "", 0},
    };
    for (const Case& c : cases) {
        const ReplyLine line = Comm_ReadReplyLine(c.text);
        EXPECT_EQ(line.kind, c.kind) << c.text;
        EXPECT_EQ(line.mnemonic, c.mnemonic) << c.text;
        EXPECT_EQ(line.count, c.count) << c.text;
    }
}

TEST(ReplyGrammarTest, ALineIsAReplyOnlyInTheShapeItsCommandExpects)
{
    struct Case {
        const char* text;
        ReplyShape shape;
        const char* mnemonic;
        std::size_t limit;
        bool fits;
    };
    const Case cases[] = {
        {"o", ReplyShape::Acknowledge, "", 0, true},
        {"e", ReplyShape::Acknowledge, "", 0, true},
        {"oX", ReplyShape::Acknowledge, "", 0, false},  // a junk line before a set's reply
        {"oAGN 5", ReplyShape::Acknowledge, "", 0, false},
        {"oAGN 5", ReplyShape::Integer, "AGN", 0, true},
        {"oAGN 5", ReplyShape::Integer, "ALV", 0, false},
        {"oAGNX 5", ReplyShape::Integer, "AGN", 0, false},
        {"e", ReplyShape::Integer, "AGN", 0, true},
        {"o", ReplyShape::Integer, "AGN", 0, false},
        {"oV2.21", ReplyShape::Text, "", 10, true},
        {"o", ReplyShape::Text, "", 10, true},  // an empty text
        {"oVKC-475-LONG", ReplyShape::Text, "", 11, false},
        {"o0123456789ABCDEF", ReplyShape::Text, "", 16, true},
        {"o0123456789ABCDEFG", ReplyShape::Text, "", 16, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Comm_ReplyFits(Comm_ReadReplyLine(c.text), c.shape, c.mnemonic, c.limit), c.fits) << c.text;
}

TEST(ReplyGrammarTest, CommandLinesNameTheirMnemonicCountAndReplyShape)
{
    struct Case {
        const char* line;
        const char* mnemonic;
        bool hasCount;
        int count;
        ReplyShape shape;
    };
    const Case cases[] = {
        {":AGN=852\r", "AGN", true, 852, ReplyShape::Acknowledge},
        {":SSA=-4\r", "SSA", true, -4, ReplyShape::Acknowledge},
        {":AGN?\r", "AGN", false, 0, ReplyShape::Integer},
        {":SB1?\r", "SB1", false, 0, ReplyShape::Integer},
        {":VER?\r", "VER", false, 0, ReplyShape::Text},
        {":CAM?\r", "CAM", false, 0, ReplyShape::Text},
        {":CID=Lab 4\r", "CID", false, 0, ReplyShape::Acknowledge},
        {":AWB!\r", "AWB", false, 0, ReplyShape::Acknowledge},
        {"AGN?\r", "", false, 0, ReplyShape::Acknowledge},
    };
    for (const Case& c : cases) {
        int count = 0;
        bool hasCount = false;
        EXPECT_EQ(Comm_CommandMnemonic(c.line, &count, &hasCount), c.mnemonic) << c.line;
        EXPECT_EQ(hasCount, c.hasCount) << c.line;
        EXPECT_EQ(count, c.count) << c.line;
        EXPECT_EQ(Comm_ReplyShapeOfCommand(c.line), c.shape) << c.line;
    }
    EXPECT_TRUE(Comm_HasIntegerQuery("BCT"));   // query only
    EXPECT_FALSE(Comm_HasIntegerQuery("AFW"));  // set only
    EXPECT_FALSE(Comm_HasIntegerQuery("CID"));  // a text
}

// A transaction of the ledger: its command line, how it ended (by default
// COMM_OK), the count an integer query took.
struct Done {
    Done(const char* line, int status = 0, int count = 0) : line(line), status(status), count(count) {}
    const char* line;
    int status;
    int count;
};

// Each case runs transactions, then notes stray lines, and lists which of
// the transactions (from 0) end in doubt.
TEST(LinkLedgerTest, AStrayLineDoubtsOnlyWhatMayHaveTakenItsPlace)
{
    struct Case {
        const char* what;
        std::vector<Done> done;
        std::vector<const char*> strays;
        std::vector<int> doubtful;
    };
    const Case cases[] = {
        {"an acknowledgement after two sets doubts both", {":ALV=1\r", ":ALV=2\r"}, {"o"}, {0, 1}},
        {"an integer answer brings the line in step",
         {":ALV=1\r", {":AGN?\r", 0, 57}, {":ALV=2\r", 2}},
         {"o"},
         {2}},
        {"a failed query does not", {":ALV=1\r", {":AGN?\r", 1}, ":ALV=2\r"}, {"o"}, {0, 2}},
        {"a text doubts the texts, not the sets", {":ALV=1\r", ":VER?\r", ":FPGA?\r"}, {"oF3.02"}, {1, 2}},
        {"a refusal may have been a text query's too", {":VER?\r"}, {"e"}, {0}},
        {"a repeated count is harmless", {{":AGN?\r", 0, 57}, {":ALV?\r", 0, 9}}, {"oAGN 57"}, {}},
        {"its own answer after a refusal doubts the refusal",
         {{":AGN?\r", 2}, {":ALV?\r", 0, 9}},
         {"oAGN 57"},
         {0}},
        {"another count doubts the newest query of its mnemonic",
         {{":AGN?\r", 0, 57}, {":AGN?\r", 0, 58}, {":ALV?\r", 0, 9}},
         {"oAGN 57"},
         {1}},
        {"a line no reply has the shape of may be the rest of the newest reply, cut by a CR",
         {":ALV=1\r", ":VER?\r"},
         {"X", "oHUE 12!x\x01", ""},
         {1}},
        {"so may a count be, even one that names its query",
         {{":AGN?\r", 0, 57}, {":KB3?\r", 0, 1}},
         {""},
         {1}},
        {"or one still waiting, whose reply came with its rest",
         {{":AGN?\r", 0, 57}, {":KB3?\r", -1}},
         {""},
         {1}},
        {"but not one that failed, nor any before the newest",
         {{":AGN?\r", 0, 57}, {":KB3?\r", 1}},
         {""},
         {}},
        {"a transaction that took nothing was not misled", {{":ALV=1\r", 1}, {":VER?\r", 3}}, {"o"}, {}},
    };
    for (const Case& c : cases) {
        LinkLedger ledger;
        std::vector<std::uint64_t> seqs;
        for (const Done& d : c.done) {
            const ReplyShape shape = Comm_ReplyShapeOfCommand(d.line);
            seqs.push_back(ledger.begin(shape, d.line));
            ledger.end(seqs.back(), d.status, d.count);
        }
        for (const char* stray : c.strays) {
            std::string text = stray;
            ledger.stray(text.empty() ? ReplyLine{} : Comm_ReadReplyLine(text));
        }
        std::vector<int> doubtful;
        for (std::uint64_t seq : ledger.doubts(seqs.front()))
            doubtful.push_back(static_cast<int>(seq - seqs.front()));
        EXPECT_EQ(doubtful, c.doubtful) << c.what;
    }
}

TEST(LinkLedgerTest, RemembersTheSetsItCanReadBackAndForgetsTheOldest)
{
    LinkLedger ledger;
    const std::uint64_t set = ledger.begin(ReplyShape::Acknowledge, ":SSA=-4\r");
    const std::uint64_t text = ledger.begin(ReplyShape::Acknowledge, ":CID=Lab 4\r");
    EXPECT_EQ(ledger.find(set)->count, -4);
    EXPECT_TRUE(ledger.find(set)->hasCount);
    EXPECT_STREQ(ledger.find(set)->mnemonic, "SSA");
    EXPECT_STREQ(ledger.find(text)->text, "Lab 4");
    EXPECT_FALSE(ledger.find(text)->hasCount);
    for (int i = 0; i < LinkLedger::kCapacity; ++i) ledger.begin(ReplyShape::Integer, ":ALV?\r");
    EXPECT_EQ(ledger.find(set), nullptr);
    EXPECT_TRUE(ledger.queried("ALV"));
    EXPECT_FALSE(ledger.queried("AGN"));
    ledger.reset();
    EXPECT_FALSE(ledger.queried("ALV"));
}

}  // namespace
