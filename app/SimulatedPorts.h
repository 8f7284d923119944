// "--simulate": a simulated bus served in this process on a pseudo-terminal that stands in for
// one COM port number, reached through the port map's FENESTRIX_PORTS folder.
#pragma once

#include "sim/PtyBusServer.h"

#include <QTemporaryDir>

#include <memory>

class SimulatedPorts {
public:
    // Serves the default bus, or the one that `configPath` describes, as COM `comPort`.
    [[nodiscard]] bool start(const QString& configPath, int comPort, QString* error);

private:
    std::unique_ptr<PtyBusServer> m_server;
    QTemporaryDir m_portsFolder;
};
