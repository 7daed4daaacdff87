// Operator actions and the link that carries one transaction at a time.
//
// The wait for a reply keeps the user interface running, so the operator can
// act while the camera is still answering, or in the middle of a long
// operation such as a refresh or a settings-file load.  The action cannot be
// sent then (one command on the wire at a time), and slipping it between the
// transactions of the running operation would let that operation read or
// show a half-done state.  So an action that finds the link in use is queued
// and carried out as soon as the link is idle, in the order the operator gave:
// nothing is refused silently and nothing is given up on a timer.
//
// The one exception is a lens stop: a lens drives until it is told to stop,
// so a stop goes out at the very next gap between two transactions, even in
// the middle of an operation (Comm_AtNextGap).
#pragma once

#include <cstdint>

#include <functional>

/// Marks an operation that owns the link from its first transaction to its
/// last: a refresh, a snapshot, a settings-file load, one operator action.
/// Scopes nest; queued actions run when the outermost one ends.  A single
/// transaction is an operation of its own.
class CommOperation {
public:
    CommOperation();
    ~CommOperation();
    CommOperation(const CommOperation&) = delete;
    CommOperation& operator=(const CommOperation&) = delete;
};

/// Counts the outermost operations begun so far: two transactions with the
/// same number belong to one operation.
std::uint64_t Comm_OperationSerial();

/// True while an operation runs or a transaction waits for its reply.
bool Comm_LinkInUse();

/// Runs action at once, as an operation, when the link is idle; otherwise
/// queues it behind the actions already waiting.  An action whose key (when
/// not null) equals the key of the last queued action replaces that action:
/// a control committed again while it waits is carried out once, with the
/// value it shows by then.  Returns true when the action ran at once.
bool Comm_WhenLinkIdle(std::function<void()> action, const void* key = nullptr);

/// True while an action with this key waits in the queue.
bool Comm_IsQueued(const void* key);

/// Runs action at the next gap between two transactions: at once when no
/// transaction waits, otherwise as soon as the waiting one has ended, ahead of
/// the running operation's next transaction and of the queued actions.  It is
/// dropped if that transaction found the link lost.
void Comm_AtNextGap(std::function<void()> action);

/// Number of actions waiting in the queue.
int Comm_QueuedActionCount();

/// Forgets every queued and gap action.
void Comm_DiscardQueuedActions();

/// Called by the link when a transaction has ended; linkLost when it found
/// the device gone.  Runs the gap actions.
void CommQueue_TransactionEnded(bool linkLost);
