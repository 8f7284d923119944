// The raw telegram exchange on a port of its own: hunts the reply's first byte among foreign
// traffic, notices a bus that never falls silent, and tells apart missing, short and bad replies.
#pragma once

#include "Comport.h"
#include "platform/Clock.h"

class TZuzevSave : public TCOMport {
public:
    enum Result { Ok = 0, Incomplete = 1, ChecksumWrong = 2, NoReply = 3, BusBusy = 4 };

    TZuzevSave(Clock& clock, SerialPorts& ports, QString logPath = QStringLiteral("Debug.dat"));

    // 0 ok, 1 failed.
    int RawOpen(const BusPort& port, uint32_t baud, int replyTimeLimitMs);
    void SetReplyTimeout(int ms) { m_replyTimeLimitMs = ms; }
    [[nodiscard]] int replyTimeLimit() const { return m_replyTimeLimitMs; }
    int RawTransmit(int& mode, int& addressField, int& data);
    // The keep-alive telegram (4Fh to address 0, data 1); its reply is not used.
    void SendKeepAlive();
    void RawClose() { Close(); }

private:
    Clock& m_clock;
    int m_replyTimeLimitMs = 100;
};
