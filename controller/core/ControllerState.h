// What the controller window knows beyond one showing: the controller type and variant, the
// decoded state, the last-value memories and the counters. One object for the whole run.
#pragma once

#include <QString>

#include <cstdint>

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

    // A display is rewritten only when its value differs from its memory.
    int modeMemory = 4095;
    int stateTextMemory = 65535;
    int reversalMemory = 511;
    int safetyEdgeMemory = 65024;

    int slowValueCounter = 3;
    int versionMismatches = 0;
    int pictureCounter = 5;
    QString lastPictureName = QStringLiteral("xxxxxxxxxxxxxx");

    // The chain-drive family: top light, turn/top-hung, smoke vents, sliding drive, PAF.
    [[nodiscard]] bool chainType() const { return controllerType >= 3 && controllerType <= 9; }
};
