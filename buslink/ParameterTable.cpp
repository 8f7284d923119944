#include "ParameterTable.h"

#include "Protocol.h"
#include "texts/Sprachen.h"

#include <array>
#include <utility>

namespace {

constexpr bool no = false;
constexpr bool yes = true;
// The modes of the table's telegrams.
constexpr uint16_t par = Protocol::ParameterRead;
constexpr uint16_t eep = Protocol::EepromReadByte;
constexpr uint16_t sta = Protocol::StatusAndEvents;
constexpr uint16_t ver = Protocol::SoftwareVersion;

struct ParameterDef {
    int textId;         // -1: the name is fixed
    const char* prefix; // put before the text
    const char* suffixOrFixed;
    uint16_t mode;
    uint16_t memoryAddress;
    uint8_t data;
    bool cyclic;
};

// clang-format off
constexpr std::array<ParameterDef, kParameterCount> kParameters{{
    {96, "", "", par,  0x000, 0, no},
    {95, "", "", par,  0x010, 0, yes},
    {23, "", "", par,  0x00F, 0, yes},
    {113, "", "", par,  0x001, 0, no},
    {74, "", "-Array", par,  0x002, 1, no},
    {100, "", "", par,  0x003, 1, no},
    {191, "", "", par,  0x013, 1, no},
    {211, "", " L", eep,  0x021, 0, yes},
    {211, "", " H", eep,  0x022, 0, yes},
    {255, "", "", par,  0x004, 1, no},
    {-1, "", "Low Vcc (low Byte)                       ", eep,  0x023, 0, yes},
    {-1, "", "Low Vcc (hight Byte)                     ", eep,  0x024, 0, yes},
    {173, "", "", par,  0x005, 1, no},
    {200, "", "", par,  0x006, 0, no},
    {165, "", " L", eep,  0x090, 0, yes},
    {165, "", " H", eep,  0x091, 0, yes},
    {164, "", " L", eep,  0x092, 0, yes},
    {164, "", " H", eep,  0x093, 0, yes},
    {128, "", "", par,  0x008, 0, yes},
    {68, "", "", par,  0x009, 0, yes},
    {135, "", "", eep,  0x037, 0, yes},
    {63, "", "", par,  0x007, 0, yes},
    {144, "", "", par,  0x00B, 1, yes},
    {136, "", "", par,  0x00C, 0, no},
    {127, "", "", par,  0x00D, 1, no},
    {201, "", "", par,  0x011, 0, no},
    {204, "", "", par,  0x00E, 0, yes},
    {44, "", "", par,  0x012, 0, no},
    {19, "", "", eep,  0x02F, 0, yes},
    {265, "", "", sta,  0x000, 1, yes},
    {254, "SW-", "", ver,  0x000, 1, yes},
    {251, "", "", par,  0x015, 0, no},
    {103, "", "", par,  0x014, 0, no},
    {229, "", "", par,  0x017, 0, no},
    {14, "lowest Byte ", "", eep,  0x01A, 0, no},
    {185, "", "", eep,  0x0A0, 0, no},
    {184, "", "", eep,  0x0A1, 0, no},
    {197, "", "", par,  0x019, 1, no},
    {198, "", "", par,  0x01A, 0, no},
    {167, "", " L", eep,  0x094, 0, yes},
    {167, "", " H", eep,  0x095, 0, yes},
    {162, "", "", eep,  0x01E, 0, no},
    {390, "", "", eep,  0x033, 0, no},
    {-1, "", "PAF-Slave Position", par,  0x01B, 1, no},
    {-1, "", "PAF-Slave Error-Array", par,  0x01C, 1, no},
    {-1, "", "PAF-Slave Status", par,  0x020, 0, no},
    {-1, "", "PAF-Slave Magnet", par,  0x021, 1, no},
    {-1, "", "maximale Kipp-Position", par,  0x019, 1, no},
    {-1, "", "AD-Wert 1 Leiste", par,  0x01E, 1, no},
    {-1, "", "AD-Wert 2 Leiste", par,  0x01F, 1, no},
    {-1, "", "AD-Wert 1 Leiste PAF Slave", par,  0x022, 1, no},
    {-1, "", "AD-Wert 2 Leiste PAF Slave", par,  0x023, 1, no},
    {-1, "", "Schaltleistentyp PAF Slave", par,  0x024, 1, no},
    {-1, "", "letzte Reversierung PAF Slave", par,  0x025, 0, no},
    {-1, "", "Anzahl Antiebe PAF Slave", par,  0x026, 1, no},
    {-1, "", "Fehler im linken oder rechten Strang", par,  0x01D, 0, no},
}};

constexpr std::pair<uint32_t, const char*> kArticles[] = {
    {0x07310020, "480102"}, {0x07310021, "480101"}, {0x07310024, "480121"},
    {0x07310026, "480132"}, {0x07310027, "480131"}, {0x07310028, "480142"},
    {0x07310029, "480141"}, {0x07310030, "480151"}, {0x07310032, "480162"},
    {0x07310033, "480161"}, {0x07310040, "480110"}, {0x20500027, "480211"},
    {0x20500030, "480213"}, {0x20500033, "480212"}, {0x20510091, "480203"},
    {0x20510911, "480203"}, {0x20510544, "480204"}, {0x20510545, "480204"},
    {0x20510547, "480202"}, {0x20510548, "480202"}, {0x20520621, "480201"},
    {0x20520726, "480201"},
};
// clang-format on

} // namespace

QString ParameterName(int index)
{
    const ParameterDef& def = kParameters.at(static_cast<size_t>(index));
    if (def.textId < 0)
        return QString::fromLatin1(def.suffixOrFixed);
    return QString::fromLatin1(def.prefix) + LanguageText(def.textId) +
           QString::fromLatin1(def.suffixOrFixed);
}

TStrgItem InitialParameter(int index)
{
    const ParameterDef& def = kParameters.at(static_cast<size_t>(index));
    TStrgItem item;
    item.value = index == 13 ? 1 : 0;
    item.memoryAddress = def.memoryAddress;
    item.mode = def.mode;
    item.data = def.data;
    item.cyclic = def.cyclic ? 1 : 0;
    item.name = ParameterName(index);
    return item;
}

QString ParameterValueText(int index, uint16_t value)
{
    if (index == ParSupplyVoltage)
        return QString::asprintf("%2.1fV", value * kVoltsPerCount);
    if (index == ParSoftwareVersion)
        return QString::asprintf("%X.%02X", value >> 8, value & 0xFF);
    return QString::number(value);
}

QString ArticleText(uint32_t code)
{
    for (const auto& [articleCode, article] : kArticles) {
        if (articleCode == code)
            return QString::fromLatin1(article);
    }
    return QStringLiteral("Error");
}

uint32_t ArticleCode(const QString& article)
{
    for (const auto& [articleCode, text] : kArticles) {
        if (article == QLatin1String(text))
            return articleCode;
    }
    return 0;
}
