#include "StatusList.h"

#include "Tools01.h"
#include "buslink/ParameterTable.h"
#include "buslink/Veltradt.h"

bool FillStatusList(TFensterSteuerung& bus, StatusListHost& host)
{
    // With polling paused every entry, cyclic or not, is read from the controller.
    bus.PausePolling();
    bool complete = true;
    for (int index = 0; index < kParameterCount; ++index) {
        host.processEvents();
        if (host.stopped()) {
            complete = false;
            break;
        }
        TStrgItem item;
        bus.GetParameterInfo(index, item);
        int value = 0;
        const bool read = bus.GetParameterValue(index, value) == TFensterSteuerung::ParOk;
        // Word entries show four digits.
        host.showEntry(index, item.name,
                       read ? HexText(value, item.data != 0 ? 4 : 2) : QStringLiteral("?"));
    }
    bus.ResumePolling();
    return complete;
}
