// What the controller window knows beyond one showing: the controller type and variant, the
// decoded state, the last-value memories and the counters. One object for the whole run.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// Parameter 0 while the controller is in commissioning.
constexpr int kCommissioningStateCode = 15;
// Variant byte 55h; any other value counts as AAh.
constexpr int kVariant55 = 0x55;
// Software 7.00: extended commissioning and the round opening widths of the chain types.
constexpr int kSoftware700 = 0x0700;

struct ControllerState {
    // Cleared on closing; the next opening sets the layout up again.
    bool layoutSetUp = false;
    int controllerType = 1;
    int variantByte = 0xAA;
    int softwareVersion = 0;
    bool extendedCommissioning = false;
    bool commissioningMode = false;
    // 0 standard, 1..4 the window type radio item + 1, 5 top light.
    int windowType = 0;
    // The ticked item of the window type radio group, -1 for none: a type-4 controller's sketch
    // follows it, also after a click whose read of the stored type failed.
    int windowTypeItem = -1;
    bool longChain = false;
    bool heavyWindow = false;
    bool topHungArticle = false;
    bool electronicsLeft = false;
    int handlePosition = 2;
    int windowStateClass = 0;
    int safetyEdgeState = 0;
    int drivePosition = 0;
    int ventMagnetPosition = 0;
    int poleReversalByte = 0;
    int automaticLockingThreshold = 0;
    // The two-click zero-position sequence of the mode button is between its clicks.
    bool zeroPositionRun = false;
    // Type 7: a jog click started the sliding drive and the next jog click stops it.
    bool jogLatch = false;
    // The closing-roller test: the step (0..3) of the cycle (0..10) it sends next, and whether it
    // ends after the current cycle.
    int rollerTestStep = 0;
    int rollerTestCycle = 0;
    bool rollerTestStopRequest = false;

    // A display is rewritten only when its value differs from its memory.
    int modeMemory = 4095;
    int stateTextMemory = 65535;
    int reversalMemory = 511;
    int safetyEdgeMemory = 65024;

    int slowValueCounter = 3;
    int versionMismatches = 0;
    int pictureCounter = 5;
    QString lastPictureName = QStringLiteral("xxxxxxxxxxxxxx");
    // The handle position the picture was last built for.
    int pictureHandlePosition = 2;

    // The entries the set-up loaded into the opening-width box, and the position bar's maximum.
    QStringList openingWidthEntries;
    int positionBarMaximum = 0;

    // The next refresh sets the layout up again and rewrites every display that keeps a memory,
    // as after an opening: after settings were written behind the window's back.
    void redisplay()
    {
        const ControllerState opening;
        layoutSetUp = false;
        modeMemory = opening.modeMemory;
        stateTextMemory = opening.stateTextMemory;
        reversalMemory = opening.reversalMemory;
        safetyEdgeMemory = opening.safetyEdgeMemory;
    }

    // The chain-drive family: top light, turn/top-hung, smoke vents, sliding drive, PAF.
    [[nodiscard]] bool chainType() const { return controllerType >= 3 && controllerType <= 9; }

    // Bit 7 of the chain byte: a long chain on types 3 and 4, a heavy window on types 8 and 9.
    void takeChainBit(bool chainBit)
    {
        longChain = (controllerType == 3 || controllerType == 4) && chainBit;
        heavyWindow = (controllerType == 8 || controllerType == 9) && chainBit;
    }
};
