#include "SettingsRestore.h"

#include "BackupSettings.h"
#include "buslink/ParameterTable.h"
#include "buslink/Veltradt.h"
#include "service/core/EepromFields.h"
#include "service/core/EepromPages.h"
#include "service/core/Tools01.h"
#include "texts/BackupText.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <algorithm>

namespace {

constexpr int kChecksumWarningText = 371;

QString changeLine(const ByteChange& change, const QString& from, const QString& to)
{
    return QStringLiteral("%1 %2: %3 → %4")
        .arg(HexText(change.address, 2), SettingName(change.address), from, to);
}

QString checksumLine(const ByteChange& change)
{
    return QStringLiteral("%1: %2 → %3")
        .arg(HexText(change.address, 2), HexText(change.from, 2), HexText(change.to, 2));
}

bool inChecksumRange(int address, int variantByte)
{
    for (const int page : {0, 1}) {
        const ChecksumRange range = *PageChecksumRange(page, variantByte);
        if ((address >= range.first && address <= range.last) || address == range.checksumByte)
            return true;
    }
    return false;
}

} // namespace

RestorePlan PlanRestore(const ControllerBackup& saved, const ControllerBackup& now)
{
    RestorePlan plan;
    const ControllerIdentity& from = saved.identity;
    const ControllerIdentity& to = now.identity;
    if (from.controllerType != to.controllerType || from.variantByte != to.variantByte) {
        plan.refusal = RestoreRefusal::OtherType;
        return plan;
    }
    if ((from.softwareVersion >> 8) != (to.softwareVersion >> 8)) {
        plan.refusal = RestoreRefusal::OtherSoftware;
        return plan;
    }
    EepromImage result = now.bytes;
    for (const int address : SettingAddresses()) {
        const int wanted = saved.bytes[size_t(address)];
        if (wanted == now.bytes[size_t(address)])
            continue;
        plan.settings << ByteChange{address, now.bytes[size_t(address)], wanted};
        result[size_t(address)] = uint8_t(wanted);
    }
    // The checksums of pages 0 and 1 as the written bytes make them, where they differ from the
    // stored ones; a stale one is mended even when no setting differs, so that a restore stopped
    // at a checksum is finished by restoring again.
    for (const int page : {0, 1}) {
        const ChecksumRange range = *PageChecksumRange(page, to.variantByte);
        const int checksum =
            range.checksumOf([&result](int address) { return result[size_t(address)]; });
        if (checksum != now.bytes[size_t(range.checksumByte)])
            plan.checksums << ByteChange{range.checksumByte, now.bytes[size_t(range.checksumByte)],
                                         checksum};
    }
    return plan;
}

QString RefusalText(const RestorePlan& plan, const ControllerBackup& saved,
                    const ControllerBackup& now)
{
    const ControllerIdentity& from = saved.identity;
    const ControllerIdentity& to = now.identity;
    switch (plan.refusal) {
    case RestoreRefusal::OtherType:
        return BackupLanguageText(BackupText::OtherType)
            .arg(from.controllerType)
            .arg(HexDigits(from.variantByte, 2))
            .arg(to.controllerType)
            .arg(HexDigits(to.variantByte, 2));
    case RestoreRefusal::OtherSoftware:
        return BackupLanguageText(BackupText::OtherSoftware)
            .arg(ParameterValueText(ParSoftwareVersion, uint16_t(from.softwareVersion)),
                 ParameterValueText(ParSoftwareVersion, uint16_t(to.softwareVersion)));
    case RestoreRefusal::None:
        break;
    }
    return {};
}

QString ChangeLines(const QList<ByteChange>& changes, const ControllerBackup& saved,
                    const ControllerBackup& now)
{
    QStringList lines;
    for (const ByteChange& change : changes) {
        if (IsSettingByte(change.address))
            lines << changeLine(change, SettingValueText(change.address, now.bytes, now.identity),
                                SettingValueText(change.address, saved.bytes, saved.identity));
        else
            lines << checksumLine(change);
    }
    return lines.join(u'\n');
}

SettingsRestore::SettingsRestore(TFensterSteuerung& bus, Clock& clock, UserMessages& messages)
    : m_bus(bus), m_clock(clock), m_messages(messages)
{}

bool SettingsRestore::restore(const ControllerBackup& saved, const ControllerBackup& now)
{
    const RestorePlan plan = PlanRestore(saved, now);
    if (plan.refusal != RestoreRefusal::None) {
        m_messages.error(RefusalText(plan, saved, now));
        return false;
    }
    const QString restore = BackupLanguageText(BackupText::Restore);
    if (plan.settings.isEmpty() && plan.checksums.isEmpty()) {
        m_messages.notice(restore, BackupLanguageText(BackupText::NothingToRestore));
        return true;
    }
    const QString question = BackupLanguageText(BackupText::RestoreList) + QStringLiteral("\n\n") +
                             ChangeLines(plan.settings + plan.checksums, saved, now) +
                             QStringLiteral("\n\n") +
                             BackupLanguageText(BackupText::RestoreQuestion);
    if (!m_messages.confirm(question, UserMessages::Buttons::YesNo))
        return false;

    QList<ByteChange> written;
    if (const std::optional<ByteChange> failed = write(plan, written)) {
        QString text =
            BackupLanguageText(BackupText::RestoreStopped).arg(HexText(failed->address, 2));
        if (written.isEmpty()) {
            text += u'\n' + BackupLanguageText(BackupText::NothingWritten);
        } else {
            text += QStringLiteral("\n\n") + BackupLanguageText(BackupText::AlreadyWritten) +
                    u'\n' + ChangeLines(written, saved, now);
        }
        // The byte that failed may hold anything now; a checksummed page may not match any more.
        const auto checksummed = [&now](const ByteChange& change) {
            return inChecksumRange(change.address, now.identity.variantByte);
        };
        if (checksummed(*failed) || std::any_of(written.begin(), written.end(), checksummed))
            text += QStringLiteral("\n\n") + LanguageText(kChecksumWarningText);
        m_messages.error(text);
        return false;
    }
    m_messages.notice(restore, BackupLanguageText(BackupText::Restored) + u'\n' +
                                   ChangeLines(written, saved, now));
    return true;
}

std::optional<ByteChange> SettingsRestore::write(const RestorePlan& plan,
                                                 QList<ByteChange>& written)
{
    m_bus.EnableEepromWrite();
    for (const QList<ByteChange>* bytes : {&plan.settings, &plan.checksums}) {
        for (const ByteChange& change : *bytes) {
            if (!WriteEepromByteVerified(m_bus, m_clock, change.address, change.to))
                return change;
            written << change;
        }
    }
    return std::nullopt;
}
