#include "devices/PortDescriptions.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStringList>

#include "platform/ComPortMap.h"
#include "platform/Rs232.h"

namespace {

// A device given by a link (/dev/serial/by-id/...) is the port the system
// lists under its target.
QString canonical(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

}  // namespace

std::vector<PortDescription> DescribePorts()
{
    const QList<QSerialPortInfo> serial = QSerialPortInfo::availablePorts();
    std::vector<PortDescription> ports;
    for (int port = 1; port <= kMaxComPort; ++port) {
        PortDescription d;
        d.port = port;
        d.device = ComPortDevice(port);
        if (d.device.startsWith(QLatin1String("sim:")) || d.device.startsWith(QLatin1String("tcp:"))) {
            d.present = true;
        } else if (!d.device.isEmpty()) {
            const QString path = canonical(d.device);
            for (const QSerialPortInfo& info : serial) {
                if (canonical(info.systemLocation()) != path && info.portName() != d.device) continue;
                d.present = true;
                d.description = info.description();
                d.manufacturer = info.manufacturer();
                d.serialNumber = info.serialNumber();
                break;
            }
            // Pseudo-terminals and some adapters are not listed, yet can be opened.
            if (!d.present && d.device.startsWith('/')) d.present = QFileInfo::exists(d.device);
        }
        ports.push_back(d);
    }
    return ports;
}

QString PortLabel(const PortDescription& d)
{
    QString label = QStringLiteral("COM%1: ").arg(d.port);
    if (d.device.isEmpty()) return label + QStringLiteral("no device");
    label += d.device;
    if (d.device.startsWith(QLatin1String("sim:"))) return label + QStringLiteral(" (simulated camera)");
    if (d.device.startsWith(QLatin1String("tcp:"))) return label + QStringLiteral(" (network)");
    if (!d.present) return label + QStringLiteral(" (not present)");
    QStringList says;
    for (const QString& part : {d.description, d.manufacturer})
        if (!part.isEmpty()) says << part;
    if (!d.serialNumber.isEmpty()) says << QStringLiteral("serial ") + d.serialNumber;
    return label + (says.isEmpty() ? QStringLiteral(" (present)")
                                   : QStringLiteral(" (present: %1)").arg(says.join(", ")));
}
