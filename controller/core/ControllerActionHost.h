// What the controller window's commands and setting edits need from the window: the questions
// and messages, the refresh timer and the closing-roller test's timer.
#pragma once

class UserMessages;

class ControllerActionHost {
public:
    virtual ~ControllerActionHost() = default;
    [[nodiscard]] virtual UserMessages& messages() = 0;
    virtual void stopRefreshTimer() = 0;
    virtual void startRefreshTimer() = 0;
    virtual void startRollerTimer() = 0;
    virtual void stopRollerTimer() = 0;
    [[nodiscard]] virtual bool rollerTimerActive() const = 0;
};
