#include "camera/LinkQueue.h"

#include <deque>
#include <utility>
#include <vector>

#include "camera/Link.h"

namespace {

struct QueuedAction {
    std::function<void()> action;
    const void* key;
};

int s_depth = 0;  // operations running, nested
std::uint64_t s_serial = 0;
bool s_draining = false;  // the queue is being worked off
bool s_in_gap = false;    // gap actions are running
std::deque<QueuedAction> s_queue;
std::vector<std::function<void()>> s_gap;

// Works off the queue while the link stays idle.  Each action is an operation
// of its own, so what it queues in turn (during its waits or its pop-ups)
// follows it in order.
void drain()
{
    if (s_draining) return;
    s_draining = true;
    while (s_depth == 0 && !s_queue.empty()) {
        QueuedAction next = std::move(s_queue.front());
        s_queue.pop_front();
        CommOperation operation;
        next.action();
    }
    s_draining = false;
}

}  // namespace

CommOperation::CommOperation()
{
    if (s_depth++ == 0) ++s_serial;
}

std::uint64_t Comm_OperationSerial()
{
    return s_serial;
}

CommOperation::~CommOperation()
{
    if (--s_depth == 0) drain();
}

bool Comm_LinkInUse()
{
    return s_depth > 0 || Comm_IsBusy() != 0;
}

bool Comm_WhenLinkIdle(std::function<void()> action, const void* key)
{
    if (!Comm_LinkInUse() && !s_draining) {
        CommOperation operation;
        action();
        return true;
    }
    if (key && !s_queue.empty() && s_queue.back().key == key) {
        s_queue.back().action = std::move(action);
    } else {
        s_queue.push_back({std::move(action), key});
    }
    return false;
}

bool Comm_IsQueued(const void* key)
{
    for (const QueuedAction& queued : s_queue)
        if (queued.key == key) return true;
    return false;
}

void Comm_AtNextGap(std::function<void()> action)
{
    if (!Comm_IsBusy()) {
        action();
        return;
    }
    s_gap.push_back(std::move(action));
}

int Comm_QueuedActionCount()
{
    return static_cast<int>(s_queue.size());
}

void Comm_DiscardQueuedActions()
{
    s_queue.clear();
    s_gap.clear();
}

void CommQueue_TransactionEnded(bool linkLost)
{
    if (s_in_gap) return;  // a gap action's own transaction
    if (linkLost) {
        s_gap.clear();  // nothing can reach the device any more
        return;
    }
    s_in_gap = true;
    std::vector<std::function<void()>> due;
    while (!s_gap.empty()) {
        due.swap(s_gap);
        for (auto& action : due) action();
        due.clear();
    }
    s_in_gap = false;
}
