#include "BackupFlows.h"

#include "BackupRead.h"
#include "BackupTexts.h"
#include "SettingsRestore.h"
#include "buslink/Veltradt.h"
#include "service/core/EepromFlowHost.h"
#include "texts/UserMessages.h"

BackupFlows::BackupFlows(TFensterSteuerung& bus, Clock& clock, EepromFlowHost& host,
                         QString programDirectory)
    : m_bus(bus), m_clock(clock), m_host(host), m_programDirectory(std::move(programDirectory))
{}

bool BackupFlows::save(const QString& path)
{
    return BackupRead(m_bus, m_host).save({m_bus.GetWindowAddress()}, path);
}

std::optional<BackupFlows::Pair> BackupFlows::load(const QString& path)
{
    const BackupFileRead read = ReadBackupFileAt(path);
    if (read.error != BackupFileError::None) {
        m_host.messages().error(RefusedFileText(read, path));
        return std::nullopt;
    }
    const auto now = BackupRead(m_bus, m_host).read({m_bus.GetWindowAddress()});
    if (!now)
        return std::nullopt;
    const ControllerBackup* saved = EntryFor(read.file, now->first().identity);
    if (!saved) {
        m_host.messages().error(
            BackupLanguageText(BackupText::NotInBackup).arg(now->first().identity.busAddress));
        return std::nullopt;
    }
    return Pair{read.file.saved, *saved, now->first()};
}

std::optional<Comparison> BackupFlows::compare(const QString& path)
{
    const std::optional<Pair> pair = load(path);
    if (!pair)
        return std::nullopt;
    const ControllerIdentity& now = pair->now.identity;
    const QStringList descriptions =
        EepromDescriptionLines(now.variantByte, now.controllerType, m_programDirectory);
    return Comparison{pair->savedAt, pair->saved.identity,
                      CompareWithBackup(pair->saved, pair->now, descriptions)};
}

bool BackupFlows::restore(const QString& path)
{
    const std::optional<Pair> pair = load(path);
    if (!pair)
        return false;
    return SettingsRestore(m_bus, m_clock, m_host.messages()).restore(pair->saved, pair->now);
}
