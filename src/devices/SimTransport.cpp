// The simulated camera in this process, reached through a port like any other
// device.  Replies come back through the event loop, never from inside write().
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>

#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Transport.h"
#include "sim/SimEndpoint.h"

namespace {

struct SimDeviceText {
    int modelRow = -1;
    bool paced = false;
};

// "sim:MODEL" or "sim:MODEL,paced".
SimDeviceText parseDevice(const QString& device)
{
    SimDeviceText parsed;
    if (!device.startsWith(QLatin1String("sim:"))) return parsed;
    const QStringList parts = device.mid(4).split(QLatin1Char(','));
    parsed.modelRow = sim::ModelRowFromName(parts.value(0).toStdString());
    parsed.paced = parts.contains(QLatin1String("paced"));
    return parsed;
}

struct SimSlot {
    QString device;
    std::unique_ptr<sim::SimEndpoint> endpoint;
};

std::array<SimSlot, kMaxComPort + 1>& simSlots()
{
    static std::array<SimSlot, kMaxComPort + 1> table;
    return table;
}

sim::SimEndpoint* endpointFor(int port, const QString& device)
{
    if (port < 1 || port > kMaxComPort) return nullptr;
    const SimDeviceText parsed = parseDevice(device);
    if (parsed.modelRow < 0) return nullptr;
    SimSlot& slot = simSlots()[port];
    if (!slot.endpoint || slot.device != device) {
        slot.endpoint = std::make_unique<sim::SimEndpoint>(parsed.modelRow);
        slot.device = device;
    }
    return slot.endpoint.get();
}

class SimTransport final : public Transport {
public:
    SimTransport(sim::SimEndpoint* endpoint, bool paced) : endpoint_(endpoint), paced_(paced) {}

    ~SimTransport() override { close(); }

    void close() override
    {
        if (closed_) return;
        closed_ = true;
        down_ = true;
        if (!endpoint_) return;
        endpoint_->cancelPending();
        endpoint_->setSink({});
        endpoint_->setHangupHandler({});
    }

    int open(long baudRate, int, int, int) override
    {
        if (!endpoint_) return kRS_CanNotOpenPort;
        endpoint_->cancelPending();
        endpoint_->setBaud(paced_ ? static_cast<int>(baudRate) : 0);
        endpoint_->setSink([this](const QByteArray& bytes) {
            if (!down_ && onData) onData(bytes.constData(), static_cast<int>(bytes.size()));
        });
        endpoint_->setHangupHandler([this] {
            if (down_) return;
            down_ = true;
            endpoint_->cancelPending();
            if (onLinkDown) onLinkDown();
        });
        return kRS_Ok;
    }

    int write(const char* data, int count) override
    {
        if (down_ || !endpoint_) return kRS_LinkDown;
        endpoint_->feed(QByteArray(data, count));
        return count;
    }

private:
    // The camera goes when the port is mapped to another one while this
    // transport is still open; the link is then simply dead.
    QPointer<sim::SimEndpoint> endpoint_;
    bool paced_;
    bool down_ = false;
    bool closed_ = false;
};

}  // namespace

sim::SimEndpoint* SimCameraOnPort(int port)
{
    return endpointFor(port, ComPortDevice(port));
}

void ResetSimCameras()
{
    for (SimSlot& slot : simSlots()) {
        slot.endpoint.reset();
        slot.device.clear();
    }
}

std::unique_ptr<Transport> MakeSimTransport(const QString& device, int port)
{
    sim::SimEndpoint* endpoint = endpointFor(port, device);
    if (!endpoint) return nullptr;
    return std::make_unique<SimTransport>(endpoint, parseDevice(device).paced);
}
