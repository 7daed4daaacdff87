#include "camera/Link.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "camera/Globals.h"
#include "camera/LinkLedger.h"
#include "camera/LinkQueue.h"
#include "camera/ReplyGrammar.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "platform/WaitCursor.h"

namespace {

// Receive store: complete reply lines, each followed by a NUL, in a ring of
// fixed size.  A line longer than the ring is cut; when the ring is full the
// oldest unread line makes room, so nothing is ever overrun.
constexpr int kRingSize = 225;
constexpr int kMaxLineLength = kRingSize - 1;
// Stands in the ring for a NUL received inside a line: no reply holds one,
// and the mark keeps such a line from passing for a shorter true one.
constexpr char kNulMark = '\x1A';

char s_rx_ring[kRingSize];
int s_rx_wptr = 0;
int s_rx_rptr = 0;
int s_rx_lines = 0;
int s_rx_used = 0;      // bytes held: complete lines with their NULs plus the open line
int s_rx_line_len = 0;  // characters of the line being received
int s_rx_in_line = 0;
double s_rx_last_byte_time = 0.0;  // Timer() when the last byte arrived
bool s_rx_junk = false;            // printable bytes seen outside a line since the last line ended
int s_rx_junk_lines = 0;           // lines of such bytes ended by a CR, not yet noted
char s_rx_echo[kRingSize + 1];
int s_rx_echo_len = 0;

int s_comm_busy = 0;
CommFailure s_last_failure;
char s_comm_msg[200];
CommTrafficHook s_traffic_hook = nullptr;
CommLinkLostHook s_link_lost_hook = nullptr;

LinkLedger s_ledger;
// For how many transactions a line that misbehaved is still distrusted.
constexpr int kTroubleMemory = 32;

int advance(int pos)
{
    return pos >= kRingSize - 1 ? 0 : pos + 1;
}

void logTraffic(const char* text, int received)
{
    if (g_prog_type == 1 && s_traffic_hook) s_traffic_hook(text, received);
}

void resetRing()
{
    s_rx_lines = 0;
    s_rx_junk = false;
    s_rx_junk_lines = 0;
    s_rx_used = 0;
    s_rx_line_len = 0;
    s_rx_wptr = s_rx_rptr = 0;
}

// Removes the oldest complete line, copying it into out (kRingSize bytes) when given.
void takeLine(char* out)
{
    int n = 0;
    while (s_rx_ring[s_rx_rptr] != '\0') {
        if (out) out[n] = s_rx_ring[s_rx_rptr];
        ++n;
        s_rx_rptr = advance(s_rx_rptr);
    }
    if (out) out[n] = '\0';
    s_rx_rptr = advance(s_rx_rptr);
    s_rx_used -= n + 1;
    --s_rx_lines;
}

// Stores one byte of the open line, dropping old lines when the ring is full.
void storeByte(char byte)
{
    while (s_rx_used >= kRingSize && s_rx_lines > 0) takeLine(nullptr);
    if (s_rx_used >= kRingSize) return;
    s_rx_ring[s_rx_wptr] = byte;
    s_rx_wptr = advance(s_rx_wptr);
    ++s_rx_used;
}

void receiveByte(char byte)
{
    s_rx_last_byte_time = Timer();
    if (s_rx_echo_len > kRingSize - 1) s_rx_echo_len = 0;
    if (s_rx_in_line == 0) {
        if (byte == ':') {
            s_rx_in_line = 1;
            s_rx_line_len = 0;
        } else if (byte == '\r') {
            // Bytes without a ':' make a line that answers nothing.
            if (s_rx_junk) ++s_rx_junk_lines;
            s_rx_junk = false;
        } else if (byte != '\n' && byte != ' ' && byte != '\t' && byte != '\0') {
            s_rx_junk = true;
        }
        // The traffic monitor gets the echo as a C string: a NUL would end it
        // there and hide the reply line behind it.
        if (byte != '\0') s_rx_echo[s_rx_echo_len++] = byte;
        return;
    }
    if (s_rx_in_line != 1) {
        s_rx_in_line = 0;
        return;
    }
    if (s_rx_echo_len < kRingSize && byte != '\0') s_rx_echo[s_rx_echo_len++] = byte;
    if (byte == '\r') {
        storeByte('\0');
        ++s_rx_lines;
        s_rx_in_line = 0;
        s_rx_line_len = 0;
        s_rx_junk = false;
        s_rx_echo[s_rx_echo_len] = '\0';
        s_rx_echo_len = 0;
        logTraffic(s_rx_echo, 1);
        return;
    }
    if (s_rx_line_len >= kMaxLineLength) return;  // overlong line: the rest is cut
    storeByte(byte == '\0' ? kNulMark : byte);
    ++s_rx_line_len;
}

// Longest reply lines of each shape, with their ':' and CR, for the time they
// need on the wire: an acknowledgement, a mnemonic of four letters with a
// count of six characters, and a text up to the line limit.
int longestReply(ReplyShape shape)
{
    switch (shape) {
        case ReplyShape::Acknowledge:
            return 3;
        case ReplyShape::Integer:
            return 13;
        case ReplyShape::Text:
            break;
    }
    return kRingSize;
}

double s_reply_timeout = kReplyTimeoutSeconds;

// The rate the port was opened with: iccdctl opens at its --baud without
// touching the preference g_com_baud, and the wire times must be those of
// the line in use.
int s_open_baud = 0;
std::uint64_t s_link_serial = 0;

double byteSeconds()
{
    const int baud = s_open_baud > 0 ? s_open_baud : g_com_baud;
    return 10.0 / (baud > 0 ? baud : 9600);
}

// How long a stale line still arriving may hold a command back: the time the
// longest line needs, and never more than half of limit, the command's own
// time-out, so that the camera keeps the rest.
double staleLineAllowance(double limit)
{
    return std::min(limit / 2, 0.020 + (kRingSize + 20) * byteSeconds());
}

// What the last transaction left behind that the next one must allow for.
struct Aftermath {
    bool timedOut = false;  // its reply may still come, late
    ReplyShape shape = ReplyShape::Acknowledge;
    bool tookUntold = false;  // it took a reply that content cannot tell: a text, or a refusal of a set
};
Aftermath s_after;

// Reads a line, strictly.  A line that is no reply but holds a further ':'
// may be two lines run together where a CR was lost: what follows the ':'
// is read as a line of its own.
ReplyLine readLine(std::string_view text)
{
    ReplyLine line = Comm_ReadReplyLine(text);
    for (std::size_t colon = text.find(':');
         line.kind == ReplyKind::Malformed && colon != std::string_view::npos;
         colon = text.find(':', colon + 1))
        line = Comm_ReadReplyLine(text.substr(colon + 1));
    return line;
}

// Notes the lines of bytes without a ':' that have ended since last asked.
void noteJunkLines()
{
    for (; s_rx_junk_lines > 0; --s_rx_junk_lines) s_ledger.stray(ReplyLine{});
}

// Takes every complete line waiting: none can answer the command about to go
// out, so each is a stray.
void takeStrays()
{
    noteJunkLines();
    while (s_rx_lines > 0) {
        char line[kRingSize];
        takeLine(line);
        s_ledger.stray(readLine(line));
    }
}

// Lets a line that is still arriving complete, for no longer than until.
// After bytes outside a line, a line may be about to begin: it is given the
// time a few bytes need.  Noise that never pauses cannot hold the caller for
// longer than until; the wait costs nothing but reading the bytes that come.
void letOpenLineComplete(double until)
{
    // The bytes of a line follow each other at the pace of the line; what
    // reaches us comes in chunks, hence the few milliseconds more.
    const double byte = byteSeconds();
    const double quiet = 0.020 + 20 * byte;
    const double afterJunk = 0.010 + 3 * byte;
    for (;;) {
        if (IsComLinkDown(g_com_port)) return;
        const double need = s_rx_in_line == 1 ? quiet : s_rx_junk ? afterJunk : 0.0;
        const double left = std::min(s_rx_last_byte_time + need, until) - Timer();
        if (left <= 0) return;
        WaitForSystemEvents(left);
    }
}

// Waits until a complete line has arrived, the line has been quiet for quiet
// seconds, or until has come.
void awaitLineOrQuiet(double quiet, double until)
{
    const double start = Timer();
    for (;;) {
        if (IsComLinkDown(g_com_port) || s_rx_lines > 0) return;
        const double lastSign = std::max(start, s_rx_last_byte_time);
        const double need = s_rx_in_line == 1 ? 0.020 + 20 * byteSeconds() : quiet;
        const double left = std::min(lastSign + need, until) - Timer();
        if (left <= 0) return;
        WaitForSystemEvents(left);
    }
}

// Takes in what has reached the port, lets a stale line finish (until the
// time given), notes every complete line as a stray, and writes the command.
int sendCommand(int port, const char* text, std::uint16_t length, ReplyShape shape, double settleUntil)
{
    ProcessSystemEvents();
    SerialComCallback(port, 0, nullptr);
    // A reply that timed out may still be on its way.  A command whose own
    // reply cannot be told from it by content first gives it the time the
    // line needs; one that names itself needs not.
    if (s_after.timedOut && shape != ReplyShape::Integer) {
        const double lineTime = 0.020 + longestReply(s_after.shape) * byteSeconds();
        awaitLineOrQuiet(lineTime, std::min(settleUntil, Timer() + lineTime));
    } else if (s_after.tookUntold && shape != ReplyShape::Integer &&
               s_ledger.troubledWithin(kTroubleMemory)) {
        // On a line that lately repeated or garbled replies, a repeat of the
        // reply just taken would pass for this command's: let it come first.
        awaitLineOrQuiet(0.010 + 20 * byteSeconds(), settleUntil);
    }
    s_after = {};
    letOpenLineComplete(settleUntil);
    takeStrays();

    // A port that cannot take the line has lost its device (or was never
    // opened): no reply can come, so the transaction ends here.
    if (IsComLinkDown(port) || FlushOutQ(port) < 0 || ComWrt(port, text, length) != length)
        return COMM_LINK_LOST;
    logTraffic(text, 0);
    return COMM_OK;
}

// What the wait for one reply expects.
struct Expected {
    ReplyShape shape;
    std::string_view mnemonic;  // of an integer query
    std::size_t textLimit;      // of a text query's reply data
};

// Waits until deadline for a reply of the expected shape.  A line of another
// shape is no reply to this command: it is noted as a stray and the wait goes
// on.  When a line that answers nothing lately asked has come and no reply
// follows it within the time a reply needs, the reply was that line, damaged:
// COMM_UNRECOGNIZED.
int awaitReply(double deadline, const Expected& want, char* reply, int* count)
{
    int status = COMM_TIMEOUT;
    double garbledAt = 0.0;  // when a line that may have been the reply, damaged, came
    // A reply that follows a junk line begins at once; one still arriving
    // keeps the wait going by itself.
    const double grace = 0.020 + 20 * byteSeconds();
    SetWaitCursor(1);
    for (;;) {
        bool done = false;
        noteJunkLines();
        while (s_rx_lines > 0 && !done) {
            char text[kRingSize] = {};
            takeLine(text);
            const ReplyLine line = readLine(text);
            // An integer answer naming another mnemonic is a repeat or a late
            // reply of another query, even where a text could look like it.
            const bool otherQuery = line.kind == ReplyKind::Integer && line.mnemonic != want.mnemonic &&
                                    (Comm_HasIntegerQuery(line.mnemonic) || s_ledger.queried(line.mnemonic));
            if (otherQuery || !Comm_ReplyFits(line, want.shape, want.mnemonic, want.textLimit)) {
                s_ledger.stray(line);
                if (!otherQuery) garbledAt = Timer();
                continue;
            }
            if (line.kind == ReplyKind::Refuse) {
                status = COMM_NAK;
            } else {
                status = COMM_OK;
                std::memcpy(reply, line.data.data(), line.data.size());
                reply[line.data.size()] = '\0';
                if (count) *count = line.count;
            }
            done = true;
        }
        if (done) break;
        // A device that has gone away will not answer: give up at once, and
        // say so, since waiting longer or asking again cannot help.
        if (IsComLinkDown(g_com_port)) {
            status = COMM_LINK_LOST;
            break;
        }
        double until = deadline;
        if (garbledAt > 0 && s_rx_in_line == 0)
            until = std::min(until, std::max(garbledAt, s_rx_last_byte_time) + grace);
        const double left = until - Timer();
        if (left <= 0) {
            if (until < deadline) status = COMM_UNRECOGNIZED;
            break;
        }
        WaitForSystemEvents(left);
    }
    SetWaitCursor(0);
    return status;
}

// One command and its reply, noted in the ledger.  *seq receives its number.
int exchange(const char* line, const Expected& want, char* reply, int* count, std::uint64_t* seq = nullptr)
{
    const auto length = static_cast<std::uint16_t>(std::strlen(line));
    const double start = Timer();
    const double limit = s_reply_timeout + (length + longestReply(want.shape)) * byteSeconds();
    const std::uint64_t n = s_ledger.begin(want.shape, line);
    if (seq) *seq = n;
    int taken = 0;
    int status = sendCommand(g_com_port, line, length, want.shape, start + staleLineAllowance(limit));
    if (status == COMM_OK) status = awaitReply(start + limit, want, reply, &taken);
    s_ledger.end(n, status, taken);
    if (count && status == COMM_OK) *count = taken;
    s_after.timedOut = status == COMM_TIMEOUT;
    s_after.shape = want.shape;
    s_after.tookUntold = (want.shape != ReplyShape::Integer && status == COMM_OK) || status == COMM_NAK;
    return status;
}

// Reads back what a set sent: the count of an integer set, the text of a
// text set.  COMM_OK when the camera holds it, COMM_UNCONFIRMED when it holds
// something else or cannot be asked.  Runs inside a transaction.
int readBack(const LedgerEntry& set)
{
    const std::string_view mnemonic = set.mnemonic;
    char query[16];
    char reply[kReplySize];
    if (set.hasCount) {
        if (!Comm_HasIntegerQuery(mnemonic)) return COMM_UNCONFIRMED;
        std::snprintf(query, sizeof query, ":%s?\r", set.mnemonic);
        const Expected want{ReplyShape::Integer, mnemonic, kReplySize - 1};
        int count = 0;
        // A query the camera answers is not refused: a refusal here is a
        // junk line in front of the answer, which is asked for again.
        int status = exchange(query, want, reply, &count);
        if (status == COMM_TIMEOUT || status == COMM_UNRECOGNIZED || status == COMM_NAK)
            status = exchange(query, want, reply, &count);
        if (status == COMM_LINK_LOST) return status;
        return status == COMM_OK && count == set.count ? COMM_OK : COMM_UNCONFIRMED;
    }
    // Texts the camera reads back under another name: the camera ID string
    // is written with WSF and read with SNO.
    const char* textQuery = mnemonic == "CID" ? ":CID?\r" : mnemonic == "WSF" ? ":SNO?\r" : nullptr;
    if (!textQuery || set.textCut) return COMM_UNCONFIRMED;
    const Expected want{ReplyShape::Text, {}, kReplySize - 1};
    int status = exchange(textQuery, want, reply, nullptr);
    if (status == COMM_TIMEOUT || status == COMM_UNRECOGNIZED || status == COMM_NAK)
        status = exchange(textQuery, want, reply, nullptr);
    if (status == COMM_LINK_LOST) return status;
    return status == COMM_OK && std::strcmp(reply, set.text) == 0 ? COMM_OK : COMM_UNCONFIRMED;
}

// A count below zero is taken only once two readings agree: a blank or a
// digit turned into a minus sign on the line still makes a well-formed count,
// and negative counts are rare enough for the second reading to cost next to
// nothing.  reply (kReplySize bytes) and *count get the agreed reading.
int confirmNegative(const char* line, const Expected& want, char* reply, int* count)
{
    int readings[3] = {*count, 0, 0};
    char texts[3][kReplySize];
    int n = 1;
    for (int attempt = 0; attempt < 3 && n < 3; ++attempt) {
        int taken = 0;
        const int status = exchange(line, want, texts[n], &taken);
        if (status == COMM_LINK_LOST) return status;
        if (status != COMM_OK) continue;
        for (int i = 0; i < n; ++i)
            if (readings[i] == taken) {
                *count = taken;
                std::snprintf(reply, kReplySize, "%s", texts[n]);
                return COMM_OK;
            }
        readings[n++] = taken;
    }
    return COMM_UNRECOGNIZED;
}

// One transaction: send line, wait for the reply.  Refused with COMM_BUSY
// while another one waits: nothing is sent and nothing is written to reply.
// A query whose reply was lost or damaged is asked once more; a set whose
// acknowledgement was, is read back.  A refusal is final.  A negative count
// is read until two readings agree.
int transact(const char* line, char* reply, Expected want = {ReplyShape::Acknowledge, {}, 0},
             int* count = nullptr)
{
    if (s_comm_busy) return COMM_BUSY;
    CommOperation operation;
    s_comm_busy = 1;
    char scratch[kReplySize];
    if (!reply) reply = scratch;
    std::uint64_t seq = 0;
    int taken = 0;
    int status = exchange(line, want, reply, &taken, &seq);
    if (status == COMM_TIMEOUT || status == COMM_UNRECOGNIZED) {
        if (want.shape != ReplyShape::Acknowledge) {
            const int first = status;
            status = exchange(line, want, reply, &taken);
            // Silence after a damaged reply says more about the line than the silence.
            if (status == COMM_TIMEOUT && first == COMM_UNRECOGNIZED) status = first;
        } else if (const LedgerEntry* set = s_ledger.find(seq)) {
            const LedgerEntry copy = *set;
            const int confirmed = readBack(copy);
            if (confirmed == COMM_OK || confirmed == COMM_LINK_LOST) status = confirmed;
            s_ledger.resolve(seq);
        }
    }
    if (status == COMM_OK && want.shape == ReplyShape::Integer && taken < 0)
        status = confirmNegative(line, want, reply, &taken);
    if (status == COMM_OK && count) *count = taken;
    // An operation's first failure is what it reports; a read-back or a
    // retry failing after it would name another command.
    if (status != COMM_OK && s_last_failure.operation != Comm_OperationSerial()) {
        std::string_view sent = line;
        while (!sent.empty() && (sent.back() == '\r' || sent.back() == '\n')) sent.remove_suffix(1);
        s_last_failure = {std::string(sent), status, g_com_port,
                          s_reply_timeout + (sent.size() + longestReply(want.shape)) * byteSeconds(),
                          Comm_OperationSerial()};
    }
    s_comm_busy = 0;
    CommQueue_TransactionEnded(status == COMM_LINK_LOST || IsComLinkDown(g_com_port));
    return status;
}

}  // namespace

