#include "TelegramDecode.h"

#include "buslink/ParameterTable.h"
#include "buslink/Protocol.h"
#include "service/core/Tools01.h"
#include "texts/Sprachen.h"

#include <QDateTime>
#include <QHash>

#include <optional>

namespace {

// Mode byte and the name of the telegram, as a text id of the table.
struct ModeName {
    int mode;
    int text;
    bool monitorText; // counted from kTextBusMonitor
};
constexpr ModeName kModeNames[] = {
    {0x06, MonitorText::EepromWordRead, true},
    {0x07, MonitorText::EepromWordWrite, true},
    {0x08, MonitorText::EepromRead, true},
    {0x09, MonitorText::EepromWrite, true},
    {0x0E, MonitorText::QueryGroupUnit, true},
    {0x13, MonitorText::WindowCommand, true},
    {0x14, MonitorText::VersionWord, true},
    {0x15, MonitorText::ParameterRead, true},
    {0x16, 112, false}, // Gruppensteuergerät Status
    {0x30, MonitorText::Command, true},
    {0x40, MonitorText::StateAndEvents, true},
    {0x41, 82, false}, // Fenster öffnen
    {0x42, 87, false}, // Fenster schließen
    {0x43, MonitorText::DriveToPosition, true},
    {0x44, 88, false}, // Fenster Stopp
    {0x4F, MonitorText::KeepAlive, true},
    {0x60, 156, false}, // Notadressierung
    {0x63, 156, false},
    {0x65, MonitorText::EndEmergency, true},
    {0x76, MonitorText::SoftwareVersion, true},
};

std::optional<QString> modeName(int mode)
{
    for (const ModeName& m : kModeNames) {
        if (m.mode == mode)
            return m.monitorText ? MonitorLanguageText(m.text) : LanguageText(m.text);
    }
    return std::nullopt;
}

// The command codes of mode 30h at memory address 0: the action and the locking element.
QString commandName(int code)
{
    namespace Code = Protocol::CommandCode;
    const auto lock = [](bool locked, int element) {
        return LanguageText(locked ? 252 : 67) + u' ' + LanguageText(element);
    };
    switch (code) {
    case Code::LockLowerStrand:
        return lock(true, 246);
    case Code::UnlockLowerStrand:
        return lock(false, 246);
    case Code::LockUpperStrand:
        return lock(true, 159);
    case Code::UnlockUpperStrand:
        return lock(false, 159);
    case Code::LockFingerBolt:
        return lock(true, 98);
    case Code::UnlockFingerBolt:
        return lock(false, 98);
    case Code::DriveOpen:
        return LanguageText(16);
    case Code::DriveClose:
        return LanguageText(260);
    case Code::DriveStop:
        return LanguageText(347);
    default:
        return {};
    }
}

// The parameter-table entry a request reads, if any; the table's telegrams are fixed, so they
// are looked up once.
std::optional<int> parameterOf(int mode, int memory)
{
    static const QHash<int, int> kByTelegram = [] {
        QHash<int, int> byTelegram;
        for (int index = kParameterCount - 1; index >= 0; --index) {
            const TStrgItem item = InitialParameter(index);
            byTelegram.insert(item.mode << 16 | item.memoryAddress, index);
        }
        return byTelegram;
    }();
    const auto found = kByTelegram.constFind(mode << 16 | memory);
    return found == kByTelegram.cend() ? std::nullopt : std::optional<int>(*found);
}

int windowOf(const std::array<uint8_t, 6>& t)
{
    return t[1] >> 2;
}

int memoryOf(const std::array<uint8_t, 6>& t)
{
    return (t[1] & 3) << 8 | t[2];
}

int dataOf(const std::array<uint8_t, 6>& t)
{
    return t[3] | t[4] << 8;
}

QString bytesOf(const std::array<uint8_t, 6>& t, int count)
{
    QStringList bytes;
    for (int i = 0; i < count; ++i)
        bytes << QStringLiteral("%1").arg(t[size_t(i)], 2, 16, QChar(u'0')).toUpper();
    return bytes.join(u' ');
}

QString meaningOf(const TraceRecord& record, bool reply)
{
    const auto& request = record.request;
    const int mode = request[0];
    const int memory = memoryOf(request);
    const int value = dataOf(reply ? record.reply : request);
    if (const auto parameter = parameterOf(mode, memory); parameter && mode != 0x09) {
        const QString name = ParameterName(*parameter);
        return reply
                   ? name + QStringLiteral(" = ") + ParameterValueText(*parameter, uint16_t(value))
                   : name;
    }
    switch (mode) {
    case 0x08:
    case 0x09:
        return QStringLiteral("EEPROM %1").arg(HexText(memory, 2)) +
               (mode == 0x09 || reply ? QStringLiteral(" = ") + HexText(value & 0xFF, 2)
                                      : QString());
    case 0x30:
        return memory == 0 ? commandName(dataOf(request)) : QString();
    default:
        return {};
    }
}

} // namespace

