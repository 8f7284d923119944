// The refresh decodes of the controller window: state codes, mode and commissioning display,
// events, safety edge, positions and the PAF-slave group.
#include "ViewProbe.h"
#include "controller/core/PafSlaveDecode.h"
#include "controller/core/StateDecode.h"
#include "controller/core/ValueFormats.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

struct StateDecodeTest : ::testing::Test {
    void SetUp() override { SetCurrentLanguage(German); }

    ControllerState controller(int type, int variant = 0x55, int version = 0x0612)
    {
        ControllerState state;
        state.controllerType = type;
        state.variantByte = variant;
        state.softwareVersion = version;
        return state;
    }
};

TEST_F(StateDecodeTest, StateCodesGiveTextIndicatorsAndClassByControllerType)
{
    using enum LockMark;
    struct Case {
        int code;
        int type;
        const char* text;
        LockMark strands;
        LockMark bolt;
        std::optional<int> cls;
    };
    const Case cases[] = {
        {0, 1, "Z00 - Fenster ist verriegelt", Locked, Locked, 0},
        {1, 4, "Z01 - Fenster entriegelt", Unchanged, Unchanged, {}},
        {3, 4, "Z03 - Fenster öffnet", Unlocked, Locked, 2},
        {6, 1, "Z06 - Fenster schließt", Unlocked, Locked, 2},
        {8, 1, "Z08 - Fenster entriegelt", Unchanged, Unchanged, {}},
        {9, 1, "Z09 - Fenster in Drehstellung entriegelt", Unlocked, Unlocked, 0},
        {9, 2, "Z09 - Fenster öffnet", Unlocked, Unlocked, 0},
        {10, 2, "Z10 - Fenster in Drehstellung geöffnet", Unlocked, Unlocked, 1},
        {10, 3, "Z10 - Fenster in max. Öffnungsweite geöffnet", Unlocked, Unlocked, 2},
        {11, 2, "Z11 - Fenster verriegelt", Unlocked, Unlocked, 1},
        {11, 3, "Z11 - Fenster schließt", Unlocked, Unlocked, 1},
        {12, 1, "Fenster unbekannt12", Unchanged, Unchanged, {}},
        {15, 1, "Z15 - Fenster undefiniert", Unchanged, Unchanged, {}},
        {16, 8, "Fenster unbekannt16", Unchanged, Unchanged, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const StateCodeRow expected{QString::fromUtf8(c.text), c.strands, c.strands, c.bolt, c.cls};
        EXPECT_EQ(StateCodeRowFor(c.code, c.type), expected);
    }
}

TEST_F(StateDecodeTest, SlaveStateUsesLowNibbleWithoutTypeRows)
{
    const std::pair<int, const char*> cases[] = {
        {0x23, "Z03 - Fenster öffnet"},
        {0x1C, "Fenster unbekannt12"},
        {0x09, "Z09 - Fenster in Drehstellung entriegelt"},
        {0x0A, "Z10 - Fenster in max. Öffnungsweite geöffnet"},
        {0x0B, "Z11 - Fenster schließt"},
        {0xFF, "Z15 - Fenster undefiniert"},
    };
    for (const auto& [status, text] : cases)
        EXPECT_EQ(SlaveStateText(status), QString::fromUtf8(text)) << status;
}

TEST_F(StateDecodeTest, ReversalAndSafetyEdgeCodes)
{
    const std::pair<int, const char*> reversals[] = {
        {0, "keine Reversierung"},
        {1, "EKS-SW"},
        {2, "Schaltleiste"},
        {4, "EKS Spalt"},
        {6, "Gleichlaufüberwachung Antriebe"},
        {7, "07h"},
        {0xAB, "ABh"},
    };
    for (const auto& [code, text] : reversals)
        EXPECT_EQ(ReversalText(code), QString::fromUtf8(text)) << code;

    const std::tuple<int, const char*, int> conditions[] = {
        {1, "", 1},
        {2, "", 2},
        {3, "Schaltleiste unterbrochen!", 2},
        {4, "Schaltleiste Kurzschluss!", 2},
        {0, "Schaltleistenzustand unzulässig!", 2},
    };
    for (const auto& [code, text, edgeState] : conditions)
        EXPECT_EQ(SafetyEdgeConditionFor(code),
                  (SafetyEdgeCondition{QString::fromUtf8(text), edgeState}))
            << code;
}

TEST_F(StateDecodeTest, ModeDisplayFollowsParameterZeroByControllerType)
{
    struct Case {
        int type;
        std::vector<int> codes;
        // Per code: nothing, or the commissioning argument of the mode display.
        std::vector<std::optional<bool>> displays;
    };
    const Case cases[] = {
        // Types 3 to 6 switch only into and out of commissioning.
        {3, {0, 15, 0, 3}, {{}, true, false, {}}},
        {4, {3, 5, 5}, {{}, {}, {}}},
        // Other types show the mode on every change, once per change.
        {1, {0, 3, 3, 15}, {false, false, {}, true}},
        {8, {15, 15, 7}, {true, {}, false}},
    };
    for (const Case& c : cases) {
        ControllerState state = controller(c.type);
        for (size_t i = 0; i < c.codes.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "type " << c.type << " step " << i);
            const auto display = DecodeMode(state, c.codes[i]);
            ASSERT_EQ(display.has_value(), c.displays[i].has_value());
            if (display) {
                EXPECT_EQ(state.commissioningMode, *c.displays[i]);
                EXPECT_EQ(display->positionBarToZero, *c.displays[i]);
            }
            EXPECT_EQ(state.modeMemory, c.codes[i]);
        }
    }
}