int Comm_OpenPort(int port, int baud)
{
    char name[8];
    std::snprintf(name, sizeof name, "COM%1d", port);
    resetRing();
    SetBreakOnLibraryErrors(0);
    const int status = OpenComConfig(port, name, baud, 0, 8, 1, 16384, 512);
    SetBreakOnLibraryErrors(1);
    if (status != 0) return status;
    s_open_baud = baud;
    ++s_link_serial;
    // Nothing asked on an earlier link can answer on this one.
    s_ledger.reset();
    s_after = {};
    FlushInQ(port);
    FlushOutQ(port);
    return InstallComCallback(port, LWRS_RECEIVE | LWRS_RXCHAR | LWRS_LINKDOWN, 1, 0, SerialComCallback,
                              nullptr);
}

std::uint64_t Comm_LinkSerial()
{
    return s_link_serial;
}

int Comm_ReopenPort(int port)
{
    return Comm_OpenPort(port, s_open_baud > 0 ? s_open_baud : g_com_baud);
}

int Comm_ClosePort(int port)
{
    InstallComCallback(port, 0, 0, 0, nullptr, nullptr);
    return CloseCom(port);
}

void SerialComCallback(int port, int eventMask, void*)
{
    if (eventMask & LWRS_LINKDOWN) {
        if (port == g_com_port && s_link_lost_hook) s_link_lost_hook();
        return;
    }
    const int waiting = GetInQLen(port);
    for (int i = 0; i < waiting; ++i) {
        const int byte = ComRdByte(port);
        if (byte < 0) break;
        receiveByte(static_cast<char>(byte & 0xFF));
    }
}

