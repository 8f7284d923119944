// The controller access object: the one way the program reaches the window bus. Adds to the
// telegram link the window address, pacing, one retry, a re-entrant lock and the parameter table.
#pragma once

#include "CZuzev.h"
#include "ParameterTable.h"

#include <array>
#include <cstdint>
#include <mutex>

// The 16-bit address field: window address in bits 7..2 of the low byte and memory-address
// bits 9..8 in bits 1..0, memory-address bits 7..0 in the high byte.
[[nodiscard]] uint16_t MakeBusAddress(int windowAddress, int memoryAddress);

class TFensterSteuerung : public CZuzev {
public:
    enum PollingState { PollingOff = 0, PollingRunning = 1, PollingPaused = 2 };
    enum ParameterResult { ParOk = 0, ParBadIndex = 1, ParNotConnected = 2, ParReadFailed = 4 };

    // Takes the language from the settings file in the working directory, when there is one.
    TFensterSteuerung(Clock& clock, SerialPorts& ports,
                      const QString& settingsPath = QStringLiteral("Fenestrix.ini"));

    int SendTelegram(int& mode, int& addressField, int& data);
    int SendToWindow(int& mode, int& memoryAddress, int& data);
    int ReadParameter(int index);
    void SetWindowAddress(int address);
    [[nodiscard]] int GetWindowAddress() const { return m_windowAddress; }
    void GetParameterInfo(int index, TStrgItem& item) const;

    bool Connect(unsigned long baud, const BusPort& port, int replyTimeoutMs,
                 Settle settle = Settle::Now);
    [[nodiscard]] bool IsConnected() const { return m_connected; }
    void Disconnect();

    int StartPolling();
    void StopPolling() { m_pollingState = PollingOff; }
    void PausePolling();
    void ResumePolling();
    int PollNext();
    [[nodiscard]] int pollingState() const { return m_pollingState; }
    [[nodiscard]] int pollIndex() const { return m_pollIndex; }

    int SendCommand33();
    int SendCommand66();
    int ReadEepromByte(int memoryAddress, int& value);
    int WriteEepromByte(int memoryAddress, int value);

    // The keep-alive telegram, when connected; its reply is not used. 0 when it was answered.
    int SendKeepAlive();
    // Command 6677h, which the controller at the window address needs before an EEPROM write.
    void EnableEepromWrite();
    // Rewrites page 0's checksum (byte 30h) from the bytes 21h..2Fh of the controller at the
    // window address. 0 when written; else the error code of the exchange that failed, and
    // nothing is written after a failed read.
    [[nodiscard]] int UpdatePage0Checksum();

    int GetParameterValue(int index, int& value);
    int GetParameterText(int index, QString& text);
    void RenameParameters();

    [[nodiscard]] int lastError() const { return m_lastError; }

private:
    int exchange(int& mode, int& field, int& data, uint16_t addressField, uint32_t retryWaitMs);
    int readParameterIfNeeded(int index);

    bool m_connected = false;
    int m_pollIndex = 0;
    int m_pollingState = PollingOff;
    int m_windowAddress = 0;
    int m_lastError = 0;
    uint32_t m_lastExchangeTick = 0;
    std::array<TStrgItem, kParameterCount> m_table;
    // The window address each entry's value was last read from; -1 before its first read.
    std::array<int, kParameterCount> m_readFrom;
    std::recursive_mutex m_lock;
};
