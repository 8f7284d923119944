// The main window's link to the bus: the access object, the port settings, the 200 ms polling
// tick with its keep-alive (and its round trip over a network), and the one reaction to a serial
// adapter or a gateway that went away.
#pragma once

#include "BusScan.h"
#include "buslink/Veltradt.h"

#include <QObject>
#include <QString>
#include <QTimer>

class UserMessages;

class BusSession final : public QObject {
    Q_OBJECT
public:
    BusSession(Clock& clock, SerialPorts& ports, UserMessages& messages, QObject* parent = nullptr);

    [[nodiscard]] TFensterSteuerung& bus() { return m_bus; }
    // The clock of every wait and the messages of the program, for the windows on this bus.
    [[nodiscard]] Clock& clock() { return m_clock; }
    [[nodiscard]] UserMessages& messages() { return m_messages; }
    [[nodiscard]] const BusConnection& connection() const { return m_connection; }
    void setConnection(const BusConnection& connection) { m_connection = connection; }

    // Opens the port: "Online, COM1, 19200 Baud" (over raw TCP the address alone, the gateway
    // sets the line) and polling on, else "Offline". With Settle::BeforeFirstUse the line's quiet
    // time after the open is waited out by the first telegram rather than here.
    bool ConnectBus(CZuzev::Settle settle = CZuzev::Settle::Now);
    // Why the last ConnectBus failed, in the user's words.
    [[nodiscard]] QString notConnectedText() const;
    // Stops polling and closes the port; the status shows "Offline" unless it is kept.
    void DisconnectBus(bool keepStatusText);
    // The keep-alive; over a network its round trip is measured.
    void SendKeepAlive();
    void EnableEepromWrite() { m_bus.EnableEepromWrite(); }
    // Rewrites page 0's checksum of the current window; text 284 when that failed.
    void UpdatePage0Checksum();

    // Closes the port and opens it again after `pauseMs` (the controller window's version
    // watch); the polling timer runs afterwards as it did before.
    void reopen(uint32_t pauseMs);

    // One tick of the polling timer: the keep-alive on every third, then the next cyclic
    // parameter. A serial adapter that went away ends the connection once, with one message.
    void pollTick();
    // A serial adapter that was pulled ends the connection, with one message; true when it did.
    bool endIfAdapterLost();

    [[nodiscard]] QString statusText() const { return m_statusText; }
    // The keep-alive's last round trip over a network when it took more than 50 ms, since the
    // reply time-out of 150 ms then leaves little margin; empty otherwise.
    [[nodiscard]] QString roundTripText() const { return m_roundTripText; }
    [[nodiscard]] bool polling() const { return m_pollTimer.isActive(); }

signals:
    // The connection opened or closed, or its status text changed.
    void connectionChanged();
    void roundTripChanged();

private:
    void setStatus(const QString& text);
    void setRoundTripText(const QString& text);
    bool openPort(CZuzev::Settle settle = CZuzev::Settle::Now);

    Clock& m_clock;
    TFensterSteuerung m_bus;
    UserMessages& m_messages;
    BusConnection m_connection;
    QString m_statusText = QStringLiteral("Offline");
    QString m_roundTripText;
    QTimer m_pollTimer;
    int m_pollTicks = 0;
};
