// An EEPROM flow's host for tests: records the messages and the progress, runs no events.
#pragma once

#include "RecordedMessages.h"
#include "ScanHarness.h"
#include "service/core/EepromFlowHost.h"

struct RecordedFlowHost final : EepromFlowHost {
    RecordedMessages recorded;
    RecordedProgress recordedProgress;
    void processEvents() override {}
    ProgressReporter& progress() override { return recordedProgress; }
    UserMessages& messages() override { return recorded; }
};
