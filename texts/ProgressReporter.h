// What a long flow needs of the progress dialog: prepare a kind, show it without blocking,
// set positions, notice the cancel button, close it. The dialog implements it; tests record it.
#pragma once

class ProgressReporter {
public:
    enum Kind {
        Export = 0,
        BusScan = 1,
        EepromWrite = 2,
        EmergencyAddressing = 3,
        Readdressing = 4,
        BackupRead = 5
    };

    virtual ~ProgressReporter() = default;
    virtual void PrepareProgress(int kind, int maximum) = 0;
    virtual void showProgress() = 0;
    virtual void setPosition(int position) = 0;
    [[nodiscard]] virtual bool aborted() const = 0;
    virtual void closeProgress() = 0;
};
