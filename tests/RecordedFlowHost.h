// An EEPROM flow's host for tests: records the messages and the progress; instead of running
// events it calls `onEvents`, where a test can press the cancel button.
#pragma once

#include "RecordedMessages.h"
#include "ScanHarness.h"
#include "service/core/EepromFlowHost.h"

#include <functional>

struct RecordedFlowHost final : EepromFlowHost {
    RecordedMessages recorded;
    RecordedProgress recordedProgress;
    std::function<void()> onEvents = [] {};
    void processEvents() override { onEvents(); }
    ProgressReporter& progress() override { return recordedProgress; }
    UserMessages& messages() override { return recorded; }
};
