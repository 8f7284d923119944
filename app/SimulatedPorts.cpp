#include "SimulatedPorts.h"

#include "sim/BusConfigFile.h"

#include <QFile>

bool SimulatedPorts::start(const QString& configPath, int comPort, QString* error)
{
    std::optional<BusSetup> setup =
        configPath.isEmpty() ? std::optional(DefaultBusSetup()) : LoadBusConfig(configPath, error);
    if (!setup)
        return false;
    m_server = std::make_unique<PtyBusServer>(std::make_unique<SimulatedBus>(*setup));
    if (!m_server->start(error))
        return false;
    const QString link = m_portsFolder.filePath(QStringLiteral("COM%1").arg(comPort));
    if (!m_portsFolder.isValid() || !QFile::link(m_server->slavePath(), link)) {
        if (error)
            *error = QStringLiteral("cannot link %1 to %2").arg(link, m_server->slavePath());
        return false;
    }
    qputenv("FENESTRIX_PORTS", m_portsFolder.path().toLocal8Bit());
    return true;
}
