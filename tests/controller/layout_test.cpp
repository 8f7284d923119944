// The controller window's layout by controller type, its captions and its widths by language.
#include "controller/core/ControllerLayout.h"
#include "texts/Sprachen.h"

#include <gtest/gtest.h>

namespace {

std::optional<bool> visible(const ControllerView& view, const char* control)
{
    const auto it = view.changes().find(QString::fromLatin1(control));
    return it == view.changes().end() ? std::nullopt : it->visible;
}

std::optional<QString> text(const ControllerView& view, const char* control)
{
    const auto it = view.changes().find(QString::fromLatin1(control));
    return it == view.changes().end() ? std::nullopt : it->text;
}

struct LayoutTest : ::testing::Test {
    void SetUp() override { SetCurrentLanguage(German); }
};

TEST_F(LayoutTest, EachControllerTypeShowsItsOwnControls)
{
    struct Case {
        int type;
        int version;
        bool topHung;
        const char* windowKind; // lblWinTyp
        bool winAuf;            // bnWinAuf shown
        const char* winAufText; // when it gets one
        bool radioGroup;
        bool paf;
        bool openingWidth; // lblrwa_oeffnung
        std::optional<int> windowType;
    };
    const Case cases[] = {
        {1, 0x0512, false, nullptr, true, "Öffnen in Drehstellung", false, false, false, 0},
        {3, 0x0610, false, "Oberlicht", false, nullptr, false, false, false, 5},
        {3, 0x0700, false, "Oberlicht", true, "Fenster voll öffnen", false, false, true, 5},
        {4, 0x0610, false, "Drehfenster", false, nullptr, true, false, false, std::nullopt},
        {4, 0x0610, true, "Senkklapp", false, nullptr, false, false, false, std::nullopt},
        {4, 0x0703, false, "Drehfenster", true, "Fenster voll öffnen", true, false, true,
         std::nullopt},
        {5, 0x0520, false, "RWA-Fenster", true, "RWA Öffnen", false, false, true, std::nullopt},
        {6, 0x0520, false, "RWA-Kipp", true, "RWA Öffnen", false, false, true, std::nullopt},
        {5, 0x0520, true, "RWA Senkklapp", true, "RWA Öffnen", false, false, true, std::nullopt},
        {7, 0x0610, false, "Schiebe-Element", false, nullptr, false, false, true, std::nullopt},
        {8, 0x0702, false, "PAF-Master", true, "Fenster 50%", false, true, true, std::nullopt},
        {9, 0x0702, false, "PAF-Single/Slave", true, "Fenster 50%", false, false, true,
         std::nullopt},
        {12, 0x0512, false, nullptr, true, "Öffnen in Drehstellung", false, false, false, 0},
    };
    for (const Case& c : cases) {
        const ControllerLayout layout = LayoutForControllerType(c.type, c.version, c.topHung);
        const ControllerView& v = layout.view;
        const auto where = ::testing::Message() << "type " << c.type << " version " << c.version
                                                << (c.topHung ? " top-hung" : "");
        const std::optional<QString> kind =
            c.windowKind ? std::optional(QString::fromUtf8(c.windowKind)) : std::nullopt;
        EXPECT_EQ(text(v, "lblWinTyp"), kind) << where;
        EXPECT_EQ(visible(v, "bnWinAuf"), c.winAuf) << where;
        if (c.winAufText) {
            EXPECT_EQ(text(v, "bnWinAuf"), QString::fromUtf8(c.winAufText)) << where;
        }
        EXPECT_EQ(visible(v, "RadioGroup1"), c.radioGroup) << where;
        EXPECT_EQ(visible(v, "gbPAF"), c.paf) << where;
        EXPECT_EQ(visible(v, "lblrwa_oeffnung"), c.openingWidth) << where;
        EXPECT_EQ(layout.windowType, c.windowType) << where;
    }
}

TEST_F(LayoutTest, ChainTypesTurnTheFingerBoltGroupIntoTheRollerTest)
{
    for (int type = 3; type <= 9; ++type) {
        const ControllerView v = LayoutForControllerType(type, 0x0700, false).view;
        EXPECT_EQ(text(v, "gbFingerR"), QStringLiteral("Schließrollen:")) << type;
        EXPECT_EQ(text(v, "lblFingerR"), QStringLiteral("10x Schließrollentest")) << type;
        EXPECT_EQ(text(v, "bnFRentriegeln"), QStringLiteral("Start")) << type;
        EXPECT_EQ(text(v, "bnFRverriegeln"), QStringLiteral("Stopp")) << type;
        EXPECT_EQ(visible(v, "gbFingerR"), false) << type;
        EXPECT_EQ(visible(v, "bnAutoVerriegeln"), false) << type;
        EXPECT_EQ(visible(v, "Button2"), false) << type;
        EXPECT_EQ(text(v, "Label14"), QStringLiteral("Fenestrix-Steuerungstyp:")) << type;
        // The sliding drive names its strands upper and lower and its drive "Schiebe-Antrieb".
        const bool sliding = type == 7;
        EXPECT_EQ(text(v, "lblSRO"),
                  QString::fromUtf8(sliding ? "oberer Strang" : "Rechter Strang"))
            << type;
        EXPECT_EQ(text(v, "Label15"),
                  QString::fromUtf8(sliding ? "Schiebe-Antrieb:" : "Kettenantrieb:"))
            << type;
    }
    const ControllerView standard = LayoutForControllerType(1, 0x0512, false).view;
    EXPECT_EQ(text(standard, "gbFingerR"), QStringLiteral("Fingerriegel:"));
    EXPECT_EQ(visible(standard, "gbFingerR"), true);
    EXPECT_EQ(text(standard, "bnFRentriegeln"), QStringLiteral("entriegeln"));
    EXPECT_EQ(text(standard, "Label15"), QStringLiteral("Automatisches Verriegeln:"));
    EXPECT_EQ(visible(standard, "Button2"), true);
}

TEST_F(LayoutTest, SmokeVentOpenButtonIsRed)
{
    const ControllerView v = LayoutForControllerType(5, 0x0520, false).view;
    EXPECT_EQ(v.changes().value(QStringLiteral("bnWinAuf")).colour, TextColour::Red);
    const ControllerView standard = LayoutForControllerType(2, 0x0520, false).view;
    EXPECT_EQ(standard.changes().value(QStringLiteral("bnWinAuf")).colour, TextColour::Normal);
}

TEST_F(LayoutTest, CaptionsFollowTheLanguage)
{
    ControllerView german = ControllerCaptions();
    EXPECT_EQ(text(german, "gbKippA"), QStringLiteral("Kettenantrieb:"));
    EXPECT_EQ(text(german, "bnSROentriegeln"), QStringLiteral("entriegeln"));
    EXPECT_EQ(text(german, "Label29"), QStringLiteral("Schaltleiste 1 Wert:"));
    EXPECT_EQ(text(german, "gbPAF"), QStringLiteral("PAF-Slave:"));
    SetCurrentLanguage(French);
    const ControllerView french = ControllerCaptions();
    EXPECT_EQ(text(french, "gbKippA"), LanguageText(433) + QStringLiteral(":"));
    EXPECT_EQ(text(french, "RadioGroup1Item3"), LanguageText(217));
    EXPECT_EQ(french.changes().keys(), german.changes().keys());
}

TEST_F(LayoutTest, OpenButtonCaptionOfTheControllerShownLast)
{
    EXPECT_EQ(WinAufCaption(3, 0x0700, 1), QStringLiteral("Fenster voll öffnen"));
    EXPECT_EQ(WinAufCaption(4, 0x0700, 0), QStringLiteral("Öffnen in Drehstellung"));
    EXPECT_EQ(WinAufCaption(4, 0x06FF, 1), QStringLiteral("Öffnen in Drehstellung"));
    EXPECT_EQ(WinAufCaption(4, 0x0700, std::nullopt), QStringLiteral("Öffnen in Drehstellung"));
    EXPECT_EQ(WinAufCaption(8, 0x0700, 1), QStringLiteral("Fenster 50%"));
    EXPECT_EQ(WinAufCaption(9, 0x0400, std::nullopt), QStringLiteral("Fenster 50%"));
    EXPECT_EQ(WinAufCaption(1, 0x0700, 1), QStringLiteral("Öffnen in Drehstellung"));
}

TEST_F(LayoutTest, WidthsByLanguage)
{
    EXPECT_EQ(WidthsForLanguage(German).extraWindowWidth, 0);
    EXPECT_EQ(WidthsForLanguage(Dutch).rawValue, 75);
    EXPECT_EQ(WidthsForLanguage(English).rawValue, 70);
    EXPECT_EQ(WidthsForLanguage(Italian).windowKind, 150);
    EXPECT_EQ(WidthsForLanguage(Spanish).extraWindowWidth, 150);
    EXPECT_EQ(WidthsForLanguage(French).safetyEdge, 135);
}

} // namespace
