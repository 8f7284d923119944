#include "BackupSettings.h"

#include "OptionLists.h"
#include "SettingBytes.h"
#include "SlowValues.h"
#include "buslink/ParameterTable.h"
#include "service/core/Tools01.h"
#include "texts/BackupText.h"
#include "texts/Sprachen.h"

#include <algorithm>

namespace {

constexpr int kLastProductionByte = 0x1A;
constexpr int kFirstCounterByte = 0x90;
constexpr int kLastCounterByte = 0x95;

// The parameter table's entries of the bytes it reads, whose names the window shows.
constexpr int kLockThresholdLowParameter = 7;
constexpr int kLockThresholdHighParameter = 8;
constexpr int kUndervoltageLowParameter = 10;
constexpr int kUndervoltageHighParameter = 11;
constexpr int kAutomaticLockingParameter = 28;

constexpr int kLongChainText = 373;
constexpr int kSealPressureText = 441;
constexpr int kPwmText = 183;
constexpr int kPwmClosingText = 261;
constexpr int kPwmOpeningText = 17;
constexpr int kHandleLedText = 53;
constexpr int kWindowTypeText = 95;
// The window type radio items 1..4.
constexpr int kWindowTypeTexts[] = {46, 213, 47, 217};

// What the window knows of the controller the bytes come from, for the values that depend on it.
ControllerState stateOf(const EepromImage& bytes, const ControllerIdentity& identity)
{
    ControllerState state;
    state.controllerType = identity.controllerType;
    state.softwareVersion = identity.softwareVersion;
    state.takeChainBit((bytes[SettingByte::LongChain] & kLongChainBit) != 0);
    return state;
}

QString openingWidth(int stored, const EepromImage& bytes, const ControllerState& state)
{
    const QList<int> widths =
        OpeningWidths(state.controllerType, state.softwareVersion, state.longChain,
                      bytes[SettingByte::MaximumOpeningWidth] == 1);
    if (stored < 1 || stored > widths.size())
        return HexText(stored, 2);
    return QStringLiteral("%1 mm").arg(widths[stored - 1]);
}

QString windowType(int stored)
{
    if (stored >= 1 && stored <= int(std::size(kWindowTypeTexts)))
        return LanguageText(kWindowTypeTexts[stored - 1]);
    return HexText(stored, 2);
}

QString pwmName(int directionText)
{
    return LanguageText(kPwmText) + u' ' + LanguageText(directionText);
}

struct KnownSetting {
    int address;
    QString (*name)();
    // The value from the stored byte, the controller's bytes and what the window knows of it.
    QString (*value)(int stored, const EepromImage& bytes, const ControllerState& state);
};

// A value worded from its stored byte alone.
template <QString (*text)(int stored)>
QString storedAs(int stored, const EepromImage&, const ControllerState&)
{
    return text(stored);
}

QString decimal(int stored)
{
    return QString::number(stored);
}

QString hex(int stored)
{
    return HexText(stored, 2);
}

QString pwmLevel(int stored, const EepromImage&, const ControllerState& state)
{
    return PwmLevelText(LimitPwmIndex(state, stored));
}

// In the order a restore writes them.
const QList<KnownSetting>& knownSettings()
{
    static const QList<KnownSetting> kSettings = {
        {SettingByte::LongChain, [] { return LanguageText(kLongChainText); }, storedAs<hex>},
        {SettingByte::LockThresholdLow, [] { return ParameterName(kLockThresholdLowParameter); },
         storedAs<decimal>},
        {SettingByte::LockThresholdHigh, [] { return ParameterName(kLockThresholdHighParameter); },
         storedAs<decimal>},
        {SettingByte::UndervoltageLow,
         [] { return ParameterName(kUndervoltageLowParameter).trimmed(); }, storedAs<decimal>},
        {SettingByte::UndervoltageHigh,
         [] { return ParameterName(kUndervoltageHighParameter).trimmed(); }, storedAs<decimal>},
        {SettingByte::OpeningWidth, [] { return BackupLanguageText(BackupText::OpeningWidth); },
         openingWidth},
        {SettingByte::AutomaticLocking, [] { return ParameterName(kAutomaticLockingParameter); },
         storedAs<OnOffText>},
        {SettingByte::HandleLed, [] { return LanguageText(kHandleLedText); },
         storedAs<HandleLedText>},
        {SettingByte::PwmClosing, [] { return pwmName(kPwmClosingText); }, pwmLevel},
        {SettingByte::PwmOpening, [] { return pwmName(kPwmOpeningText); }, pwmLevel},
        {SettingByte::WindowType, [] { return LanguageText(kWindowTypeText); },
         storedAs<windowType>},
        {SettingByte::SealPressure, [] { return LanguageText(kSealPressureText); }, storedAs<hex>},
    };
    return kSettings;
}

const KnownSetting* settingAt(int address)
{
    const QList<KnownSetting>& settings = knownSettings();
    const auto it = std::find_if(settings.begin(), settings.end(),
                                 [address](const KnownSetting& s) { return s.address == address; });
    return it == settings.end() ? nullptr : &*it;
}

} // namespace

const QList<int>& SettingAddresses()
{
    static const QList<int> kAddresses = [] {
        QList<int> addresses;
        for (const KnownSetting& setting : knownSettings())
            addresses << setting.address;
        return addresses;
    }();
    return kAddresses;
}

bool IsSettingByte(int address)
{
    return settingAt(address) != nullptr;
}

QString SettingName(int address)
{
    const KnownSetting* setting = settingAt(address);
    return setting ? setting->name() : QString();
}

QString SettingValueText(int address, const EepromImage& bytes, const ControllerIdentity& identity)
{
    const KnownSetting* setting = settingAt(address);
    if (!setting)
        return HexText(bytes[size_t(address)], 2);
    return setting->value(bytes[size_t(address)], bytes, stateOf(bytes, identity));
}

QList<SettingText> SettingTexts(const EepromImage& bytes, const ControllerIdentity& identity)
{
    QList<SettingText> texts;
    const ControllerState state = stateOf(bytes, identity);
    for (const KnownSetting& setting : knownSettings())
        texts << SettingText{setting.address, setting.name(),
                             setting.value(bytes[size_t(setting.address)], bytes, state)};
    return texts;
}

bool IsDeviceByte(int address)
{
    return address <= kLastProductionByte ||
           (address >= kFirstCounterByte && address <= kLastCounterByte);
}
