#include "GroupUnitSettings.h"

#include "GroupUnitMappings.h"
#include "buslink/Protocol.h"
#include "buslink/Veltradt.h"
#include "platform/Clock.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

namespace {

// The unit is given this long between two exchanges.
constexpr uint32_t kPauseMs = 50;

namespace UnitTelegram {
constexpr int Setup = 0x0E;
constexpr int VersionWord = 0x14;
constexpr int Status = 0x16;
} // namespace UnitTelegram
constexpr int kSetupData = 0x0100;

namespace Byte {
constexpr int AddressingRuns = 0x20;
constexpr int SoftwareFlashes = 0x21;
constexpr int WindowsDetected = 0x2C;
constexpr int DrivePause = 0x100;
} // namespace Byte

// The EEPROM byte of each list setting.
constexpr int kListByte[kGroupUnitLists] = {0x2D, 0x30, 0x35, 0x31, 0x32};
// The entries of each list; X16 has one without the extended function numbering.
int entriesOf(GroupUnitList list, bool extended)
{
    switch (list) {
    case GapWidth:
        return 10;
    case Interval:
        return int(kIntervalMinutes.size());
    case AutomaticTime:
        return int(kAutomaticSeconds.size());
    case InputX16:
        return extended ? kInputFunctions : 1;
    default:
        return kInputFunctions;
    }
}

int indexOf(GroupUnitList list, int value, bool extended)
{
    switch (list) {
    case GapWidth:
        return GapWidthIndex(value);
    case Interval:
        return IntervalIndex(value);
    case AutomaticTime:
        return AutomaticTimeIndex(value);
    default:
        return InputFunctionIndex(value, extended, entriesOf(list, extended));
    }
}

int valueOf(GroupUnitList list, int index, bool extended)
{
    switch (list) {
    case GapWidth:
        return GapWidthValue(index);
    case Interval:
        return IntervalValue(index);
    case AutomaticTime:
        return AutomaticTimeValue(index);
    case InputX15:
        return X15FunctionValue(index, extended);
    default:
        return X16FunctionValue(index, extended);
    }
}

} // namespace

GroupUnitSettings::GroupUnitSettings(TFensterSteuerung& bus, Clock& clock)
    : m_bus(bus), m_clock(clock)
{}

std::optional<int> GroupUnitSettings::exchange(int mode, int memoryAddress, int data)
{
    int field = MakeBusAddress(0, memoryAddress);
    if (m_bus.SendTelegram(mode, field, data) != 0)
        return std::nullopt;
    return data;
}

std::optional<int> GroupUnitSettings::readByte(int memoryAddress)
{
    // The value is the reply's data word.
    return exchange(Protocol::EepromReadByte, memoryAddress, 0);
}

bool GroupUnitSettings::writeByte(int memoryAddress, int value)
{
    return exchange(Protocol::EepromWriteByte, memoryAddress, value).has_value();
}

GroupUnitReading GroupUnitSettings::read()
{
    GroupUnitReading reading;
    // The status, once more after a failure.
    std::optional<int> status = exchange(UnitTelegram::Status, 0, 0);
    m_clock.sleepMs(kPauseMs);
    if (!status) {
        status = exchange(UnitTelegram::Status, 0, 0);
        reading.complete = status.has_value();
    }
    if (status)
        reading.status = QStringLiteral("%1").arg(*status, 2, 16, QChar(u'0')).toUpper() + u'h';
    const std::pair<QString*, int> counters[] = {{&reading.addressingRuns, Byte::AddressingRuns},
                                                 {&reading.softwareFlashes, Byte::SoftwareFlashes},
                                                 {&reading.windowsDetected, Byte::WindowsDetected}};
    for (const auto& [text, memoryAddress] : counters) {
        m_clock.sleepMs(kPauseMs);
        const std::optional<int> value = readByte(memoryAddress);
        if (value)
            *text = QString::number(*value);
        else
            reading.complete = false;
    }
    m_clock.sleepMs(kPauseMs);
    reading.drivePause = readByte(Byte::DrivePause);
    if (reading.drivePause)
        m_drivePause = *reading.drivePause;
    else
        reading.complete = false;
    for (const GroupUnitList list : {GapWidth, Interval, AutomaticTime}) {
        m_clock.sleepMs(kPauseMs);
        readList(list, kListByte[list], reading);
    }
    m_clock.sleepMs(kPauseMs);
    if (!exchange(UnitTelegram::Setup, 0, kSetupData))
        reading.complete = false;
    m_clock.sleepMs(kPauseMs);
    const std::optional<int> version = exchange(UnitTelegram::VersionWord, 0, 0);
    m_extended = ExtendedFunctionNumbering(version ? std::optional<uint16_t>(uint16_t(*version))
                                                   : std::nullopt);
    reading.extendedNumbering = m_extended;
    for (const GroupUnitList list : {InputX15, InputX16}) {
        m_clock.sleepMs(kPauseMs);
        readList(list, kListByte[list], reading);
    }
    return reading;
}

void GroupUnitSettings::readList(GroupUnitList list, int memoryAddress, GroupUnitReading& reading)
{
    const std::optional<int> value = readByte(memoryAddress);
    if (!value) {
        reading.complete = false;
        return;
    }
    if (IsNotConfigurable(*value))
        return;
    reading.enabled[list] = true;
    const int index = indexOf(list, *value, m_extended);
    // A stored value beyond the list selects nothing and counts as unchanged until a choice.
    const int shown = index < entriesOf(list, m_extended) ? index : -1;
    reading.index[list] = shown;
    m_index[list] = shown;
}

void GroupUnitSettings::apply(const GroupUnitChoice& choice, GroupUnitHost& host)
{
    int changes = 0;
    bool failed = false;
    if (choice.drivePause != m_drivePause) {
        ++changes;
        if (writeByte(Byte::DrivePause, choice.drivePause)) {
            m_drivePause = choice.drivePause;
            host.setGroupDrivePause(choice.drivePause);
        } else {
            failed = true;
        }
        m_clock.sleepMs(kPauseMs);
    }
    for (int l = 0; l < kGroupUnitLists; ++l) {
        const auto list = GroupUnitList(l);
        const int index = choice.index[l];
        if (!choice.enabled[l] || index == m_index[l] || index < 0)
            continue;
        ++changes;
        if (writeByte(kListByte[l], valueOf(list, index, m_extended)))
            m_index[l] = index;
        else
            failed = true;
        m_clock.sleepMs(kPauseMs);
    }
    if (failed)
        host.messages().error(LanguageText(299));
    else
        host.messages().notice(LanguageText(116), LanguageText(changes > 0 ? 314 : 280));
}