TEST_F(StateDecodeTest, ModeDisplayTextsAndEnabledSets)
{
    struct Case {
        int type;
        bool extended;
        bool commissioning;
        const char* modeButton;
        const char* rollerTest;
    };
    const Case cases[] = {
        {5, false, true, "Nullposition", "10x Schließrollentest"},
        {3, true, true, "Nullposition", "10x Schließrollentest"},
        {3, false, true, "Normalbetrieb", "10x Schließrollentest"},
        {1, false, true, "Normalbetrieb", " "},
        {1, false, false, "Inbetriebnahme", " "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " on " << c.commissioning);
        ControllerState state = controller(c.type);
        state.extendedCommissioning = c.extended;
        const ControllerView view = SwitchModeDisplay(state, c.commissioning).view;
        EXPECT_EQ(ChangeOf(view, "bnModus").text, QString::fromUtf8(c.modeButton));
        EXPECT_EQ(ChangeOf(view, "bnModus").enabled, !c.commissioning);
        EXPECT_EQ(ChangeOf(view, "lblModus").colour,
                  c.commissioning ? TextColour::Red : TextColour::Normal);
        EXPECT_EQ(ChangeOf(view, "lblFensterZustand").text,
                  c.commissioning ? ExpectedText("Fensterzustand unbekannt") : std::nullopt);
        EXPECT_EQ(ChangeOf(view, "lblFingerR").text, QString::fromUtf8(c.rollerTest));
        for (const char* control : {"bnSRUverriegeln", "bnFRentriegeln", "bnKAauf", "bnKAzu"})
            EXPECT_EQ(ChangeOf(view, control).enabled, c.commissioning) << control;
        for (const char* control : {"lblKippZ", "bnWinZu", "bnWinAuf", "Button3"})
            EXPECT_EQ(ChangeOf(view, control).enabled, !c.commissioning) << control;
    }
}

TEST_F(StateDecodeTest, StateTextKeepsCommissioningTextUntilTheCodeChanges)
{
    ControllerState state = controller(3);
    (void)DecodeMode(state, 0);
    ASSERT_TRUE(DecodeStateText(state, 0));
    (void)DecodeMode(state, 15);
    const auto commissioning = DecodeStateText(state, 15);
    ASSERT_TRUE(commissioning);
    EXPECT_EQ(ChangeOf(commissioning->view, "lblFensterZustand").text,
              QStringLiteral("Z15 - Fenster ist in der Inbetriebnahme"));
    EXPECT_EQ(state.stateTextMemory, 0);

    (void)DecodeMode(state, 0);
    EXPECT_FALSE(state.commissioningMode);
    EXPECT_FALSE(DecodeStateText(state, 0));
    const auto closed = DecodeStateText(state, 7);
    ASSERT_TRUE(closed);
    EXPECT_EQ(ChangeOf(closed->view, "lblFensterZustand").text,
              QStringLiteral("Z07 - Fenster verriegelt"));
}

