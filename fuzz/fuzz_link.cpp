// The receive path: whatever bytes a device sends, in whatever pieces they
// arrive, the link must end each transaction with one of its status codes and
// hand a value to the caller only when the camera accepted.
//
// The port is a transport of our own: a command written to it is answered
// with the fuzzer's bytes, posted to the event loop in the fuzzer's chunks,
// as a serial port delivers them.  Bytes may also arrive between two
// transactions (stale lines), and the device may go away.
#include <fuzzer/FuzzedDataProvider.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "platform/Transport.h"

namespace {

constexpr int kPort = 7;
// A fast line and a tiny time-out: an input that never finishes its line
// costs a few milliseconds instead of two seconds.
constexpr int kBaud = 1000000;
constexpr double kReplyTimeout = 0.001;

// What the device will send for the next command: chunks, each delivered
// from the event loop as one read.
struct Script {
    std::vector<std::string> chunks;
    bool hangUp = false;  // the device goes away after its answer
};

Script g_next;
int g_writes = 0;
std::vector<std::string> g_written;  // the commands of the current transaction

class FuzzTransport : public Transport {
public:
    int open(long, int, int, int) override { return 0; }
    int write(const char* text, int count) override
    {
        ++g_writes;
        g_written.emplace_back(text, static_cast<std::size_t>(count));
        // Replies leave from the event loop, never from inside the write, as
        // a real port's do.
        for (std::string& chunk : g_next.chunks)
            post([this, chunk] {
                if (onData) onData(chunk.data(), static_cast<int>(chunk.size()));
            });
        if (g_next.hangUp)
            post([this] {
                if (onLinkDown) onLinkDown();
            });
        g_next = {};
        return count;
    }
    void close() override
    {
        onData = nullptr;
        onLinkDown = nullptr;
    }

private:
    // A closed port's transport is deleted from the event loop; what it
    // posted before must then find it gone instead of touching it.
    template <typename F>
    void post(F f)
    {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [alive = std::weak_ptr<bool>(alive_), f] {
                if (alive.lock()) f();
            },
            Qt::QueuedConnection);
    }
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

std::unique_ptr<Transport> MakeFuzzTransport(const QString&, int)
{
    return std::make_unique<FuzzTransport>();
}

void Check(bool ok, const char* what)
{
    if (!ok) fuzz::Fail("fuzz_link", what);
}

bool IsStatus(int status)
{
    return status == COMM_OK || status == COMM_TIMEOUT || status == COMM_NAK || status == COMM_UNRECOGNIZED ||
           status == COMM_LINK_LOST || status == COMM_UNCONFIRMED;
}

// Factory mode shows every reply line: it must be a terminated line that
// ends with its CR and fits the receive store.
void CheckTraffic(const char* text, int received)
{
    if (!received) return;
    const std::size_t n = std::strlen(text);
    Check(n > 0 && n <= static_cast<std::size_t>(kReplySize + 1), "traffic line length");
    Check(text[n - 1] == '\r', "traffic line ends with CR");
}

Script TakeScript(FuzzedDataProvider& data)
{
    Script script;
    std::string bytes = data.ConsumeRandomLengthString(400);
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t n = data.ConsumeIntegralInRange<std::size_t>(1, 48);
        script.chunks.push_back(bytes.substr(at, n));
        at += n;
    }
    script.hangUp = data.ConsumeIntegralInRange<int>(0, 31) == 0;
    return script;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    SetTransportFactory(MakeFuzzTransport);
    SetComPortDevice(kPort, QStringLiteral("fuzz"));
    Comm_SetReplyTimeout(kReplyTimeout);
    Comm_SetTrafficHook(CheckTraffic);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    Check(Comm_OpenPort(kPort, kBaud) == 0, "port opens");
    g_com_port = kPort;
    g_prog_type = 1;
    bool down = false;

    for (int step = 0; step < 6 && data.remaining_bytes() > 0; ++step) {
        // Stale bytes that reach the port before the command goes out.
        const std::string stale = data.ConsumeRandomLengthString(64);
        if (!stale.empty() && !down) ComInjectReceived(kPort, stale.data(), static_cast<int>(stale.size()));
        g_next = TakeScript(data);
        const bool hangUp = g_next.hangUp;
        const int writesBefore = g_writes;
        g_written.clear();

        int status = COMM_OK;
        std::string command;     // what goes out first
        std::string readBack;    // what may follow it: the query asked again, or a set's read-back
        std::size_t mostWrites;  // the command and its second chance
        switch (data.ConsumeIntegralInRange<int>(0, 4)) {
            case 0:
            case 1: {
                constexpr int kUntouched = 0x5A5A5A5A;
                int value = kUntouched;
                command = readBack = step % 2 ? ":SHS?\r" : ":AGN?\r";
                mostWrites = 5;  // asked again, and a negative count read until two readings agree
                status = Comm_GetIntVal(command.c_str(), &value);
                Check(status == COMM_OK || value == kUntouched, "integer written only on COMM_OK");
                break;
            }
            case 2: {
                const int value = data.ConsumeIntegral<int>();
                command = ":AGN=" + std::to_string(value) + "\r";
                readBack = ":AGN?\r";
                mostWrites = 3;
                status = Comm_SetIntVal(":AGN=", value);
                break;
            }
            case 3: {
                char text[17];
                std::memset(text, '#', sizeof text);
                command = readBack = ":VER?\r";
                mostWrites = 2;
                status = Comm_GetText(command.c_str(), text, sizeof text);
                if (status == COMM_OK) {
                    Check(std::memchr(text, '\0', sizeof text) != nullptr, "text terminated");
                } else {
                    for (char c : text) Check(c == '#', "text written only on COMM_OK");
                }
                break;
            }
            case 4:
                // A command without a query cannot be read back.
                command = ":AWB!\r";
                mostWrites = 1;
                status = Comm_SendFixed(":AWB!");
                break;
        }
        Check(IsStatus(status), "status is a CommStatus code");
        Check(!Comm_IsBusy(), "busy flag cleared");
        // Nothing can be sent to a device that has gone.  To one that is
        // there the command goes out first, followed at most by its second
        // chance (the query asked again, or a set read back) and, for a
        // negative count, the readings that confirm it.  Only a device
        // that goes away during this very transaction may end it as lost.
        if (down) {
            Check(status == COMM_LINK_LOST, "a lost device ends the transaction");
        } else {
            Check(g_writes > writesBefore && g_written.size() <= mostWrites, "command and its second chance");
            Check(g_written.front() == command, "the command goes out first");
            for (std::size_t i = 1; i < g_written.size(); ++i)
                Check(g_written[i] == readBack, "only the second chance follows");
            Check(status != COMM_LINK_LOST || hangUp, "a present device takes the command");
        }
        // The scripted chunks of a transaction that timed out still arrive;
        // let them, so that the next one meets them as stale bytes.
        ProcessSystemEvents();
        down = down || hangUp;
    }

    g_next = {};
    Comm_ClosePort(kPort);
    ProcessSystemEvents();
    ReleaseClosedPorts();
    Comm_DiscardQueuedActions();
    g_com_port = 0;
    return 0;
}
