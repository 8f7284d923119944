// A scripted serial line on the virtual clock: records every call with its time and answers
// each complete 6-byte request through a responder that the test supplies.
#pragma once

#include "platform/Clock.h"
#include "platform/SerialDevice.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <set>

struct ScriptedLine {
    explicit ScriptedLine(VirtualClock& c) : clock(c) {}

    VirtualClock& clock;
    // Answers one request telegram; the bytes returned become readable at once.
    std::function<QByteArray(const QByteArray& request)> responder;
    QByteArray incoming;        // bytes waiting to be read
    QByteArray pendingRequest;  // bytes of a request not yet complete
    QList<QByteArray> requests; // every complete request, in order
    QList<uint64_t> requestTimesUs;
    QStringList events; // "t=<ms> <what>" for line changes
    uint32_t baud = 0;
    bool dtr = false;
    bool rts = false;
    bool failReadLine = false;
    bool failApplyLine = false;
    bool chatter = false; // a foreign byte on every read
    bool present = true;  // whether the line's device is plugged in
    int unplugs = 0;      // a device opened before the last unplug is lost

    void log(const QString& what);
    // Answers every request with its own bytes and the given data word.
    void answerWithEcho(uint16_t data);
    // Pulls the device: an open device is lost with what it had received, and none opens until
    // `present` is set again.
    void unplug();
};

class ScriptedSerialDevice final : public SerialDevice {
public:
    explicit ScriptedSerialDevice(ScriptedLine& line) : m_line(line) {}
    bool open(const QString& path) override;
    bool isOpen() const override { return m_open && !lost(); }
    void close() override;
    bool lost() const override { return m_open && m_unplugsAtOpen != m_line.unplugs; }
    bool readLine(LineSettings& settings) override;
    bool applyLine(const LineSettings& settings) override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    int read(uint8_t* buffer, int count, int timeoutMs) override;
    int write(const uint8_t* buffer, int count) override;
    bool purge() override;

private:
    ScriptedLine& m_line;
    bool m_open = false;
    int m_unplugsAtOpen = 0;
};

class ScriptedPorts final : public SerialPorts {
public:
    ScriptedPorts(ScriptedLine& line, std::set<int> existing) : m_line(line), m_existing(existing)
    {}
    std::unique_ptr<SerialDevice> createDevice() override;
    QString devicePath(int number) const override;

private:
    ScriptedLine& m_line;
    std::set<int> m_existing;
};

// Reply telegram with the request's mode, address field and the given data, checksum correct.
QByteArray ReplyTo(const QByteArray& request, uint16_t data);