TEST_F(StateDecodeTest, StateTextSetsIndicatorsWithStrandNamesAndClass)
{
    struct Case {
        int type;
        int variant;
        int before;
        int code;
        const char* upper;
        const char* lower;
        const char* bolt;
        int cls;
    };
    const Case cases[] = {
        {4, 0x55, 3, 5, "Rechter Strang entriegelt", "Linker Strang entriegelt", "verriegelt", 2},
        {1, 0xAA, 3, 9, "oberer Strang entriegelt", "unterer Strang entriegelt", "entriegelt", 0},
        {7, 0x55, 3, 0, "oberer Strang verriegelt", "unterer Strang verriegelt", "verriegelt", 0},
        {1, 0xAA, 3, 7, nullptr, nullptr, nullptr, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " code " << c.code);
        ControllerState state = controller(c.type, c.variant);
        ASSERT_TRUE(DecodeStateText(state, c.before));
        const auto display = DecodeStateText(state, c.code);
        ASSERT_TRUE(display);
        EXPECT_EQ(ChangeOf(display->view, "lblSRO").text, ExpectedText(c.upper));
        EXPECT_EQ(ChangeOf(display->view, "lblSRU").text, ExpectedText(c.lower));
        EXPECT_EQ(ChangeOf(display->view, "lblFingerR").text, ExpectedText(c.bolt));
        EXPECT_EQ(state.windowStateClass, c.cls);
    }
}

TEST_F(StateDecodeTest, HandlePositionFromHandleAndLever)
{
    struct Case {
        std::optional<int> handle;
        std::optional<int> lever;
        int before;
        int after;
    };
    const Case cases[] = {
        {1, {}, 0, 2}, {0, 5, 2, 1}, {0, 0, 2, 0}, {3, 0, 1, 0}, {0, {}, 1, 1}, {{}, {}, 1, 1},
    };
    for (const Case& c : cases) {
        ControllerState state;
        state.handlePosition = c.before;
        DecodeHandlePosition(state, c.handle, c.lever);
        EXPECT_EQ(state.handlePosition, c.after)
            << c.handle.value_or(-1) << " " << c.lever.value_or(-1);
    }
}

TEST_F(StateDecodeTest, EventSummaryWithStrandOfChainTypes)
{
    struct Case {
        int type;
        int version;
        int events;
        int strand;
        const char* summary;
        const char* detail; // nullptr: left as it was
        bool red;
    };
    const Case cases[] = {
        {8, 0x0500, 0x0008, 1, "Ereignisse vorhanden", "Fehler rechter Strang", true},
        {8, 0x0500, 0x0001, 1, "Ereignisse vorhanden", " ", true},
        {9, 0x0500, 0x0200, 0, "Ereignisse vorhanden", "Fehler linker Strang", true},
        {8, 0x0500, 0x0008, 2, "Ereignisse vorhanden", nullptr, true},
        {1, 0x0500, 0x0008, 1, "Ereignisse vorhanden", nullptr, true},
        {4, 0x0612, 0x0008, 1, "Ereignisse vorhanden", nullptr, true},
        {4, 0x0700, 0x0008, 1, "Ereignisse vorhanden", "Fehler rechter Strang", true},
        {8, 0x0500, 0x10000, 1, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " events " << c.events);
        const ControllerState state = controller(c.type, 0x55, c.version);
        const std::optional<int> strand =
            EventsNeedStrand(state, c.events) ? std::optional(c.strand) : std::nullopt;
        const ControllerView view = DecodeEvents(c.events, strand);
        EXPECT_EQ(ChangeOf(view, "StatusBar.0").text, QString::fromUtf8(c.summary));
        EXPECT_EQ(ChangeOf(view, "StatusBar.1").text, ExpectedText(c.detail));
        EXPECT_EQ(ChangeOf(view, "StatusBar").colour, c.red ? TextColour::Red : TextColour::Normal);
    }
}

