#include "GroupUnitTexts.h"

#include "GroupUnitMappings.h"
#include "texts/Sprachen.h"

namespace {

constexpr int kSecondsText = 215;
constexpr int kMinutesText = 302;
constexpr int kFunctionSelectionText = 291;
constexpr int kNoX16FunctionText = 300;
// The function texts of X15's entries 0..11.
constexpr int kFunctionTexts[kInputFunctions] = {48,  338, 339, 340, 341, 342,
                                                 343, 344, 345, 346, 347, 270};

QStringList functionEntries()
{
    QStringList entries;
    for (const int text : kFunctionTexts)
        entries << LanguageText(text);
    entries[1] += QStringLiteral(" 100%");
    return entries;
}

} // namespace

QString GroupUnitValueCaption(GroupUnitValue value)
{
    switch (value) {
    case GroupUnitValue::Status:
        return LanguageTextWithColon(112);
    case GroupUnitValue::AddressingRuns:
        return LanguageTextWithColon(10);
    case GroupUnitValue::SoftwareFlashes:
        return LanguageTextWithColon(11);
    case GroupUnitValue::WindowsDetected:
        return LanguageTextWithColon(12);
    case GroupUnitValue::DrivePause:
        break;
    }
    return LanguageTextWithColon(73);
}

QString GroupUnitListCaption(GroupUnitList list)
{
    switch (list) {
    case GapWidth:
        return LanguageTextWithColon(308);
    case Interval:
        return LanguageTextWithColon(332);
    case AutomaticTime:
        return LanguageTextWithColon(270);
    case InputX15:
        return LanguageText(kFunctionSelectionText) + QStringLiteral(" X15:");
    default:
        return LanguageText(kFunctionSelectionText) + QStringLiteral(" X16:");
    }
}

QString DrivePauseUnit()
{
    return LanguageText(kSecondsText);
}

QStringList GroupUnitListEntries(GroupUnitList list, bool extended)
{
    QStringList entries;
    switch (list) {
    case GapWidth:
        for (int percent = 10; percent <= 100; percent += 10)
            entries << QStringLiteral("%1%").arg(percent);
        break;
    case Interval:
        for (const int minutes : kIntervalMinutes)
            entries << QStringLiteral("%1 %2").arg(minutes).arg(LanguageText(kMinutesText));
        break;
    case AutomaticTime:
        for (const int seconds : kAutomaticSeconds)
            entries << QStringLiteral("%1 %2").arg(seconds).arg(LanguageText(kSecondsText));
        break;
    case InputX15:
        entries = functionEntries();
        break;
    default:
        entries << LanguageText(kNoX16FunctionText);
        if (extended)
            entries << functionEntries().mid(1);
        break;
    }
    return entries;
}