QString MonitorLanguageText(int monitorText)
{
    return LanguageText(kTextBusMonitor + monitorText);
}

QString OutcomeText(TraceOutcome outcome)
{
    return MonitorLanguageText(MonitorText::Answered + int(outcome));
}

QString MonitorColumnTitle(int column)
{
    switch (column) {
    case ColTime:
        return LanguageText(349); // Zeit
    case ColDelta:
        return QStringLiteral("+ms");
    case ColDirection:
        return MonitorLanguageText(MonitorText::Direction);
    case ColBytes:
        return QStringLiteral("Bytes");
    case ColMode:
        return LanguageText(148); // Modus
    case ColWindow:
        return LanguageText(76); // Fenster
    case ColMemory:
        return LanguageText(4); // Adresse
    case ColData:
        return LanguageText(36); // Daten
    case ColMeaning:
        return LanguageText(26); // Beschreibung
    case ColOutcome:
        return MonitorLanguageText(MonitorText::Outcome);
    default:
        return {};
    }
}

QStringList MonitorColumnTitles()
{
    QStringList titles;
    for (int column = 0; column < kMonitorColumns; ++column)
        titles << MonitorColumnTitle(column);
    return titles;
}

QStringList MonitorLine(const TraceRecord& record, int line, std::optional<uint32_t> previousTickMs)
{
    const bool reply = line == 1;
    QStringList cells(kMonitorColumns);
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(record.wallMs);
    if (!reply) {
        cells[ColTime] = at.time().toString(QStringLiteral("HH:mm:ss.zzz"));
        if (previousTickMs)
            cells[ColDelta] = QString::number(record.tickMs - *previousTickMs);
    } else {
        cells[ColDelta] = QString::number(record.durationMs);
    }
    cells[ColDirection] = MonitorLanguageText(reply ? MonitorText::Reply : MonitorText::Request);
    const auto& bytes = reply ? record.reply : record.request;
    cells[ColBytes] = bytesOf(bytes, reply ? record.replyLength : 6);
    const int mode = record.request[0];
    const std::optional<QString> name = modeName(mode);
    cells[ColMode] = HexText(mode, 2) + (name ? u' ' + *name : QString());
    cells[ColWindow] = QString::number(windowOf(record.request));
    cells[ColMemory] = HexText(memoryOf(record.request), 3);
    // A reply that is short or fails its checksum is shown as bytes only: its data are not known.
    const bool complete =
        !reply || (record.replyLength == 6 && record.outcome != TraceOutcome::WrongChecksum);
    if (complete) {
        cells[ColData] = HexText(dataOf(bytes), 4);
        cells[ColMeaning] = meaningOf(record, reply);
    }
    if (reply)
        cells[ColOutcome] = OutcomeText(record.outcome);
    return cells;
}