TEST_F(StateDecodeTest, ModeButtonDuringTheZeroPositionSequence)
{
    struct Case {
        int type;
        bool extended;
        int events;
        int vent;
        int threshold;
        bool run;
        int drive;
        std::optional<bool> enabled;
        const char* caption;
        bool runAfter;
    };
    const Case cases[] = {
        {5, false, 0x20, 10, 20, false, 0, true, "Nullposition", false},
        {7, false, 0x20, 10, 20, false, 0, false, "Nullposition erkannt", false},
        {1, false, 0x20, 10, 20, true, 0, true, "Normalbetrieb", false},
        {5, false, 0x20, 20, 20, false, 0, false, nullptr, false},
        {3, false, 0x20, 0, -5, false, 0, false, nullptr, false},
        {8, false, 0x00, 0, 20, true, 41, true, "Maximale Kettenlänge", true},
        {9, false, 0x20, 10, 20, true, 40, false, "Maximale Kettenlänge", true},
        {5, false, 0x00, 0, 20, true, 101, true, "RWA-Öffnungsweite", true},
        {3, true, 0x00, 0, 20, true, 100, false, "Maximale Kettenlänge", true},
        {7, false, 0x00, 0, 20, false, 0, {}, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " run " << c.run);
        ControllerState state = controller(c.type);
        state.commissioningMode = true;
        state.extendedCommissioning = c.extended;
        state.ventMagnetPosition = c.vent;
        state.automaticLockingThreshold = c.threshold;
        state.zeroPositionRun = c.run;
        state.drivePosition = c.drive;
        state.jogLatch = true;
        const ControllerView view = DecodeCommissioningModeButton(state, c.events);
        EXPECT_EQ(ChangeOf(view, "bnModus").enabled, c.enabled);
        EXPECT_EQ(ChangeOf(view, "bnModus").text, ExpectedText(c.caption));
        EXPECT_EQ(state.zeroPositionRun, c.runAfter);
        EXPECT_EQ(state.jogLatch, c.type != 7 || c.caption == nullptr);
    }
    ControllerState normal = controller(5);
    EXPECT_TRUE(DecodeCommissioningModeButton(normal, 0x20).isEmpty());
}

TEST_F(StateDecodeTest, OperationReleaseOfChainTypes)
{
    struct Case {
        int type;
        bool commissioning;
        std::optional<int> pole; // the pole-reversal byte kept before is 1
        std::optional<int> release;
        std::optional<bool> commands;
        const char* message;
        TextColour colour;
    };
    const Case cases[] = {
        {3, false, 0, 1, true, "Fenestrix Modus/ Bedienung freigegeben", TextColour::Normal},
        {3, true, 0, 1, false, "Fenestrix Modus/ Bedienung freigegeben", TextColour::Normal},
        {5, false, 0, 0, false, "RWA Auslösung/ Bedienung gesperrt", TextColour::Red},
        {4, false, 1, 0, false, "Polwendung/ Bedienung gesperrt", TextColour::Red},
        {3, false, {}, 0, false, "Polwendung/ Bedienung gesperrt", TextColour::Red},
        {4, false, 0, 0, true, nullptr, TextColour::Normal},
        {8, false, 1, 0, true, nullptr, TextColour::Normal},
        {4, false, 0, {}, {}, nullptr, TextColour::Normal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << c.type << " release " << c.release.value_or(-1));
        ControllerState state = controller(c.type);
        state.commissioningMode = c.commissioning;
        state.poleReversalByte = 1;
        const ControllerView view = DecodeOperationRelease(state, c.pole, c.release);
        for (const char* button : {"bnWinKipp", "bnWinZu", "Button3", "bnWinAuf"})
            EXPECT_EQ(ChangeOf(view, button).enabled, c.commands) << button;
        EXPECT_EQ(ChangeOf(view, "Label22").text, ExpectedText(c.message));
        if (c.message) {
            EXPECT_EQ(ChangeOf(view, "Label22").colour, c.colour);
        }
        EXPECT_EQ(ChangeOf(view, "gbFingerR").visible, c.commissioning);
    }
}

