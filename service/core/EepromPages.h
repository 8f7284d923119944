// The EEPROM dialog's work on the bus: a page's 64 bytes with their descriptions and checksum,
// and the write-back of the checksums of the pages shown, each verified by reading it back.
#pragma once

#include "EepromDescriptions.h"
#include "EepromFlowHost.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class Clock;

// The controller stores a written byte before it is read back.
constexpr uint32_t kEepromWriteSettleMs = 123;
class TFensterSteuerung;

// What one read of a page shows: the values (nothing where a read failed), the descriptions
// (nothing: keep the shown ones) and the checksum line (empty for pages without a range).
struct EepromPageView {
    int page = 0;
    QList<std::optional<int>> values;
    std::optional<QStringList> descriptions;
    QString checksumLine;
};

// The checksummed range of a page and the byte that holds its XOR; pages 2 and 3 have none.
struct ChecksumRange {
    int first;
    int last;
    int checksumByte;

    // The XOR of the range's bytes, each given by `byteAt(address)`.
    template <typename ByteAt> [[nodiscard]] int checksumOf(ByteAt byteAt) const
    {
        int checksum = 0;
        for (int address = first; address <= last; ++address)
            checksum ^= byteAt(address);
        return checksum;
    }
};
[[nodiscard]] std::optional<ChecksumRange> PageChecksumRange(int page, int variantByte);

// An EEPROM byte: the low 8 bits of the read's data word; nothing when the read failed.
[[nodiscard]] std::optional<int> ReadEepromByteValue(TFensterSteuerung& bus, int address);

// Writes an EEPROM byte, gives the controller the settle time and reads the byte back; false
// when the read-back fails or differs. The caller enables EEPROM writes first.
[[nodiscard]] bool WriteEepromByteVerified(TFensterSteuerung& bus, Clock& clock, int address,
                                           int value);

enum class WriteBackOutcome { Written, Cancelled, VerificationFailed };

class EepromPages {
public:
    EepromPages(TFensterSteuerung& bus, Clock& clock);

    // The dialog opens on `page` for the controller of the open controller window: nothing is
    // pending and only this page counts as shown.
    [[nodiscard]] EepromPageView open(int page, int variantByte, int controllerType,
                                      const QString& programDirectory);
    // Another page chosen: it counts as shown from now on.
    [[nodiscard]] EepromPageView show(int page);
    // The page read again.
    [[nodiscard]] EepromPageView read(int page);
    // Writes the checksums of pages 0 and 1 where they were shown, with the write enable and a
    // read-back of each byte; a cancel or a failed verification is reported to the user.
    [[nodiscard]] WriteBackOutcome writeBack(EepromFlowHost& host);

private:
    static constexpr int kNothingPending = 300;

    TFensterSteuerung& m_bus;
    Clock& m_clock;
    int m_variantByte = 0xAA;
    int m_controllerType = 1;
    QString m_programDirectory;
    std::array<int, kEepromPageCount> m_checksums{};
    std::array<bool, kEepromPageCount> m_shown{};
    std::array<int, kEepromPageCount * kEepromPageSize> m_pending{};
};
