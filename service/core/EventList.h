// The event list's contents: the sixteen event bits of the controller and of a PAF master's
// slave, the caption with both words, the bit texts and the layout by controller type.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TFensterSteuerung;

constexpr int kEventBits = 16;

struct EventWords {
    int master = 0;
    int slave = 0;
    // Both came from the controller; else the failed one is the cached value.
    bool read = true;
};
// Parameters 4 and 44 as the access object delivers them: a failed read gives the cached value.
[[nodiscard]] EventWords ReadEventWords(TFensterSteuerung& bus);
// " Aktive Ereignisse (0005h / 0000h): ".
[[nodiscard]] QString EventListCaption(const EventWords& words);
// The texts of bits 0..15; a PAF master names the master's and the slave's meaning of bits 0
// and 2.
[[nodiscard]] QStringList EventBitTexts(int controllerType);
// The label of each bit's text, bits 0..15.
[[nodiscard]] QStringList EventBitLabels();
// Only a PAF master shows the slave column.
[[nodiscard]] constexpr bool ShowsSlaveColumn(int controllerType)
{
    return controllerType == 8;
}
// The dialog's width in the current language.
[[nodiscard]] int EventListWidth(int language);
