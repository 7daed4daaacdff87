#include "camera/Link.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "camera/Globals.h"
#include "camera/LinkQueue.h"
#include "camera/ReplyMnemonics.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "platform/WaitCursor.h"

namespace {

// Receive store: complete reply lines, each followed by a NUL, in a ring of
// fixed size.  A line longer than the ring is cut; when the ring is full the
// oldest unread line makes room, so nothing is ever overrun.
constexpr int kRingSize = 225;
constexpr int kMaxLineLength = kRingSize - 1;

char g_rx_ring[kRingSize];
int g_rx_wptr = 0;
int g_rx_rptr = 0;
int g_rx_lines = 0;
int g_rx_used = 0;      // bytes held: complete lines with their NULs plus the open line
int g_rx_line_len = 0;  // characters of the line being received
int g_rx_in_line = 0;
double g_rx_last_byte_time = 0.0;  // Timer() when the last byte arrived
bool g_rx_junk = false;            // printable bytes seen outside a line since the last line ended
char g_rx_echo[kRingSize + 1];
int g_rx_echo_len = 0;

int g_comm_busy = 0;
char g_comm_msg[200];
CommTrafficHook g_traffic_hook = nullptr;
CommLinkLostHook g_link_lost_hook = nullptr;

int advance(int pos)
{
    return pos >= kRingSize - 1 ? 0 : pos + 1;
}

void logTraffic(const char* text, int received)
{
    if (g_prog_type == 1 && g_traffic_hook) g_traffic_hook(text, received);
}

void resetRing()
{
    g_rx_lines = 0;
    g_rx_junk = false;
    g_rx_used = 0;
    g_rx_line_len = 0;
    g_rx_wptr = g_rx_rptr = 0;
}

// Removes the oldest complete line, copying it into out (kRingSize bytes) when given.
void takeLine(char* out)
{
    int n = 0;
    while (g_rx_ring[g_rx_rptr] != '\0') {
        if (out) out[n] = g_rx_ring[g_rx_rptr];
        ++n;
        g_rx_rptr = advance(g_rx_rptr);
    }
    if (out) out[n] = '\0';
    g_rx_rptr = advance(g_rx_rptr);
    g_rx_used -= n + 1;
    --g_rx_lines;
}

// Stores one byte of the open line, dropping old lines when the ring is full.
void storeByte(char byte)
{
    while (g_rx_used >= kRingSize && g_rx_lines > 0) takeLine(nullptr);
    if (g_rx_used >= kRingSize) return;
    g_rx_ring[g_rx_wptr] = byte;
    g_rx_wptr = advance(g_rx_wptr);
    ++g_rx_used;
}

void receiveByte(char byte)
{
    g_rx_last_byte_time = Timer();
    // The traffic monitor gets the echo as a C string: a NUL from line noise
    // would end it there and hide the reply line behind it.  Nor can a NUL
    // belong to a reply, whose data is text.
    if (byte == '\0') return;
    if (g_rx_echo_len > kRingSize - 1) g_rx_echo_len = 0;
    if (g_rx_in_line == 0) {
        if (byte == ':') {
            g_rx_in_line = 1;
            g_rx_line_len = 0;
        } else if (byte != '\r' && byte != '\n' && byte != ' ' && byte != '\t') {
            g_rx_junk = true;
        }
        g_rx_echo[g_rx_echo_len++] = byte;
        return;
    }
    if (g_rx_in_line != 1) {
        g_rx_in_line = 0;
        return;
    }
    if (g_rx_echo_len < kRingSize) g_rx_echo[g_rx_echo_len++] = byte;
    if (byte == '\r') {
        storeByte('\0');
        ++g_rx_lines;
        g_rx_in_line = 0;
        g_rx_line_len = 0;
        g_rx_junk = false;
        g_rx_echo[g_rx_echo_len] = '\0';
        g_rx_echo_len = 0;
        logTraffic(g_rx_echo, 1);
        return;
    }
    if (g_rx_line_len >= kMaxLineLength) return;  // overlong line: the rest is cut
    storeByte(byte);
    ++g_rx_line_len;
}

// What a command's reply looks like, so that the wait can pass over lines
// that answer something else.
enum class ReplyShape {
    Acknowledge,  // set or action: ":o" or ":e"
    Integer,      // ":o" + mnemonic + "% d"
    Text,         // ":o" + text, nothing to tell it by
};

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

double g_reply_timeout = kReplyTimeoutSeconds;
ReplyShape g_last_shape = ReplyShape::Text;  // of the transaction before

// The rate the port was opened with: iccdctl opens at its --baud without
// touching the preference g_com_baud, and the wire times must be those of
// the line in use.
int g_open_baud = 0;

double byteSeconds()
{
    const int baud = g_open_baud > 0 ? g_open_baud : g_com_baud;
    return 10.0 / (baud > 0 ? baud : 9600);
}

// How long a stale line still arriving may hold a command back: the time the
// longest line needs, and never more than half of limit, the command's own
// time-out, so that the camera keeps the rest.
double staleLineAllowance(double limit)
{
    return std::min(limit / 2, 0.020 + (kRingSize + 20) * byteSeconds());
}

// Integer queries sent lately.  Their replies name them, so a duplicate or a
// late one is known for what it is even while a set, an action or a text
// query waits, whose own replies carry no name.
struct RecentQuery {
    char mnemonic[8];
    double sent;
};
constexpr int kRecentQueries = 16;
constexpr double kRecentSeconds = 10.0;
RecentQuery g_recent[kRecentQueries];
int g_recent_next = 0;

void rememberQuery(std::string_view mnemonic)
{
    RecentQuery& slot = g_recent[g_recent_next];
    g_recent_next = (g_recent_next + 1) % kRecentQueries;
    std::snprintf(slot.mnemonic, sizeof slot.mnemonic, "%.*s", static_cast<int>(mnemonic.size()),
                  mnemonic.data());
    slot.sent = Timer();
}

// True when data answers an integer query sent lately, other than own.
bool answersRecentQuery(std::string_view data, std::string_view own)
{
    const double now = Timer();
    for (const RecentQuery& q : g_recent) {
        if (q.mnemonic[0] == '\0' || now - q.sent > kRecentSeconds || own == q.mnemonic) continue;
        if (Comm_ReplyNamesMnemonic(data, q.mnemonic)) return true;
    }
    return false;
}

// A reply line that is still arriving when a command is about to go out (or
// bytes that may precede one) can only be stale: a duplicate, or the tail of a
// late reply.  Give it the time its remaining bytes need, so that it is dropped
// whole instead of being taken for the answer to the new command.  When the
// bytes stop coming the line is left as it is.
//
// When neither this command's reply nor the one before can be told from
// another by its content (sets, actions, text queries), the command also
// waits for a short pause after the last byte: a duplicate follows its
// original closely, but may reach us a little later than its last byte did.
//
// Noise that never pauses must not hold the command back for good: the wait
// ends at until, and costs nothing but reading the bytes that come.
void settleOpenLine(double until, bool wantPause)
{
    // The bytes of a line follow each other at the pace of the line; what
    // reaches us comes in chunks, hence the few milliseconds more.  Junk that
    // may lead into a stale line only needs to be followed at once.
    const double byte = byteSeconds();
    const double quiet = 0.020 + 20 * byte;
    const double afterJunk = 0.010 + 3 * byte;
    const double pause = 0.005 + 3 * byte;
    for (;;) {
        if (IsComLinkDown(g_com_port)) return;
        const double need = g_rx_in_line == 1 ? quiet : g_rx_junk ? afterJunk : wantPause ? pause : 0.0;
        const double now = Timer();
        const double left = std::min(g_rx_last_byte_time + need, until) - now;
        if (left <= 0) return;
        WaitForSystemEvents(left);
    }
}

// Takes in what has reached the port, lets a stale line finish (until the
// time given), forgets every complete line, and writes the command.
int sendCommand(int port, const char* text, std::uint16_t length, double settleUntil, bool wantPause)
{
    // Replies to earlier commands (late, duplicated or unsolicited) must never
    // be matched to this one.
    ProcessSystemEvents();
    SerialComCallback(port, 0, nullptr);
    settleOpenLine(settleUntil, wantPause);
    while (g_rx_lines > 0) takeLine(nullptr);

    // A port that cannot take the line has lost its device (or was never
    // opened): no reply can come, so the transaction ends here.
    if (IsComLinkDown(port) || FlushOutQ(port) < 0 || ComWrt(port, text, length) != length)
        return COMM_LINK_LOST;
    logTraffic(text, 0);
    return COMM_OK;
}

// Waits until deadline for the reply of the given shape.  Lines that answer
// another command are passed over.  An integer reply without its mnemonic is
// held as COMM_UNRECOGNIZED while the wait goes on for a better one.
int awaitReply(double deadline, ReplyShape shape, std::string_view mnemonic, char* reply)
{
    int status = COMM_TIMEOUT;
    SetWaitCursor(1);
    for (;;) {
        bool done = false;
        while (g_rx_lines > 0 && !done) {
            char line[kRingSize] = {};
            takeLine(line);
            const char* o = std::strchr(line, 'o');
            if (!o) {
                status = std::strchr(line, 'e') ? COMM_NAK : COMM_UNRECOGNIZED;
                done = true;
                break;
            }
            const std::string_view data(o + 1);
            if (answersRecentQuery(data, mnemonic)) continue;
            if (shape == ReplyShape::Integer) {
                if (Comm_ReplyNamesOtherMnemonic(data, mnemonic)) continue;
                if (data.find(mnemonic) == std::string_view::npos) {
                    status = COMM_UNRECOGNIZED;
                    continue;
                }
            }
            std::strcpy(reply, o + 1);
            status = COMM_OK;
            done = true;
        }
        if (done) break;
        // A device that has gone away will not answer: give up at once, and
        // say so, since waiting longer or asking again cannot help.
        if (IsComLinkDown(g_com_port)) {
            status = COMM_LINK_LOST;
            break;
        }
        const double left = deadline - Timer();
        if (left <= 0) break;
        WaitForSystemEvents(left);
    }
    SetWaitCursor(0);
    return status;
}

// One transaction: send line, wait for the reply.  Refused with COMM_BUSY
// while another one waits: nothing is sent and nothing is written to reply.
// The whole of it, the wait for a quiet line included, takes no longer than
// the reply time-out plus the time the command and its longest reply need on
// the wire.
int transact(const char* line, char* reply, ReplyShape shape = ReplyShape::Acknowledge,
             std::string_view mnemonic = {})
{
    if (g_comm_busy) return COMM_BUSY;
    CommOperation operation;
    g_comm_busy = 1;
    char scratch[kReplySize];
    const auto length = static_cast<std::uint16_t>(std::strlen(line));
    const double start = Timer();
    const double limit = g_reply_timeout + (length + longestReply(shape)) * byteSeconds();
    const double settle = staleLineAllowance(limit);
    // A repeated integer reply names its query; a repeated acknowledgement or
    // text does not, so only after one of those does a command that cannot
    // tell either wait for the pause.
    const bool wantPause = shape != ReplyShape::Integer && g_last_shape != ReplyShape::Integer;
    g_last_shape = shape;
    int status = sendCommand(g_com_port, line, length, start + settle, wantPause);
    if (status == COMM_OK) {
        if (shape == ReplyShape::Integer) rememberQuery(mnemonic);
        status = awaitReply(start + limit, shape, mnemonic, reply ? reply : scratch);
    }
    g_comm_busy = 0;
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
    g_open_baud = baud;
    // Nothing asked on an earlier link can answer on this one.
    for (RecentQuery& q : g_recent) q = {};
    g_last_shape = ReplyShape::Text;
    FlushInQ(port);
    FlushOutQ(port);
    return InstallComCallback(port, LWRS_RECEIVE | LWRS_RXCHAR | LWRS_LINKDOWN, 1, 0, SerialComCallback,
                              nullptr);
}

int Comm_ReopenPort(int port)
{
    return Comm_OpenPort(port, g_open_baud > 0 ? g_open_baud : g_com_baud);
}

int Comm_ClosePort(int port)
{
    InstallComCallback(port, 0, 0, 0, nullptr, nullptr);
    return CloseCom(port);
}

void SerialComCallback(int port, int eventMask, void*)
{
    if (eventMask & LWRS_LINKDOWN) {
        if (port == g_com_port && g_link_lost_hook) g_link_lost_hook();
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
    return sendCommand(port, text, length, Timer() + staleLineAllowance(g_reply_timeout), true);
}

int WaitForResponse(int timeoutSeconds, char* reply)
{
    return awaitReply(Timer() + timeoutSeconds, ReplyShape::Text, {}, reply);
}

void Comm_SetReplyTimeout(double seconds)
{
    g_reply_timeout = seconds > 0 ? seconds : kReplyTimeoutSeconds;
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
        case COMM_LINK_LOST:
            text = "Camera link lost (the device was removed or closed).";
            break;
        default:
            break;
    }
    std::snprintf(g_comm_msg, sizeof g_comm_msg, "%s", text);
    return g_comm_msg;
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
    const int status = transact(query, reply, ReplyShape::Integer, mnemonic);
    if (status != COMM_OK) return status;
    const char* found = mnemonic[0] ? std::strstr(reply, mnemonic) : nullptr;
    if (!found) return COMM_UNRECOGNIZED;
    *value = std::atoi(found + std::strlen(mnemonic));
    return COMM_OK;
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
    char reply[kReplySize];
    const int status = transact(query, reply, ReplyShape::Text);
    if (status == COMM_OK && outSize > 0) std::snprintf(out, outSize, "%s", reply);
    return status;
}

int Comm_IsBusy()
{
    return g_comm_busy;
}

void Comm_SetTrafficHook(CommTrafficHook hook)
{
    g_traffic_hook = hook;
}

void Comm_SetLinkLostHook(CommLinkLostHook hook)
{
    g_link_lost_hook = hook;
}

int Comm_LinkLost()
{
    return g_com_port != 0 && IsComLinkDown(g_com_port) ? 1 : 0;
}
