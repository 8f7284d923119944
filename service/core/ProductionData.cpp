#include "ProductionData.h"

#include "buslink/ParameterTable.h"
#include "buslink/Veltradt.h"
#include "texts/Sprachen.h"

namespace {

QString version(int major, int minor)
{
    return HexDigits(major, 1) + u'.' + HexDigits(minor, 2);
}

const QList<EepromField>& fields()
{
    static const QList<EepromField> kFields = {
        {"lblVariante", {0x00}, [](const auto& b) { return HexDigits(b[0x00], 2); }},
        {"lbl298er", {0x01}, [](const auto& b) { return HexDigits(b[0x01], 2); }},
        {"lblSW", {0x02, 0x03}, [](const auto& b) { return version(b[0x03], b[0x02]); }},
        {"lblICTdatum", {0x04, 0x05, 0x06}, IctDateText},
        {"lblLfdNr", {0x08, 0x07}, IctNumberText},
        {"lblPruefgeraet", {0x09, 0x0A}, IctTesterText},
        {"lblIObyte", {0x0B}, [](const auto& b) { return HexDigits(b[0x0B], 2); }},
        {"lblArtikelNr",
         {0x17, 0x18, 0x19, 0x1A},
         [](const auto& b) {
             return ArticleText(uint32_t(b[0x17]) << 24 | uint32_t(b[0x18]) << 16 |
                                uint32_t(b[0x19]) << 8 | uint32_t(b[0x1A]));
         }},
        {"lblSNr",
         {0x12, 0x13, 0x14, 0x16, 0x15},
         [](const auto& b) {
             return HexDigits(b[0x12], 2) + u' ' + HexDigits(b[0x14] & 0x0F, 1) +
                    HexDigits(b[0x13], 2) + u' ' + HexDigits(b[0x16], 2) + HexDigits(b[0x15], 2);
         }},
        {"lblHW",
         {0x10, 0x11},
         [](const auto& b) { return HexDigits(b[0x11], 2) + HexDigits(b[0x10], 2); }},
    };
    return kFields;
}

} // namespace

ProductionFields ReadProductionData(TFensterSteuerung& bus)
{
    ProductionFields shown = ReadEepromFields(bus, fields());
    int software = 0;
    const bool read =
        bus.GetParameterValue(ParSoftwareVersion, software) == TFensterSteuerung::ParOk;
    shown << std::pair{QStringLiteral("lblSW1"),
                       read ? version(software >> 8 & 0xFF, software & 0xFF) : QStringLiteral("?")};
    return shown;
}

QString IctDateText(const QMap<int, int>& b)
{
    return HexDigits(b[0x06] & 0x0F, 1) + HexDigits(b[0x05], 2) + QStringLiteral(", ") +
           HexDigits(b[0x04], 2) + QStringLiteral(" / ") + HexDigits((b[0x06] >> 4) & 0x0F, 1);
}

QString IctNumberText(const QMap<int, int>& b)
{
    return HexDigits(b[0x08], 2) + HexDigits(b[0x07], 2);
}

QString IctTesterText(const QMap<int, int>& b)
{
    return HexDigits(b[0x09], 2) + QStringLiteral(" / ") + HexDigits(b[0x0A], 2);
}

QString ProductionFieldText(const char* label, const QMap<int, int>& bytes)
{
    for (const EepromField& field : fields()) {
        if (qstrcmp(field.label, label) == 0)
            return field.text(bytes);
    }
    return {};
}

QString FinalTestCaption(const char* label)
{
    struct Caption {
        const char* label;
        const char* prefix;
        int text;
    };
    static constexpr Caption kCaptions[] = {{"lblArtikelNr", "Veltra ", 14},
                                            {"lblSNr", "", 218},
                                            {"lblHW", "", 294},
                                            {"lblSW1", "", 235}};
    for (const Caption& caption : kCaptions) {
        if (qstrcmp(caption.label, label) == 0)
            return QString::fromLatin1(caption.prefix) + LanguageText(caption.text) + u':';
    }
    return {};
}

int ProductionDataExtraWidth(int language)
{
    if (language == Italian)
        return 100;
    if (language == Spanish)
        return 165;
    return 0;
}
