#include "platform/Rs232.h"

#include <QCoreApplication>
#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/ComPortMap.h"
#include "platform/Transport.h"

namespace {

// One numbered port: its device, its bounded input queue and its callback.
struct Port {
    std::unique_ptr<Transport> transport;
    std::vector<char> queue;  // circular input queue
    int head = 0;             // next byte to read
    int count = 0;            // bytes waiting
    ComCallbackPtr callback = nullptr;
    int eventMask = 0;
    int notifyCount = 1;
    void* callbackData = nullptr;
    bool linkDown = false;
    unsigned generation = 0;  // tells a reopened port from the one a late report is about
    bool inCallback = false;
    bool notifyAgain = false;
};

std::array<Port, kMaxComPort + 1> s_ports;
int s_break_on_errors = 1;
std::string s_open_error;  // why the last OpenComConfig failed
unsigned s_generations = 0;

bool validPort(int port)
{
    return port >= 1 && port <= kMaxComPort;
}

Port* openPort(int port)
{
    return validPort(port) && s_ports[port].transport ? &s_ports[port] : nullptr;
}

// Transports may be closed from inside one of their own signals (a receive
// callback that closes the port), so closed ones wait here and are deleted
// from the event loop afterwards, or by ReleaseClosedPorts, never on the spot.
std::vector<std::unique_ptr<Transport>> s_closed;

void retire(std::unique_ptr<Transport> transport)
{
    if (!transport) return;
    transport->close();
    transport->onData = nullptr;
    transport->onLinkDown = nullptr;
    s_closed.push_back(std::move(transport));
    if (s_closed.size() == 1 && QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), [] { ReleaseClosedPorts(); });
}

void notify(int portNumber)
{
    Port& port = s_ports[portNumber];
    if (!port.callback || !(port.eventMask & (LWRS_RXCHAR | LWRS_RECEIVE))) return;
    // A callback that pumps events may see more bytes arrive; they are handed
    // over by one more round once it returns instead of by a nested call.
    if (port.inCallback) {
        port.notifyAgain = true;
        return;
    }
    port.inCallback = true;
    do {
        port.notifyAgain = false;
        if (port.count < port.notifyCount) break;
        const int events = port.eventMask & (LWRS_RXCHAR | LWRS_RECEIVE);
        port.callback(portNumber, events, port.callbackData);
        if (!openPort(portNumber)) return;  // the callback closed the port
    } while (port.notifyAgain && port.count > 0);
    port.inCallback = false;
}

// The device is gone: writes fail from now on, and the callback hears of it
// from the event loop, so that the code that found the loss (a write in the
// middle of a transaction) is never re-entered.
void markLinkDown(int portNumber)
{
    Port& port = s_ports[portNumber];
    if (port.linkDown) return;
    port.linkDown = true;
    const unsigned generation = port.generation;
    auto report = [portNumber, generation] {
        Port& p = s_ports[portNumber];
        if (!p.transport || p.generation != generation) return;  // closed or reopened meanwhile
        if (p.callback && (p.eventMask & LWRS_LINKDOWN))
            p.callback(portNumber, LWRS_LINKDOWN, p.callbackData);
    };
    if (QCoreApplication::instance()) QTimer::singleShot(0, QCoreApplication::instance(), report);
}

void receive(int portNumber, const char* data, int n)
{
    Port& port = s_ports[portNumber];
    const int capacity = static_cast<int>(port.queue.size());
    // A full queue drops further bytes, as a UART overrun does.
    for (int i = 0; i < n && port.count < capacity; ++i) {
        port.queue[(port.head + port.count) % capacity] = data[i];
        ++port.count;
    }
    notify(portNumber);
}

}  // namespace

int OpenComConfig(int port, const char* deviceName, long baudRate, int parity, int dataBits, int stopBits,
                  int inputQueueSize, int outputQueueSize)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    if (baudRate <= 0) return kRS_InvalidBaudRate;
    if (parity < 0 || parity > 4) return kRS_InvalidParity;
    if (dataBits < 5 || dataBits > 8) return kRS_InvalidDataBits;
    if (stopBits < 1 || stopBits > 2) return kRS_InvalidStopBits;
    if (inputQueueSize < 0 || outputQueueSize < 0) return kRS_InvalidParameter;

    if (s_ports[port].transport) CloseCom(port);

    s_open_error.clear();
    auto fail = [](int status, const std::string& why = {}) {
        s_open_error = GetRS232ErrorString(status);
        if (!why.empty()) {
            if (s_open_error.back() == '.') s_open_error.pop_back();
            s_open_error += ": " + why + ".";
        }
        return status;
    };
    QString device = deviceName ? QString::fromLocal8Bit(deviceName) : QString();
    if (device.isEmpty() || device.compare(QStringLiteral("COM%1").arg(port), Qt::CaseInsensitive) == 0)
        device = ComPortDevice(port);
    if (device.isEmpty()) return fail(kRS_NoPortFound);

    std::unique_ptr<Transport> transport = MakeTransport(device, port);
    if (!transport) return fail(kRS_CanNotOpenPort, "not a device this program can open");
    const int status = transport->open(baudRate, parity, dataBits, stopBits);
    if (status != kRS_Ok) {
        const std::string why = transport->openError;
        retire(std::move(transport));
        return fail(status, why);
    }

    Port& p = s_ports[port];
    p = Port{};
    p.queue.assign(static_cast<size_t>(inputQueueSize < 512 ? 512 : inputQueueSize), 0);
    p.generation = ++s_generations;
    transport->onData = [port](const char* data, int n) { receive(port, data, n); };
    transport->onLinkDown = [port] { markLinkDown(port); };
    p.transport = std::move(transport);
    return kRS_Ok;
}

