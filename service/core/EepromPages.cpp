#include "EepromPages.h"

#include "Tools01.h"
#include "buslink/Veltradt.h"
#include "platform/Clock.h"
#include "texts/ProgressReporter.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

namespace {

// An unreadable byte enters the checksum as FFh.
constexpr int kUnreadable = 0xFF;

} // namespace

std::optional<ChecksumRange> PageChecksumRange(int page, int variantByte)
{
    switch (page) {
    case 0:
        return ChecksumRange{0x21, 0x2F, 0x30};
    case 1:
        return ChecksumRange{0x40, variantByte == 0x55 ? 0x68 : 0x67, 0x7E};
    default:
        return std::nullopt;
    }
}

std::optional<int> ReadEepromByteValue(TFensterSteuerung& bus, int address)
{
    int value = 0;
    if (bus.ReadEepromByte(address, value) != 0)
        return std::nullopt;
    return value & 0xFF;
}

bool WriteEepromByteVerified(TFensterSteuerung& bus, Clock& clock, int address, int value)
{
    (void)bus.WriteEepromByte(address, value);
    clock.sleepMs(kEepromWriteSettleMs);
    return ReadEepromByteValue(bus, address) == value;
}

EepromPages::EepromPages(TFensterSteuerung& bus, Clock& clock) : m_bus(bus), m_clock(clock)
{
    m_pending.fill(kNothingPending);
}

EepromPageView EepromPages::open(int page, int variantByte, int controllerType,
                                 const QString& programDirectory)
{
    m_variantByte = variantByte;
    m_controllerType = controllerType;
    m_programDirectory = programDirectory;
    m_pending.fill(kNothingPending);
    m_shown.fill(false);
    return show(page);
}

EepromPageView EepromPages::show(int page)
{
    m_shown[size_t(page)] = true;
    return read(page);
}

EepromPageView EepromPages::read(int page)
{
    EepromPageView view;
    view.page = page;
    view.descriptions = ReadDescriptions(DescriptionFileName(page, m_variantByte, m_controllerType),
                                         m_programDirectory);
    const int first = page * kEepromPageSize;
    for (int address = first; address < first + kEepromPageSize; ++address)
        view.values << ReadEepromByteValue(m_bus, address);
    if (const auto range = PageChecksumRange(page, m_variantByte)) {
        const int checksum = range->checksumOf([&view, first](int address) {
            return view.values[address - first].value_or(kUnreadable);
        });
        m_checksums[size_t(page)] = checksum;
        view.checksumLine =
            QStringLiteral("Checksum: %1  (Adressbereich %2 bis %3)")
                .arg(HexText(checksum, 2), HexText(range->first, 2), HexText(range->last, 2));
    }
    return view;
}

WriteBackOutcome EepromPages::writeBack(EepromFlowHost& host)
{
    ProgressReporter& progress = host.progress();
    progress.PrepareProgress(ProgressReporter::EepromWrite, int(m_pending.size()));
    progress.showProgress();
    for (const int page : {0, 1}) {
        if (m_shown[size_t(page)])
            m_pending[size_t(PageChecksumRange(page, m_variantByte)->checksumByte)] =
                m_checksums[size_t(page)];
    }
    m_bus.EnableEepromWrite();
    std::optional<int> failedAddress;
    bool cancelled = false;
    for (int address = 0; address < int(m_pending.size()); ++address) {
        progress.setPosition(address);
        host.processEvents();
        if (const int value = m_pending[size_t(address)];
            value < kNothingPending && !WriteEepromByteVerified(m_bus, m_clock, address, value)) {
            failedAddress = address;
            break;
        }
        if (progress.aborted()) {
            cancelled = true;
            break;
        }
    }
    progress.closeProgress();
    if (cancelled) {
        host.messages().warning(LanguageText(257), LanguageText(368));
        return WriteBackOutcome::Cancelled;
    }
    if (failedAddress) {
        host.messages().error(QStringLiteral("%1 %2 %3!\n%4")
                                  .arg(LanguageText(369))
                                  .arg(*failedAddress)
                                  .arg(LanguageText(370), LanguageText(371)));
        return WriteBackOutcome::VerificationFailed;
    }
    return WriteBackOutcome::Written;
}
