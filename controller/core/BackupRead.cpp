#include "BackupRead.h"

#include "BackupSettings.h"
#include "buslink/Veltradt.h"
#include "service/core/EepromFlowHost.h"
#include "service/core/EepromPages.h"
#include "service/core/ProductionData.h"
#include "service/core/Tools01.h"
#include "texts/BackupText.h"
#include "texts/ProgressReporter.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QDir>

namespace {

constexpr int kPasses = 2;
constexpr int kStepsPerController = kPasses * kEepromBytes;

QMap<int, int> byteMap(const EepromImage& bytes)
{
    QMap<int, int> map;
    for (int address = 0; address < kEepromBytes; ++address)
        map.insert(address, bytes[size_t(address)]);
    return map;
}

} // namespace

QString ToolVersionText()
{
    return QStringLiteral("Fenestrix Service " FENESTRIX_VERSION);
}

BackupRead::BackupRead(TFensterSteuerung& bus, EepromFlowHost& host) : m_bus(bus), m_host(host) {}

BackupRead::ReadOutcome BackupRead::readController(int progressBase, ControllerBackup& backup)
{
    ProgressReporter& progress = m_host.progress();
    std::array<std::array<std::optional<int>, kEepromBytes>, kPasses> passes;
    for (int pass = 0; pass < kPasses; ++pass) {
        for (int address = 0; address < kEepromBytes; ++address) {
            progress.setPosition(progressBase + pass * kEepromBytes + address);
            m_host.processEvents();
            if (progress.aborted())
                return {Outcome::Cancelled, {}};
            passes[size_t(pass)][size_t(address)] = ReadEepromByteValue(m_bus, address);
        }
    }
    // A byte the passes disagree on, or one of them could not read, is read a third time and
    // taken when that read agrees with one of the passes.
    for (int address = 0; address < kEepromBytes; ++address) {
        const std::optional<int> first = passes[0][size_t(address)];
        const std::optional<int> second = passes[1][size_t(address)];
        std::optional<int> value = first;
        if (!first || first != second) {
            const std::optional<int> third = ReadEepromByteValue(m_bus, address);
            value = third && (third == first || third == second) ? third : std::nullopt;
        }
        if (!value)
            return {Outcome::Unreadable, HexText(address, 2)};
        backup.bytes[size_t(address)] = uint8_t(*value);
    }
    int software = 0;
    if (m_bus.GetParameterValue(ParSoftwareVersion, software) != TFensterSteuerung::ParOk)
        return {Outcome::Unreadable, ParameterName(ParSoftwareVersion)};
    const QMap<int, int> bytes = byteMap(backup.bytes);
    backup.identity = {m_bus.GetWindowAddress(),
                       backup.bytes[IdentityByte::ControllerType],
                       backup.bytes[IdentityByte::Variant],
                       ProductionFieldText("lblArtikelNr", bytes),
                       ProductionFieldText("lblSNr", bytes),
                       software & 0xFFFF};
    backup.settings = SettingTexts(backup.bytes, backup.identity);
    return {Outcome::Read, {}};
}

std::optional<QList<ControllerBackup>> BackupRead::read(const QList<int>& addresses)
{
    ProgressReporter& progress = m_host.progress();
    progress.PrepareProgress(ProgressReporter::BackupRead,
                             int(addresses.size()) * kStepsPerController);
    progress.showProgress();
    const int windowAddress = m_bus.GetWindowAddress();
    QList<ControllerBackup> backups;
    ReadOutcome outcome{Outcome::Read, {}};
    for (const int address : addresses) {
        m_bus.SetWindowAddress(address);
        ControllerBackup backup;
        outcome = readController(int(backups.size()) * kStepsPerController, backup);
        if (outcome.outcome != Outcome::Read)
            break;
        backups << backup;
    }
    m_bus.SetWindowAddress(windowAddress);
    progress.closeProgress();
    switch (outcome.outcome) {
    case Outcome::Read:
        return backups;
    case Outcome::Cancelled:
        m_host.messages().warning(LanguageText(257), BackupLanguageText(BackupText::ReadCancelled));
        break;
    case Outcome::Unreadable:
        m_host.messages().error(BackupLanguageText(BackupText::Unreadable)
                                    .arg(outcome.unreadable)
                                    .arg(addresses[backups.size()]));
        break;
    }
    return std::nullopt;
}

bool BackupRead::save(const QList<int>& addresses, const QString& path)
{
    const std::optional<QList<ControllerBackup>> backups = read(addresses);
    if (!backups)
        return false;
    const BackupFile file{BackupFile::kFormatVersion, QDateTime::currentDateTime(),
                          ToolVersionText(), *backups};
    const QString shown = QDir::toNativeSeparators(path);
    if (!WriteBackupFile(file, path)) {
        m_host.messages().error(BackupLanguageText(BackupText::NotWritten).arg(shown));
        return false;
    }
    const QString text =
        addresses.size() == 1
            ? BackupLanguageText(BackupText::Saved).arg(shown)
            : BackupLanguageText(BackupText::SavedBus).arg(addresses.size()).arg(shown);
    m_host.messages().notice(BackupLanguageText(BackupText::Save), text);
    return true;
}
