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

int g_depth = 0;  // operations running, nested
std::uint64_t g_serial = 0;
bool g_draining = false;  // the queue is being worked off
bool g_in_gap = false;    // gap actions are running
std::deque<QueuedAction> g_queue;
std::vector<std::function<void()>> g_gap;

// Works off the queue while the link stays idle.  Each action is an operation
// of its own, so what it queues in turn (during its waits or its pop-ups)
// follows it in order.
void drain()
{
    if (g_draining) return;
    g_draining = true;
    while (g_depth == 0 && !g_queue.empty()) {
        QueuedAction next = std::move(g_queue.front());
        g_queue.pop_front();
        CommOperation operation;
        next.action();
    }
    g_draining = false;
}

}  // namespace

CommOperation::CommOperation()
{
    if (g_depth++ == 0) ++g_serial;
}

std::uint64_t Comm_OperationSerial()
{
    return g_serial;
}

CommOperation::~CommOperation()
{
    if (--g_depth == 0) drain();
}

bool Comm_LinkInUse()
{
    return g_depth > 0 || Comm_IsBusy() != 0;
}

bool Comm_WhenLinkIdle(std::function<void()> action, const void* key)
{
    if (!Comm_LinkInUse() && !g_draining) {
        CommOperation operation;
        action();
        return true;
    }
    if (key && !g_queue.empty() && g_queue.back().key == key) {
        g_queue.back().action = std::move(action);
    } else {
        g_queue.push_back({std::move(action), key});
    }
    return false;
}

bool Comm_IsQueued(const void* key)
{
    for (const QueuedAction& queued : g_queue)
        if (queued.key == key) return true;
    return false;
}

void Comm_AtNextGap(std::function<void()> action)
{
    if (!Comm_IsBusy()) {
        action();
        return;
    }
    g_gap.push_back(std::move(action));
}

int Comm_QueuedActionCount()
{
    return static_cast<int>(g_queue.size());
}

void Comm_DiscardQueuedActions()
{
    g_queue.clear();
    g_gap.clear();
}

void CommQueue_TransactionEnded(bool linkLost)
{
    if (g_in_gap) return;  // a gap action's own transaction
    if (linkLost) {
        g_gap.clear();  // nothing can reach the device any more
        return;
    }
    g_in_gap = true;
    std::vector<std::function<void()>> due;
    while (!g_gap.empty()) {
        due.swap(g_gap);
        for (auto& action : due) action();
        due.clear();
    }
    g_in_gap = false;
}