int TransmitMsg(int port, const char* text, std::uint16_t length)
{
    return sendCommand(port, text, length, ReplyShape::Text, Timer() + staleLineAllowance(s_reply_timeout));
}

int WaitForResponse(int timeoutSeconds, char* reply)
{
    return awaitReply(Timer() + timeoutSeconds, Expected{ReplyShape::Text, {}, kReplySize - 1}, reply,
                      nullptr);
}

const CommFailure& Comm_LastFailure()
{
    return s_last_failure;
}

void Comm_SetReplyTimeout(double seconds)
{
    s_reply_timeout = seconds > 0 ? seconds : kReplyTimeoutSeconds;
}

const char* Comm_GetMessageErrorStr(int code)
{
    const char* text = "Unrecognized response from camera.";
    switch (code) {
        case COMM_OK:
            text = "No error.";
            break;
        case COMM_TIMEOUT:
            text = "Timeout error waiting for camera response.";
            break;
        case COMM_NAK:
            text = "Camera returned error message NAK.";
            break;
        case COMM_UNRECOGNIZED:
            text = "Camera returned unrecognized response.";
            break;
        case COMM_BUSY:
            text = "The link was busy with another command; nothing was sent.";
            break;
        case COMM_LINK_LOST:
            text = "Camera link lost (the device was removed or closed).";
            break;
        case COMM_UNCONFIRMED:
            text = "The camera's answer could not be confirmed (the line garbled or repeated replies).";
            break;
        default:
            break;
    }
    std::snprintf(s_comm_msg, sizeof s_comm_msg, "%s", text);
    return s_comm_msg;
}

