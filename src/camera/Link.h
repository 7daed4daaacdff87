// The camera link: one command line out, one reply line back.
//
// Every camera command is a transaction on g_com_port: the command line is sent,
// then the reply line is awaited while the event loop keeps running, for up to
// 2 seconds plus the time the command and its longest reply need on the wire
// at the rate the port was opened with (a slow line must not turn a reply
// into a time-out).  Because events run during that wait, a callback may try
// to start a second transaction; the busy flag refuses such attempts with
// COMM_BUSY, so at most one command is ever on the wire.  A refused
// transaction sends nothing and writes nothing: no caller may take it for the
// camera's answer.
// Operator actions do not meet the refusal: LinkQueue.h queues them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "camera/CamTypes.h"

/// Size of a reply buffer handed to WaitForResponse.
inline constexpr int kReplySize = 225;

/// Seconds a transaction waits for its reply, beyond the wire time of the
/// command and of its longest reply.
inline constexpr int kReplyTimeoutSeconds = 2;

/// Replaces the kReplyTimeoutSeconds of every following transaction (0 puts
/// it back).  For tests and benchmarks that provoke many time-outs.
void Comm_SetReplyTimeout(double seconds);

/// Opens the port at the baud rate (8N1) and installs the receive callback.
/// Returns 0 or the negative status of the failing serial call.
int Comm_OpenPort(int port, int baud);

/// Counts the ports opened: a value learnt from the camera on one link is not
/// taken for the camera on the next, which may be another one.
std::uint64_t Comm_LinkSerial();

/// Opens the port again at the baud rate of the last Comm_OpenPort (after its
/// device went away).  Returns 0 or the negative status of the failing call.
int Comm_ReopenPort(int port);

/// Removes the receive callback and closes the port; returns the close status.
int Comm_ClosePort(int port);

/// Receive callback: cuts the incoming bytes into reply lines; a lost device
/// (LWRS_LINKDOWN) on g_com_port goes to the link-loss observer.
void SerialComCallback(int port, int eventMask, void* callbackData);

/// Sends the first length bytes of text (a whole command line with its CR).
/// First lets a line that is still arriving complete (for at most the time
/// the longest line needs, and half the reply time-out, so that endless noise
/// cannot hold the command back), then takes every complete reply line still
/// queued from earlier commands as a stray (LinkLedger.h).
/// COMM_OK, or COMM_LINK_LOST when the port did not take the whole line.
int TransmitMsg(int port, const char* text, std::uint16_t length);

/// Waits up to timeoutSeconds for a text reply (ReplyGrammar.h) and returns
/// its status.  On COMM_OK the reply data (what follows the 'o') is copied
/// into reply, which holds kReplySize bytes; otherwise reply is not written.
int WaitForResponse(int timeoutSeconds, char* reply);

/// Message text for a status code.  The text lives in a buffer that the next
/// call overwrites.
const char* Comm_GetMessageErrorStr(int code);

/// The first transaction that failed (any status but COMM_OK and COMM_BUSY)
/// in the last operation that had a failure (LinkQueue.h): its command line
/// without the CR, how it ended, the port it went out on and the seconds it
/// waited for its reply.  Kept until a later operation fails, so that a
/// message shown during or right after the operation can say what failed.
struct CommFailure {
    std::string line;
    int status = COMM_OK;
    int port = 0;
    double waited = 0.0;
    std::uint64_t operation = 0;  ///< Comm_OperationSerial() when it failed
};
const CommFailure& Comm_LastFailure();

/// Integer set: sends prefix (":" + mnemonic + "=") followed by value and CR.
/// Every transaction below returns COMM_BUSY, sending nothing and leaving its
/// outputs alone, while another transaction waits.
int Comm_SetIntVal(const char* prefix, int value);

