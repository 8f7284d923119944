// The controller window's commands without widgets: locks, the drive jog, the window commands,
// the mode button with the zero-position sequence and the closing-roller test.
#pragma once

#include "ControllerActionHost.h"
#include "ControllerRefresh.h"
#include "ControllerState.h"

class Clock;
class TFensterSteuerung;

enum class JogDirection { Open, Close };
enum class WindowCommand { Open, Close, Stop, OpenFully };

class ControllerCommands {
public:
    ControllerCommands(TFensterSteuerung& bus, ControllerState& state, ControllerActionHost& host,
                       Clock& clock);

    // A roller strand button: the command and the locking indicator of the commanded state.
    [[nodiscard]] RefreshResult lockStrand(LockElement strand, bool locked);
    // A finger-bolt button: the bolt command, or the closing-roller test's start ("unlock") and
    // stop ("lock") on chain types in commissioning.
    [[nodiscard]] RefreshResult fingerBoltButton(bool locked);

    // The jog of every type but 7 runs while a pointer button is held: the press pauses polling
    // and the refresh and starts the drive, the release stops it twice, 40 ms apart.
    void jogPressed(JogDirection direction);
    void jogReleased();
    // The jog of type 7 runs from one click to the next; other types ignore the click.
    void jogClicked(JogDirection direction);
    // The window closes: a jog still held is stopped as its release would.
    void endHeldJog();

    void windowCommand(WindowCommand command);

    // The mode button; the button's caption and enabled state afterwards, nothing after "No".
    [[nodiscard]] ControllerView modeButton();

    // One tick of the closing-roller test's timer.
    [[nodiscard]] RefreshResult rollerTestTick();
    // The window closes: the test ends without a further command and the next opening is idle.
    void endRollerTest();

private:
    [[nodiscard]] bool rollerTestApplies() const;
    [[nodiscard]] RefreshResult sendLockCommand(LockElement element, bool locked);
    [[nodiscard]] RefreshResult startRollerTest();
    [[nodiscard]] RefreshResult stopRollerTest();
    void send(int mode, int data);
    void sendJogStop();

    TFensterSteuerung& m_bus;
    ControllerState& m_state;
    ControllerActionHost& m_host;
    Clock& m_clock;
    // A pointer button is held on a jog button of a type other than 7.
    bool m_jogHeld = false;
};