int Comm_SetIntVal(const char* prefix, int value)
{
    char line[24];
    std::snprintf(line, sizeof line, "%s%d%c", prefix, value, 13);
    return transact(line, nullptr);
}

int Comm_GetIntVal(const char* query, int* value)
{
    // The mnemonic sits between the leading ':' and the trailing "?" CR.
    const std::size_t length = std::strlen(query);
    char mnemonic[24] = {};
    if (length > 3) std::snprintf(mnemonic, sizeof mnemonic, "%.*s", static_cast<int>(length - 3), query + 1);
    char reply[kReplySize];
    return transact(query, reply, Expected{ReplyShape::Integer, mnemonic, kReplySize - 1}, value);
}

int Comm_SendFixed(const char* literal)
{
    char line[24];
    std::snprintf(line, sizeof line, "%s%c", literal, 13);
    return transact(line, nullptr);
}

int Comm_SendFixedNumber(const char* literal, int number)
{
    char line[24];
    std::snprintf(line, sizeof line, "%s%d%c", literal, number, 13);
    return transact(line, nullptr);
}

int Comm_SetText(const char* prefix, const char* text)
{
    char line[256];
    std::snprintf(line, sizeof line, "%s%.*s%c", prefix, 249, text, 13);
    return transact(line, nullptr);
}

