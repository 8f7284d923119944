// The controller window's commands and setting edits against the simulated default bus on the
// virtual clock: a host that records questions and timers, and the requests as short texts.
#pragma once

#include "controller/core/ControllerActionHost.h"
#include "controller/core/ControllerState.h"
#include "sim/BusSetup.h"
#include "tests/OpenController.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

struct RecordingActionHost final : ControllerActionHost {
    RecordedMessages recorded;
    QStringList timer; // "stop" and "start" of the refresh timer, in order
    bool rollerTimer = false;

    UserMessages& messages() override { return recorded; }
    void stopRefreshTimer() override { timer << QStringLiteral("stop"); }
    void startRefreshTimer() override { timer << QStringLiteral("start"); }
    void startRollerTimer() override { rollerTimer = true; }
    void stopRollerTimer() override { rollerTimer = false; }
    bool rollerTimerActive() const override { return rollerTimer; }
};

// The default bus with some EEPROM bytes of the controller at `address` changed.
inline BusSetup busWithEeprom(int address, QMap<int, uint8_t> eeprom)
{
    BusSetup setup = DefaultBusSetup();
    for (ControllerSetup& controller : setup.controllers) {
        if (controller.address == address)
            controller.eeprom.insert(eeprom);
    }
    return setup;
}

struct ActionTest : OpenControllerTest {
    using OpenControllerTest::OpenControllerTest;

    // Microseconds from the start of request `from` to the start of the request after it.
    uint64_t gapAfter(const QString& from) const
    {
        for (qsizetype i = 0; i + 1 < h.ports.requests.size(); ++i) {
            if (requestText(h.ports.requests[i]) == from)
                return h.ports.requests[i + 1].atUs - h.ports.requests[i].atUs;
        }
        ADD_FAILURE() << "no request " << from.toStdString();
        return 0;
    }

    ControllerState state;
    RecordingActionHost host;
};