TEST_F(StateDecodeTest, SafetyEdgePresenceActivityAndCondition)
{
    struct Case {
        SafetyEdgeReadings readings;
        const char* label;
        const char* hint;
        const char* detail;
        int edgeState; // before: 1
        int memory;    // before: 2
    };
    const Case cases[] = {
        {{{}, 0, 0, 0, 3}, nullptr, nullptr, "", 1, 2},
        {{0, 0, 0, 0, 3}, "n.v.", "Leiste nicht vorhanden", "", 0, 2},
        {{1, 0, 7, 8, 2}, "aktiviert", "Leiste vorhanden", nullptr, 1, 2},
        {{1, 1, 7, 8, 1}, "deaktiviert", "Leiste vorhanden", "", 1, 1},
        {{1, {}, 7, 8, 3}, nullptr, "Leiste vorhanden", "Schaltleiste unterbrochen!", 2, 3},
        {{1, 0, 7, 8, {}}, "aktiviert", "Leiste vorhanden", nullptr, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "present " << c.readings.present.value_or(-1)
                                        << " condition " << c.readings.condition.value_or(-1));
        ControllerState state = controller(4);
        state.safetyEdgeState = 1;
        state.safetyEdgeMemory = 2;
        const ControllerView view = DecodeSafetyEdge(state, c.readings);
        EXPECT_EQ(ChangeOf(view, "lblLeisteAktiv").text, ExpectedText(c.label));
        EXPECT_EQ(ChangeOf(view, "lblLeisteAktiv").hint, ExpectedText(c.hint));
        EXPECT_EQ(ChangeOf(view, "StatusBar.1").text, ExpectedText(c.detail));
        EXPECT_EQ(ChangeOf(view, "lblLeiste2Wert").text,
                  c.readings.present.value_or(0) != 0 ? ExpectedText("8") : std::nullopt);
        EXPECT_EQ(state.safetyEdgeState, c.edgeState);
        EXPECT_EQ(state.safetyEdgeMemory, c.memory);
    }
    // A new condition 2 clears panel 1 and still marks the edge faulty.
    ControllerState state = controller(4);
    state.safetyEdgeState = 1;
    const ControllerView view = DecodeSafetyEdge(state, {1, 0, 0, 0, 2});
    EXPECT_EQ(ChangeOf(view, "StatusBar.1").text, QString());
    EXPECT_EQ(state.safetyEdgeState, 2);
    EXPECT_EQ(SafetyEdgeAnalogueParameters(8), std::pair(50, 51));
    EXPECT_EQ(SafetyEdgeAnalogueParameters(9), std::pair(48, 49));
}

TEST_F(StateDecodeTest, DrivePositionScaleOffsetAndBar)
{
    struct Case {
        int variant;
        int type;
        int raw;
        const char* label;
        int position;
        int bar; // bar maximum 200
    };
    const Case cases[] = {
        {0x55, 4, 0xFFFF, "10", 20824, 200}, {0x55, 4, 1000, "328", 317, 200},
        {0xAA, 1, 1000, "356", 346, 200},    {0x12, 4, 1000, "356", 346, 200},
        {0x55, 8, 1000, "318", 317, 200},    {0x55, 7, 100, "150", 150, 150},
        {0x55, 9, 0xFFFF, "-0", 20824, 200}, {0x55, 3, 0, "10", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "variant " << c.variant << " type " << c.type << " raw " << c.raw);
        ControllerState state = controller(c.type, c.variant);
        const DrivePositionDisplay display = DecodeDrivePosition(state, c.raw, 200);
        EXPECT_EQ(ChangeOf(display.view, "lblKippPos").text, QString::fromUtf8(c.label));
        EXPECT_EQ(state.drivePosition, c.position);
        EXPECT_EQ(display.barValue, c.bar);
    }
    ControllerState commissioning = controller(4);
    commissioning.commissioningMode = true;
    EXPECT_FALSE(DecodeDrivePosition(commissioning, 1000, 200).barValue);
    EXPECT_EQ(commissioning.drivePosition, 317);
}