int CloseCom(int port)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    Port& p = s_ports[port];
    if (!p.transport) return kRS_PortNotOpen;
    retire(std::move(p.transport));
    p = Port{};
    return kRS_Ok;
}

int InstallComCallback(int port, int eventMask, int notifyCount, int, ComCallbackPtr callback,
                       void* callbackData)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    Port* p = openPort(port);
    if (!p) return kRS_PortNotOpen;
    if (eventMask == 0 || !callback) {
        p->callback = nullptr;
        p->eventMask = 0;
        p->callbackData = nullptr;
        return kRS_Ok;
    }
    if (notifyCount < 0) return kRS_InvalidParameter;
    p->callback = callback;
    p->eventMask = eventMask;
    p->notifyCount = notifyCount < 1 ? 1 : notifyCount;
    p->callbackData = callbackData;
    return kRS_Ok;
}

int GetInQLen(int port)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    const Port* p = openPort(port);
    return p ? p->count : kRS_PortNotOpen;
}

int ComRdByte(int port)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    Port* p = openPort(port);
    if (!p) return kRS_PortNotOpen;
    if (p->count == 0) return kRS_TimeOutErr;
    const unsigned char byte = static_cast<unsigned char>(p->queue[p->head]);
    p->head = (p->head + 1) % static_cast<int>(p->queue.size());
    --p->count;
    return byte;
}

int ComWrt(int port, const char* buffer, int count)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    Port* p = openPort(port);
    if (!p) return kRS_PortNotOpen;
    if (count < 0 || (count > 0 && !buffer)) return kRS_InvalidParameter;
    if (p->linkDown) return kRS_LinkDown;
    const int written = p->transport->write(buffer, count);
    if (written < 0) markLinkDown(port);
    return written;
}

int FlushInQ(int port)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    Port* p = openPort(port);
    if (!p) return kRS_PortNotOpen;
    p->head = 0;
    p->count = 0;
    return kRS_Ok;
}

int FlushOutQ(int port)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    Port* p = openPort(port);
    if (!p) return kRS_PortNotOpen;
    p->transport->discardOutput();
    return kRS_Ok;
}

int SetBreakOnLibraryErrors(int newState)
{
    const int old = s_break_on_errors;
    s_break_on_errors = newState ? 1 : 0;
    return old;
}

void ReleaseClosedPorts()
{
    s_closed.clear();
}

int IsComLinkDown(int port)
{
    const Port* p = openPort(port);
    return !p || p->linkDown ? 1 : 0;
}

const char* GetComOpenErrorText()
{
    return s_open_error.c_str();
}

const char* GetRS232ErrorString(int status)
{
    switch (status) {
        case kRS_Ok:
            return "No error.";
        case kRS_UnknownSysError:
            return "Unknown system error.";
        case kRS_InvalidPortNum:
            return "Invalid port number.";
        case kRS_PortNotOpen:
            return "Port is not open.";
        case kRS_UnknownIOError:
            return "Unknown I/O error.";
        case kRS_NoPortFound:
            return "No serial device is mapped to this port.";
        case kRS_CanNotOpenPort:
            return "Cannot open port.";
        case kRS_PortInUse:
            return "The device is in use by another program.";
        case kRS_InvalidParameter:
            return "Invalid parameter.";
        case kRS_InvalidBaudRate:
            return "Invalid baud rate.";
        case kRS_InvalidParity:
            return "Invalid parity.";
        case kRS_InvalidDataBits:
            return "Invalid number of data bits.";
        case kRS_InvalidStopBits:
            return "Invalid number of stop bits.";
        case kRS_LinkDown:
            return "The device is no longer connected.";
        case kRS_TimeOutErr:
            return "Timeout error.";
        default:
            return "Unknown serial error.";
    }
}

int ComInjectReceived(int port, const char* bytes, int count)
{
    if (!validPort(port)) return kRS_InvalidPortNum;
    if (!openPort(port)) return kRS_PortNotOpen;
    if (count < 0 || (count > 0 && !bytes)) return kRS_InvalidParameter;
    receive(port, bytes, count);
    return kRS_Ok;
}
