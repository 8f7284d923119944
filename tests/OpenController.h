// A controller of the simulated bus addressed as the controller window addresses it, for the
// window's flows on the virtual clock, with the requests as "mode:memory=data".
#pragma once

#include "sim/BusSetup.h"
#include "tests/QtPrint.h"
#include "tests/ScanHarness.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

struct OpenControllerTest : ::testing::Test {
    explicit OpenControllerTest(const BusSetup& setup = DefaultBusSetup()) : h(setup) {}

    void SetUp() override { SetCurrentLanguage(German); }
    void open(int address)
    {
        ASSERT_TRUE(h.pc.Connect(19200, 1, 150));
        h.pc.SetWindowAddress(address);
        h.ports.requests.clear();
    }
    QStringList telegrams() const
    {
        QStringList out;
        for (const TracedRequest& r : h.ports.requests)
            out << requestText(r);
        return out;
    }
    SimulatedController& controller(int address) { return *h.bus.controllerAt(address); }

    ScanHarness h;
};
