// A serial gateway on a loopback TCP port, served by a thread of its own: raw TCP, or Telnet with
// RFC 2217 greeting as ser2net does. Answers each 6-byte request like a bus device, records the
// Telnet commands it gets, and can close the connection or stop listening like a gateway that goes.
#pragma once

#include "PtyPeer.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

class GatewayPeer {
public:
    enum class Kind {
        Raw,
        Rfc2217,
        RefusesComPort, // Telnet that answers COM-PORT-OPTION with DONT
        Silent,         // accepts the connection and negotiates nothing
    };
    static constexpr uint16_t kReplyData = PtyPeer::kReplyData;

    explicit GatewayPeer(Kind kind);
    ~GatewayPeer();
    GatewayPeer(const GatewayPeer&) = delete;
    GatewayPeer& operator=(const GatewayPeer&) = delete;

    // "tcp://127.0.0.1:PORT", or "rfc2217://..." for the Telnet kinds.
    [[nodiscard]] QString address() const;
    [[nodiscard]] uint16_t port() const { return m_port; }

    void setReplyLength(int bytes) { m_replyLength = bytes; }
    void setReplyDelayMs(int ms) { m_replyDelayMs = ms; }
    void setReplyData(uint16_t data) { m_replyData = data; }
    // Rates above this are not taken: the reply to SET-BAUDRATE names the rate in force.
    void setHighestBaud(uint32_t baud) { m_highestBaud = baud; }
    // The next request is not answered: the connection closes instead.
    void closeOnNextRequest() { m_closeOnRequest = true; }
    // Closes the connection and stops listening, so that connecting is refused.
    void hangUp();
    // Listens again on the same port.
    void comeBack();

    [[nodiscard]] int requests() const { return m_requests; }
    void waitForAnswers(int count) const;
    // What the client sent: its data, each option command as "WILL 44", each COM-PORT-OPTION
    // command as its bytes after the option (command, value).
    [[nodiscard]] QByteArray data() const;
    [[nodiscard]] QStringList options() const;
    [[nodiscard]] QList<QByteArray> comPortCommands() const;
    // How many bytes each read of the connection brought, in order.
    [[nodiscard]] QList<int> readSizes() const;

private:
    void listen();
    void serve();
    void serveClient(int client);
    // Takes the client's bytes apart; complete requests are answered.
    void take(int client, const uint8_t* bytes, int count);
    void sendTelnet(int client, const QByteArray& bytes);
    void comPortCommand(int client, const QByteArray& command);
    void answer(int client, const QByteArray& request);

    const Kind m_kind;
    uint16_t m_port = 0;
    int m_listener = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_closeOnRequest{false};
    std::atomic<bool> m_closeNow{false};
    std::atomic<int> m_replyLength{6};
    std::atomic<int> m_replyDelayMs{0};
    std::atomic<uint16_t> m_replyData{kReplyData};
    std::atomic<uint32_t> m_highestBaud{UINT32_MAX};
    std::atomic<int> m_requests{0};
    std::atomic<int> m_answered{0};

    mutable std::mutex m_lock;
    QByteArray m_data;
    QStringList m_options;
    QList<QByteArray> m_comPortCommands;
    QList<int> m_readSizes;
    // The Telnet parse of the client's stream.
    enum class Stage { Data, Command, Option, Sub, SubCommand } m_stage = Stage::Data;
    uint8_t m_verb = 0;
    QByteArray m_sub;
    QByteArray m_request;
    uint32_t m_baud = 9600;
};
