#include "StateCodes.h"

#include "ControllerState.h"

#include "service/core/Tools01.h"
#include "texts/Sprachen.h"

#include <iterator>

namespace {

constexpr int kTextWindowUnknown = 90; // "Fenster unbekannt"

// Texts of the codes 0 to 8, which mean the same on every controller.
constexpr int kCommonStateTexts[] = {
    381, // Fenster ist verriegelt
    376, // Fenster entriegelt
    378, // Fenster ist entriegelt
    384, // Fenster öffnet
    383, // Fenster nicht vollständig geöffnet
    382, // Fenster zum Lüften geöffnet
    385, // Fenster schließt
    386, // Fenster verriegelt
    376, // Fenster entriegelt
};
constexpr int kCommonStateCount = int(std::size(kCommonStateTexts));

QString codeText(int code, int textId)
{
    return QString::asprintf("Z%02d - ", code) + LanguageText(textId);
}

QString undefinedStateText()
{
    return codeText(kCommissioningStateCode, 76) + QStringLiteral(" ") + LanguageText(358);
}

QString unknownStateText(int code)
{
    return LanguageText(kTextWindowUnknown) + QString::number(code);
}

StateCodeRow row(QString text, LockMark strands, LockMark fingerBolt, std::optional<int> cls)
{
    return {std::move(text), strands, strands, fingerBolt, cls};
}

} // namespace

StateCodeRow StateCodeRowFor(int code, int controllerType)
{
    using enum LockMark;
    switch (code) {
    case 0:
        return row(codeText(0, 381), Locked, Locked, 0);
    case 3:
    case 4:
    case 5:
    case 6:
        return row(codeText(code, kCommonStateTexts[code]), Unlocked, Locked, 2);
    case 9:
        return row(codeText(9, controllerType >= 2 ? 384 : 379), Unlocked, Unlocked, 0);
    case 10:
        if (controllerType <= 2)
            return row(codeText(10, 380), Unlocked, Unlocked, 1);
        return row(codeText(10, 426), Unlocked, Unlocked, 2);
    case 11:
        return row(codeText(11, controllerType <= 2 ? 386 : 385), Unlocked, Unlocked, 1);
    case kCommissioningStateCode:
        return row(undefinedStateText(), Unchanged, Unchanged, std::nullopt);
    default:
        if (code >= 0 && code < kCommonStateCount)
            return row(codeText(code, kCommonStateTexts[code]), Unchanged, Unchanged, std::nullopt);
        return row(unknownStateText(code), Unchanged, Unchanged, std::nullopt);
    }
}

QString SlaveStateText(int statusWord)
{
    const int code = statusWord & 0x0F;
    if (code < kCommonStateCount)
        return codeText(code, kCommonStateTexts[code]);
    switch (code) {
    case 9:
        return codeText(9, 379);
    case 10:
        return codeText(10, 426);
    case 11:
        return codeText(11, 385);
    case kCommissioningStateCode:
        return undefinedStateText();
    default:
        return unknownStateText(code);
    }
}

QString CommissioningStateText()
{
    return codeText(kCommissioningStateCode, 427);
}

QString ReversalText(int code)
{
    switch (code) {
    case 0:
        return LanguageText(123);
    case 1:
        return QStringLiteral("EKS-SW");
    case 2:
        return LanguageText(200);
    case 3:
        return LanguageText(360);
    case 4:
        return QStringLiteral("EKS ") + LanguageText(361);
    case 5:
        return LanguageText(362);
    case 6:
        return LanguageText(388);
    default:
        return HexText(code, 2);
    }
}

SafetyEdgeCondition SafetyEdgeConditionFor(int code)
{
    const auto fault = [](int textId) { return LanguageText(textId) + QStringLiteral("!"); };
    switch (code) {
    case 1:
        return {QString(), 1};
    case 2:
        return {QString(), 2};
    case 3:
        return {fault(199), 2}; // Schaltleiste unterbrochen
    case 4:
        return {fault(202), 2}; // Schaltleiste Kurzschluss
    default:
        return {fault(365), 2}; // Schaltleistenzustand unzulässig
    }
}

std::optional<QString> DriveSidesText(int value, bool mirrored)
{
    constexpr int kLeft = 141;
    constexpr int kRight = 189;
    switch (value) {
    case 1:
        return LanguageText(mirrored ? kRight : kLeft);
    case 2:
        return LanguageText(142); // links+rechts
    case 3:
        return LanguageText(mirrored ? kLeft : kRight);
    default:
        return std::nullopt;
    }
}
