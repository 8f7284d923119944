#include "EventList.h"

#include "Tools01.h"
#include "buslink/ParameterTable.h"
#include "buslink/Veltradt.h"
#include "texts/Sprachen.h"

namespace {

constexpr int kSlaveEventsParameter = 44;
constexpr int kWideLanguage = French;

// The texts of the bits, 0..15.
constexpr int kBitTexts[kEventBits] = {118, 249, 243, 134, 133, 30,  244, 388,
                                       245, 120, 75,  149, 202, 203, 262, 3};

QString masterSlave(int masterText, int slaveText)
{
    return LanguageText(masterText) + QStringLiteral(" (M) / ") + LanguageText(slaveText) +
           QStringLiteral(" (S)");
}

} // namespace

EventWords ReadEventWords(TFensterSteuerung& bus)
{
    EventWords words;
    const bool master =
        bus.GetParameterValue(ParEventBits, words.master) == TFensterSteuerung::ParOk;
    const bool slave =
        bus.GetParameterValue(kSlaveEventsParameter, words.slave) == TFensterSteuerung::ParOk;
    words.read = master && slave;
    return words;
}

QString EventListCaption(const EventWords& words)
{
    return QStringLiteral(" %1 (%2 / %3): ")
        .arg(LanguageText(6), HexText(words.master, 4), HexText(words.slave, 4));
}

QStringList EventBitTexts(int controllerType)
{
    QStringList texts;
    for (const int text : kBitTexts)
        texts << LanguageText(text);
    if (ShowsSlaveColumn(controllerType)) {
        texts[0] = masterSlave(435, 118);
        texts[2] = masterSlave(436, 243);
    }
    return texts;
}

QStringList EventBitLabels()
{
    // Bit 13 has the label of the design's second row.
    return {QStringLiteral("Label1"),  QStringLiteral("Label3"),  QStringLiteral("Label4"),
            QStringLiteral("Label5"),  QStringLiteral("Label6"),  QStringLiteral("Label7"),
            QStringLiteral("Label8"),  QStringLiteral("Label9"),  QStringLiteral("Label10"),
            QStringLiteral("Label11"), QStringLiteral("Label12"), QStringLiteral("Label13"),
            QStringLiteral("Label14"), QStringLiteral("Label2"),  QStringLiteral("Label15"),
            QStringLiteral("Label16")};
}

int EventListWidth(int language)
{
    const bool wide = language == kWideLanguage || language < 0 || language >= kLanguageCount;
    return wide ? 600 : 500;
}
