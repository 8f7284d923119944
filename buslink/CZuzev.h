// The telegram link: one 6-byte request/reply exchange at a time over the bus's serial port,
// with reply resynchronisation, XOR checksum and a copy of the last good reply.
#pragma once

#include "platform/Clock.h"
#include "platform/SerialDevice.h"

#include <array>
#include <cstdint>
#include <memory>

using Telegram = std::array<uint8_t, 6>;

// Builds a telegram: mode, address field and data low byte first, XOR of the five in byte 5.
[[nodiscard]] Telegram MakeTelegram(unsigned mode, unsigned addressField, unsigned data);
[[nodiscard]] uint8_t TelegramChecksum(const uint8_t* bytes);

class CZuzev {
public:
    enum Error { NoError = 0, ErrNotOpen = 1, ErrWrite = 2, ErrNoReply = 3, ErrChecksum = 5 };
    enum OpenError { ErrOpen = 1, ErrGetState = 2, ErrTimeouts = 3, ErrSetState = 4 };
    enum IoStatus { IoOk = 0, IoFailed = 1, IoShort = 2 };
    // The line settles for 100 ms after the purge that ends an open. Now: OpenCom waits them out.
    // BeforeFirstUse: OpenCom returns at once and the port's next use (a write, a read, a purge,
    // closing it) waits for what is left of them, so that a window opening on the bus is not held
    // up while nothing is sent.
    enum class Settle { Now, BeforeFirstUse };

    CZuzev(Clock& clock, SerialPorts& ports);
    virtual ~CZuzev();
    CZuzev(const CZuzev&) = delete;
    CZuzev& operator=(const CZuzev&) = delete;

    [[nodiscard]] bool OpenCom(const BusPort& port, int replyTimeoutMs, unsigned long baud,
                               int wakeUp, Settle settle = Settle::Now);
    int CloseCom();
    void Telegramm(unsigned address, unsigned data, unsigned short mode);
    int Schreiben(unsigned long count);
    unsigned long Schreiben(const unsigned char* buffer, unsigned long count);
    int Lesen(unsigned long count);
    unsigned long Lesen(unsigned char* buffer, unsigned long count);
    int ZuzevError();
    [[nodiscard]] bool ZuzevTransmit(unsigned address, unsigned data, unsigned short mode);
    void ClearComBuffer();

    [[nodiscard]] const Telegram& lastGoodReply() const { return m_lastGoodReply; }
    [[nodiscard]] int errorCode() const { return m_errorCode; }
    [[nodiscard]] int ioStatus() const { return m_ioStatus; }
    [[nodiscard]] bool isOpen() const { return m_open != 0; }
    // Whether the port's device vanished while open (a USB adapter pulled): every exchange then
    // fails at once. CloseCom clears it, and OpenCom opens such a port afresh.
    [[nodiscard]] bool deviceLost() const { return m_port && m_port->lost(); }
    // Why the last OpenCom failed, where the device could tell (a network gateway).
    [[nodiscard]] DeviceFailure openFailure() const { return m_openFailure; }
    // Milliseconds the last exchange took, from the request's write to the end of the reply read.
    [[nodiscard]] uint32_t lastExchangeMs() const { return m_lastExchangeMs; }
    [[nodiscard]] unsigned long interfaceBaud() const { return m_interfaceBaud; }
    [[nodiscard]] const Telegram& requestBuffer() const { return m_request; }

protected:
    Clock& clock() { return m_clock; }

private:
    void runWakeUpSequence(unsigned long targetBaud);
    // Adds the exchange just made to the program's telegram trace.
    void trace(uint32_t startMs, bool replied, bool valid);
    bool failOpen(int code);
    // Waits out the rest of the quiet time after an open, if any is left.
    void settle();

    Clock& m_clock;
    SerialPorts& m_ports;

    Telegram m_lastGoodReply{};
    int m_errorCode = 0;
    std::unique_ptr<SerialDevice> m_port;
    int m_open = 0;
    int m_firstOpen = 1;
    int m_ioStatus = IoOk;
    int m_replyLength = 0;
    unsigned long m_interfaceBaud = 9600;
    Telegram m_request{};
    Telegram m_reply{};
    int m_replyTimeoutMs = 0;
    DeviceFailure m_openFailure = DeviceFailure::None;
    uint32_t m_lastExchangeMs = 0;
    // End of the quiet time after the last open on the clock's microseconds; 0 when it is over.
    uint64_t m_quietUntilUs = 0;
    // What the last reply read brought: bytes received, and the stray bytes skipped ahead of the
    // reply (-1 when no reply could be found among them).
    int m_lastReadLength = 0;
    int m_received = 0;
    int m_strays = 0;
    // Only one exchange runs at a time, so one expected echo serves the process.
    static uint8_t s_expectedEcho;
};
