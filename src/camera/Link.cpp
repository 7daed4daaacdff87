#include "camera/Link.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "camera/Globals.h"
#include "camera/LinkQueue.h"
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

// A reply line that is still arriving when a command is about to go out (or
// bytes that may precede one) can only be stale: a duplicate, or the tail of a
// late reply.  Give it the time its remaining bytes need, so that it is dropped
// whole instead of being taken for the answer to the new command.  When the
// bytes stop coming the line is left as it is.
void settleOpenLine()
{
    const double byteSeconds = 10.0 / (g_com_baud > 0 ? g_com_baud : 9600);
    const double quiet = 0.020 + 20 * byteSeconds;
    while ((g_rx_in_line == 1 || g_rx_junk) && !IsComLinkDown(g_com_port)) {
        const double left = g_rx_last_byte_time + quiet - Timer();
        if (left <= 0) break;
        WaitForSystemEvents(left);
    }
}

// One transaction: send line, wait for the reply.  Refused with COMM_BUSY
// while another one waits: nothing is sent and nothing is written to reply.
int transact(const char* line, char* reply)
{
    if (g_comm_busy) return COMM_BUSY;
    CommOperation operation;
    g_comm_busy = 1;
    char scratch[kReplySize];
    int status = TransmitMsg(g_com_port, line, static_cast<std::uint16_t>(std::strlen(line)));
    if (status == COMM_OK) status = WaitForResponse(kReplyTimeoutSeconds, reply ? reply : scratch);
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
    FlushInQ(port);
    FlushOutQ(port);
    return InstallComCallback(port, LWRS_RECEIVE | LWRS_RXCHAR, 1, 0, SerialComCallback, nullptr);
}

int Comm_ClosePort(int port)
{
    InstallComCallback(port, 0, 0, 0, nullptr, nullptr);
    return CloseCom(port);
}

void SerialComCallback(int port, int, void*)
{
    const int waiting = GetInQLen(port);
    for (int i = 0; i < waiting; ++i) {
        const int byte = ComRdByte(port);
        if (byte < 0) break;
        receiveByte(static_cast<char>(byte & 0xFF));
    }
}

int TransmitMsg(int port, const char* text, std::uint16_t length)
{
    // Take in whatever has already reached the port, let a line that is
    // still arriving complete, then forget every complete line: replies to
    // earlier commands (late, duplicated or unsolicited) must never be
    // matched to this one.
    ProcessSystemEvents();
    SerialComCallback(port, 0, nullptr);
    settleOpenLine();
    while (g_rx_lines > 0) takeLine(nullptr);

    // A port that cannot take the line has lost its device (or was never
    // opened): no reply can come, so the transaction ends here.
    if (FlushOutQ(port) < 0 || ComWrt(port, text, length) != length) return COMM_LINK_LOST;
    logTraffic(text, 0);
    return COMM_OK;
}

int WaitForResponse(int timeoutSeconds, char* reply)
{
    int status = COMM_OK;
    char line[kRingSize] = {};
    SetWaitCursor(1);
    const double start = Timer();
    while (g_rx_lines == 0) {
        const double elapsed = Timer() - start;
        // A device that has gone away will not answer: give up at once.
        if (timeoutSeconds <= elapsed || IsComLinkDown(g_com_port)) {
            status = COMM_TIMEOUT;
            break;
        }
        WaitForSystemEvents(timeoutSeconds - elapsed);
    }
    if (status == COMM_OK) {
        takeLine(line);
        if (const char* o = std::strchr(line, 'o')) {
            std::strcpy(reply, o + 1);
        } else {
            status = std::strchr(line, 'e') ? COMM_NAK : COMM_UNRECOGNIZED;
        }
    }
    SetWaitCursor(0);
    return status;
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
    char reply[kReplySize];
    const int status = transact(query, reply);
    if (status != COMM_OK) return status;
    // The mnemonic sits between the leading ':' and the trailing "?" CR.
    const std::size_t length = std::strlen(query);
    char mnemonic[24] = {};
    if (length > 3) std::snprintf(mnemonic, sizeof mnemonic, "%.*s", static_cast<int>(length - 3), query + 1);
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
    const int status = transact(query, reply);
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
