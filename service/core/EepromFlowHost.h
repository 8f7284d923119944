// What the EEPROM flows (the write-back, the backup reads, the restore) need of the window that
// runs them: events between telegrams, the progress dialog with its cancel button, messages.
#pragma once

class ProgressReporter;
class UserMessages;

class EepromFlowHost {
public:
    virtual ~EepromFlowHost() = default;
    // Lets the progress dialog's cancel button be pressed; called once per address.
    virtual void processEvents() = 0;
    [[nodiscard]] virtual ProgressReporter& progress() = 0;
    [[nodiscard]] virtual UserMessages& messages() = 0;
};
