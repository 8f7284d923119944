#include "GroupUnitProductionData.h"

#include "buslink/ParameterTable.h"
#include "buslink/Veltradt.h"
#include "service/core/ProductionData.h"

namespace {

constexpr int kIctPassed = 0xAA;

QString lowerHex(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QChar(u'0'));
}

QString decimal(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 10, QChar(u'0'));
}

const QList<EepromField>& fields()
{
    static const QList<EepromField> kFields = {
        {"lblVariante", {0x00}, [](const auto& b) { return HexDigits(b[0x00], 2); }},
        {"lbl298er", {0x01}, [](const auto& b) { return HexDigits(b[0x01], 2); }},
        {"lblSW",
         {0x03, 0x02},
         [](const auto& b) { return HexDigits(b[0x03], 1) + u'.' + HexDigits(b[0x02], 2); }},
        // The unit reads the date's bytes the other way round.
        {"lblICTdatum", {0x06, 0x05, 0x04}, IctDateText},
        {"lblLfdNr", {0x08, 0x07}, IctNumberText},
        {"lblPruefgeraet", {0x09, 0x0A}, IctTesterText},
        {"lblIObyte",
         {0x0B},
         [](const auto& b) {
             return b[0x0B] == kIctPassed ? QStringLiteral("i.o.") : HexDigits(b[0x0B], 2);
         }},
        {"lblHW",
         {0x0D, 0x0C},
         [](const auto& b) { return HexDigits(b[0x0D], 2) + HexDigits(b[0x0C], 2); }},
        // The minor part in decimal.
        {"lblSWIndexICT",
         {0x0F, 0x0E},
         [](const auto& b) { return HexDigits(b[0x0F], 1) + u'.' + decimal(b[0x0E], 2); }},
        // The year in decimal, then lower-case hex digits.
        {"lblSNr",
         {0x10, 0x11, 0x12, 0x14, 0x13},
         [](const auto& b) {
             return decimal(b[0x10], 2) + u' ' + lowerHex(b[0x11] & 0x0F, 1) +
                    lowerHex(b[0x12], 2) + u' ' + lowerHex(b[0x14], 2) + lowerHex(b[0x13], 2);
         }},
        {"lblArtikelNr",
         {0x18, 0x17, 0x16, 0x15},
         [](const auto& b) {
             const uint32_t code = uint32_t(b[0x18]) << 24 | uint32_t(b[0x17]) << 16 |
                                   uint32_t(b[0x16]) << 8 | uint32_t(b[0x15]);
             return ArticleText(code); // "Error" for a number not in the table
         }},
        {"lblDatum",
         {0x22, 0x23, 0x24},
         [](const auto& b) {
             return HexDigits(b[0x22], 2) + u'.' + HexDigits(b[0x23], 2) + u'.' +
                    HexDigits(b[0x24], 2);
         }},
        {"lblZeit",
         {0x25, 0x26},
         [](const auto& b) { return HexDigits(b[0x25], 1) + u':' + HexDigits(b[0x26], 2); }},
    };
    return kFields;
}

} // namespace

FieldTexts ReadGroupUnitProductionData(TFensterSteuerung& bus)
{
    bus.SetWindowAddress(0);
    return ReadEepromFields(bus, fields());
}