/// Integer query: sends query (":" + mnemonic + "?" + CR) and takes the
/// count of the reply that names the mnemonic (":oAGN 852").  Lines of any
/// other shape are strays and the wait goes on; value is written only on
/// COMM_OK.
///
/// Every transaction reads its reply strictly (ReplyGrammar.h).  A query
/// whose reply was lost (COMM_TIMEOUT) or damaged (COMM_UNRECOGNIZED: a line
/// that fits no reply came, and nothing after it) is asked once more; a set
/// or action whose acknowledgement was is read back where the camera can be
/// asked (COMM_OK when it holds what was sent).  A refusal is final.
int Comm_GetIntVal(const char* query, int* value);

/// Fixed command made of a literal and CR (":AWB!", ":WFAC=0").
int Comm_SendFixed(const char* literal);

/// Fixed command made of a literal, a number and CR (":LSTA=" 2).
int Comm_SendFixedNumber(const char* literal, int number);

/// Text set: sends prefix, text and CR.
int Comm_SetText(const char* prefix, const char* text);

/// Text query: on COMM_OK copies the reply data into out (terminated);
/// otherwise out is left alone.  A reply longer than outSize - 1 characters,
/// or not printable, is no reply to it.
int Comm_GetText(const char* query, char* out, std::size_t outSize);

/// Any command line with its CR, its reply read in the shape the line asks
/// for (Comm_ReplyShapeOfCommand): on COMM_OK reply (kReplySize bytes) holds
/// the reply data, empty for a set or an action.
int Comm_Raw(const char* line, char* reply);

// ---------------------------------------------------------------------------
// Doubts.  A reply that content cannot tell apart (an acknowledgement, a
// text) may have been a junk line, a repeat or a late reply; the real one
// then arrives as a stray line, and the ledger puts in doubt the transactions
// that may have taken the wrong line (LinkLedger.h).  A batch of transactions
// that keeps what it read or says what it did (a snapshot, a save, a load, a
// refresh) settles its doubts before it finishes.

/// The number the next transaction will get.  Noted before a batch and
/// passed to Comm_SettleDoubts after it; the numbers of a caller's
/// transactions lie between the marks taken before and after them.
std::uint64_t Comm_TransactionMark();

struct CommDoubt {
    std::uint64_t seq;  ///< the transaction
    int status;         ///< a set: how it ends now; a query: how it had ended
    bool query;         ///< a query: only its caller can ask it again
};

/// Settles the doubts about the transactions from mark on.  First lets a
/// line still on its way arrive (only after a reply that content cannot
/// tell, and only for the few bytes' time it needs); then reads back each
/// doubtful set, which ends COMM_OK when the camera holds what was sent, its
/// refusal when it was refused and does not, and COMM_UNCONFIRMED otherwise
/// (a set the camera cannot be asked about included).  Returns every
/// transaction that was in doubt, oldest first; each is out of doubt now.
/// Nothing when no camera port is open or a transaction waits.
std::vector<CommDoubt> Comm_SettleDoubts(std::uint64_t mark);

/// How transaction seq ended (after Comm_SettleDoubts, as it settled it),
/// and its ReplyShape in *shape; -1 while it waits or once forgotten (the
/// link remembers its last 256).
int Comm_TransactionStatus(std::uint64_t seq, int* shape = nullptr);

/// 1 while a transaction is between its send and the end of its wait.
int Comm_IsBusy();

/// Observer of the link traffic, called in factory mode with every command
/// line sent (received = 0) and every reply line as it arrived, including the
/// bytes before its ':' (received = 1).  The texts end with their CR.
using CommTrafficHook = void (*)(const char* text, int received);

/// Installs the traffic observer (nullptr removes it).
void Comm_SetTrafficHook(CommTrafficHook hook);

/// 1 when there is a camera port (g_com_port) but its device has gone away
/// (unplugged, closed, disconnected) or could not be opened again since; 0
/// with a working link or with no camera port at all.  Every transaction
/// then ends at once with COMM_LINK_LOST.
int Comm_LinkLost();

/// Told, from the event loop, that the device of g_com_port went away; once
/// per opening of the port.  A transaction waiting then has already ended.
using CommLinkLostHook = void (*)();

/// Installs the link-loss observer (nullptr removes it).
void Comm_SetLinkLostHook(CommLinkLostHook hook);
