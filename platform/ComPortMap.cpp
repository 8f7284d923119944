#include "ComPortMap.h"

#include "NetworkSerialDevice.h"
#include "QtSerialDevice.h"

#include <QDir>
#include <QFileInfo>

namespace {

#ifndef Q_OS_WIN
// USB adapters come first so that the default COM1 reaches the adapter a technician plugs in.
QString defaultLinuxPath(int number)
{
    if (number >= 1 && number <= 8)
        return QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
    if (number >= 9 && number <= 12)
        return QStringLiteral("/dev/ttyACM%1").arg(number - 9);
    if (number >= 13 && number <= 19)
        return QStringLiteral("/dev/ttyS%1").arg(number - 13);
    return {};
}
#endif

} // namespace

QString comPortPath(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(number);
#else
    const QString folder = qEnvironmentVariable("FENESTRIX_PORTS");
    if (!folder.isEmpty()) {
        const QString entry = QDir(folder).filePath(QStringLiteral("COM%1").arg(number));
        // A dangling link still names the port, so that opening it fails rather than falling back.
        if (QFileInfo(entry).isSymLink() || QFileInfo::exists(entry))
            return QFileInfo(entry).isSymLink() ? QFileInfo(entry).symLinkTarget() : entry;
    }
    return defaultLinuxPath(number);
#endif
}

std::unique_ptr<SerialDevice> QtSerialPorts::createDevice()
{
    return std::make_unique<QtSerialDevice>();
}

std::unique_ptr<SerialDevice> QtSerialPorts::createNetworkDevice()
{
    return std::make_unique<NetworkSerialDevice>();
}