TEST_F(StateDecodeTest, VoltageOpeningWidthAndDriveSides)
{
    ControllerState state = controller(4);
    const ControllerView supply = DecodeSupplyAndVent(state, 700, 1234, {});
    EXPECT_EQ(ChangeOf(supply, "lblVcc").text, QStringLiteral("26.2 Volt"));
    EXPECT_EQ(ChangeOf(supply, "lblVcc").hint, QStringLiteral("700"));
    EXPECT_EQ(state.ventMagnetPosition, 1234);
    EXPECT_FALSE(ChangeOf(supply, "lblRohwert").text);

    EXPECT_EQ(OpeningWidthText(3, 100), QStringLiteral("42"));
    EXPECT_EQ(OpeningWidthText(8, 100), QStringLiteral("32"));
    EXPECT_EQ(OpeningWidthText(7, 100), QStringLiteral("150"));

    struct Case {
        int type;
        bool left;
        int value;
        const char* text;
    };
    const Case sides[] = {
        {4, true, 1, "rechts"},
        {4, false, 1, "links"},
        {5, true, 3, "links"},
        {3, true, 3, "rechts"},
        {4, true, 2, "links+rechts"},
        {9, false, 1, "links"},
        // A standard controller's label there shows the automatic locking instead.
        {1, true, 1, nullptr},
        {2, false, 3, nullptr},
        {4, true, 0, nullptr},
        {4, false, 4, nullptr},
    };
    for (const Case& c : sides) {
        ControllerState sided = controller(c.type);
        sided.electronicsLeft = c.left;
        EXPECT_EQ(ChangeOf(DecodeDriveSides(sided, c.value), "lblAutoRiegel").text,
                  ExpectedText(c.text))
            << c.type << " " << c.left << " " << c.value;
    }
}

TEST_F(StateDecodeTest, PafSlaveGroup)
{
    struct Case {
        PafSlaveReadings readings;
        int statusWord;
        bool commissioning;
        const char* position;
        const char* status;
        const char* state;
        const char* drives;
    };
    const Case cases[] = {
        {{0xFFF6, 5, 0x1A, 0x23, 1, 4}, 0x23, false, "-3", "23h", "Z03 - Fenster öffnet", "links"},
        {{{}, {}, {}, 0x1C, 3, {}}, 0x1C, false, nullptr, "1Ch", "Fenster unbekannt12", "rechts"},
        {{{}, {}, {}, {}, 0, {}},
         0x05,
         false,
         nullptr,
         nullptr,
         "Z05 - Fenster zum Lüften geöffnet",
         nullptr},
        {{100, {}, {}, 0x23, 2, {}},
         0x23,
         true,
         "32",
         "23h",
         "Z15 - Fenster ist in der Inbetriebnahme",
         "links+rechts"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        const ControllerView view = DecodePafSlave(c.readings, c.statusWord, c.commissioning);
        EXPECT_EQ(ChangeOf(view, "lblSlavePos").text, ExpectedText(c.position));
        EXPECT_EQ(ChangeOf(view, "lblSlaveStatus").text, ExpectedText(c.status));
        EXPECT_EQ(ChangeOf(view, "lblFensterZustand2").text, QString::fromUtf8(c.state));
        EXPECT_EQ(ChangeOf(view, "lblSlaveAntriebe").text, ExpectedText(c.drives));
    }
    const ControllerView full = DecodePafSlave(cases[0].readings, 0x23, false);
    EXPECT_EQ(ChangeOf(full, "lblSlaveErr").text, QStringLiteral("1Ah"));
    EXPECT_EQ(ChangeOf(full, "lblSlaveHall").text, QStringLiteral("5"));
    EXPECT_EQ(ChangeOf(full, "lblSlaveRevers").text, QStringLiteral("EKS Spalt"));
}

} // namespace
