#include "BackupSettings.h"

#include "BackupTexts.h"
#include "OptionLists.h"
#include "SettingBytes.h"
#include "buslink/ParameterTable.h"
#include "service/core/Tools01.h"
#include "texts/Sprachen.h"

#include <iterator>

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
constexpr int kOffText = 18;
constexpr int kOnText = 56;
constexpr int kDimmedText = 105;
// The window type radio items 1..4.
constexpr int kWindowTypeTexts[] = {46, 213, 47, 217};

QString openingWidth(const EepromImage& bytes, const ControllerIdentity& identity)
{
    const int type = identity.controllerType;
    const bool longChain =
        (type == 3 || type == 4) && (bytes[SettingByte::LongChain] & kLongChainBit);
    const QList<int> widths = OpeningWidths(type, identity.softwareVersion, longChain,
                                            bytes[SettingByte::MaximumOpeningWidth] == 1);
    const int position = bytes[SettingByte::OpeningWidth] - 1;
    if (position < 0 || position >= widths.size())
        return HexText(bytes[SettingByte::OpeningWidth], 2);
    return QStringLiteral("%1 mm").arg(widths[position]);
}

QString pwmLevel(int stored)
{
    return QStringLiteral("%1V").arg(kHighestPwmVolts - ShownPwmLevel(stored));
}

QString choice(int stored, std::initializer_list<int> texts)
{
    if (stored < int(texts.size()))
        return LanguageText(texts.begin()[stored]);
    return HexText(stored, 2);
}

} // namespace

const QList<int>& SettingAddresses()
{
    static const QList<int> kAddresses = {
        SettingByte::LongChain,         SettingByte::LockThresholdLow,
        SettingByte::LockThresholdHigh, SettingByte::UndervoltageLow,
        SettingByte::UndervoltageHigh,  SettingByte::OpeningWidth,
        SettingByte::AutomaticLocking,  SettingByte::HandleLed,
        SettingByte::PwmClosing,        SettingByte::PwmOpening,
        SettingByte::WindowType,        SettingByte::SealPressure};
    return kAddresses;
}

bool IsSettingByte(int address)
{
    return SettingAddresses().contains(address);
}

QString SettingName(int address)
{
    switch (address) {
    case SettingByte::LongChain:
        return LanguageText(kLongChainText);
    case SettingByte::LockThresholdLow:
        return ParameterName(kLockThresholdLowParameter);
    case SettingByte::LockThresholdHigh:
        return ParameterName(kLockThresholdHighParameter);
    case SettingByte::UndervoltageLow:
        return ParameterName(kUndervoltageLowParameter).trimmed();
    case SettingByte::UndervoltageHigh:
        return ParameterName(kUndervoltageHighParameter).trimmed();
    case SettingByte::OpeningWidth:
        return BackupLanguageText(BackupText::OpeningWidth);
    case SettingByte::AutomaticLocking:
        return ParameterName(kAutomaticLockingParameter);
    case SettingByte::HandleLed:
        return LanguageText(kHandleLedText);
    case SettingByte::PwmClosing:
        return LanguageText(kPwmText) + u' ' + LanguageText(kPwmClosingText);
    case SettingByte::PwmOpening:
        return LanguageText(kPwmText) + u' ' + LanguageText(kPwmOpeningText);
    case SettingByte::WindowType:
        return LanguageText(kWindowTypeText);
    case SettingByte::SealPressure:
        return LanguageText(kSealPressureText);
    default:
        return {};
    }
}

QString SettingValueText(int address, const EepromImage& bytes, const ControllerIdentity& identity)
{
    const int stored = bytes[size_t(address)];
    switch (address) {
    case SettingByte::OpeningWidth:
        return openingWidth(bytes, identity);
    case SettingByte::AutomaticLocking:
        return choice(stored, {kOffText, kOnText});
    case SettingByte::HandleLed:
        return choice(stored, {kOffText, kOnText, kDimmedText});
    case SettingByte::PwmClosing:
    case SettingByte::PwmOpening:
        return pwmLevel(stored);
    case SettingByte::WindowType:
        if (stored >= 1 && stored <= int(std::size(kWindowTypeTexts)))
            return LanguageText(kWindowTypeTexts[stored - 1]);
        return HexText(stored, 2);
    case SettingByte::LockThresholdLow:
    case SettingByte::LockThresholdHigh:
    case SettingByte::UndervoltageLow:
    case SettingByte::UndervoltageHigh:
        return QString::number(stored);
    default:
        return HexText(stored, 2);
    }
}

QList<SettingText> SettingTexts(const EepromImage& bytes, const ControllerIdentity& identity)
{
    QList<SettingText> texts;
    for (const int address : SettingAddresses())
        texts << SettingText{address, SettingName(address),
                             SettingValueText(address, bytes, identity)};
    return texts;
}

bool IsDeviceByte(int address)
{
    return address <= kLastProductionByte ||
           (address >= kFirstCounterByte && address <= kLastCounterByte);
}