int Comm_GetText(const char* query, char* out, std::size_t outSize)
{
    if (outSize == 0) return COMM_UNRECOGNIZED;
    char reply[kReplySize];
    const std::size_t limit = std::min(outSize, static_cast<std::size_t>(kReplySize)) - 1;
    const int status = transact(query, reply, Expected{ReplyShape::Text, {}, limit});
    if (status == COMM_OK) std::snprintf(out, outSize, "%s", reply);
    return status;
}

int Comm_Raw(const char* line, char* reply)
{
    const ReplyShape shape = Comm_ReplyShapeOfCommand(line);
    const std::string_view mnemonic = Comm_CommandMnemonic(line);
    char data[kReplySize];
    const int status = transact(line, data, Expected{shape, mnemonic, kReplySize - 1});
    if (status == COMM_OK)
        std::snprintf(reply, kReplySize, "%s", shape == ReplyShape::Acknowledge ? "" : data);
    return status;
}

std::uint64_t Comm_TransactionMark()
{
    return s_ledger.next();
}

std::vector<CommDoubt> Comm_SettleDoubts(std::uint64_t mark)
{
    std::vector<CommDoubt> settled;
    if (s_comm_busy || g_com_port == 0) return settled;
    CommOperation operation;
    s_comm_busy = 1;
    // A reply that lost its place to a line taken before it follows that
    // line at once: what has come is taken in first.  Only after a time-out,
    // or after a reply that content cannot tell on a line that misbehaved
    // during the batch, is it worth waiting for one; a sound line pays
    // nothing.
    ProcessSystemEvents();
    SerialComCallback(g_com_port, 0, nullptr);
    if (s_after.timedOut || (s_after.tookUntold && s_ledger.troubledSince(mark))) {
        // Give a repeat the time it needs to come: serial adapters hand
        // bytes over in chunks, milliseconds apart.
        const double lineTime = 0.020 + longestReply(s_after.shape) * byteSeconds();
        const double quiet = s_after.timedOut ? lineTime : 0.010 + 20 * byteSeconds();
        awaitLineOrQuiet(quiet, Timer() + lineTime);
    }
    letOpenLineComplete(Timer() + staleLineAllowance(s_reply_timeout));
    takeStrays();
    s_after = {};
    // Confirming a set may bring more strays, and with them more doubts.
    for (int round = 0; round < 3; ++round) {
        const std::vector<std::uint64_t> doubts = s_ledger.doubts(mark);
        if (doubts.empty()) break;
        for (std::uint64_t seq : doubts) {
            LedgerEntry* entry = s_ledger.find(seq);
            if (!entry) continue;
            const LedgerEntry copy = *entry;
            s_ledger.resolve(seq);
            if (copy.shape != ReplyShape::Acknowledge) {
                settled.push_back({seq, copy.status, true});
                continue;
            }
            int status = readBack(copy);
            // A refusal the camera's value does not contradict stays a refusal.
            if (status == COMM_UNCONFIRMED && copy.status == COMM_NAK) status = COMM_NAK;
            if (LedgerEntry* again = s_ledger.find(seq)) again->status = status;
            settled.push_back({seq, status, false});
            if (status == COMM_LINK_LOST) break;
        }
        ProcessSystemEvents();
        SerialComCallback(g_com_port, 0, nullptr);
        takeStrays();
    }
    s_comm_busy = 0;
    CommQueue_TransactionEnded(IsComLinkDown(g_com_port));
    return settled;
}

int Comm_TransactionStatus(std::uint64_t seq, int* shape)
{
    const LedgerEntry* entry = s_ledger.find(seq);
    if (!entry) return -1;
    if (shape) *shape = static_cast<int>(entry->shape);
    return entry->status;
}

int Comm_IsBusy()
{
    return s_comm_busy;
}

void Comm_SetTrafficHook(CommTrafficHook hook)
{
    s_traffic_hook = hook;
}

void Comm_SetLinkLostHook(CommLinkLostHook hook)
{
    s_link_lost_hook = hook;
}

int Comm_LinkLost()
{
    return g_com_port != 0 && IsComLinkDown(g_com_port) ? 1 : 0;
}
