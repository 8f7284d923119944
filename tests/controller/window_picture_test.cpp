// The window picture: the sketch and handle chosen for a state, when the picture is rebuilt, the
// radio symbol, and the message for missing files.
#include "controller/core/ControllerState.h"
#include "controller/core/WindowPicture.h"
#include "texts/Sprachen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>

// Failure messages show an overlay as its file name and position.
static void PrintTo(const PictureOverlay& o, std::ostream* os)
{
    *os << o.fileName.toStdString() << " at (" << o.topLeft.x() << ", " << o.topLeft.y() << ")";
}

namespace {

// Test names from the cases' descriptions.
template <typename Case> std::string describedName(const testing::TestParamInfo<Case>& info)
{
    std::string name;
    for (const char ch : std::string(info.param.what))
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

struct WindowCase {
    const char* what;
    int controllerType;
    int stateClass;
    int safetyEdge;
    bool electronicsLeft;
    int windowType;
    bool topHung;
    int handlePosition;
    const char* picture;
    std::optional<PictureOverlay> handle;
};

PictureOverlay at(const char* file, int x, int y)
{
    return {QString::fromLatin1(file), QPoint(x, y)};
}

ControllerState stateOf(const WindowCase& c)
{
    ControllerState s;
    s.controllerType = c.controllerType;
    s.windowStateClass = c.stateClass;
    s.safetyEdgeState = c.safetyEdge;
    s.electronicsLeft = c.electronicsLeft;
    s.windowType = c.windowType;
    s.windowTypeItem = c.windowType - 1;
    s.topHungArticle = c.topHung;
    s.handlePosition = c.handlePosition;
    return s;
}

void PrintTo(const WindowCase& c, std::ostream* os)
{
    *os << c.what;
}

class PictureForState : public testing::TestWithParam<WindowCase> {};

TEST_P(PictureForState, ChoosesSketchAndHandle)
{
    const WindowCase& c = GetParam();
    ControllerState state = stateOf(c);
    const std::optional<PictureRebuild> rebuild = PictureStep(state);
    ASSERT_TRUE(rebuild.has_value()) << "the first refresh always builds the picture";
    EXPECT_EQ(rebuild->pictureFile, QString::fromLatin1(c.picture));
    EXPECT_EQ(rebuild->handle, c.handle);
}

INSTANTIATE_TEST_SUITE_P(
    WindowPicture, PictureForState,
    testing::Values(
        // what, type, class, edge, left, window type, top-hung, handle: picture, handle overlay
        WindowCase{"standard tilted with safety edge", 1, 2, 1, false, 0, false, 0,
                   "FensterKM0.bmp", at("HebelVM.bmp", 81, 160)},
        WindowCase{"standard tilted without safety edge", 1, 2, 0, false, 0, false, 0,
                   "FensterKMx.bmp", at("HebelVM.bmp", 81, 160)},
        WindowCase{"standard tilted, edge fault, electronics left", 1, 2, 2, true, 0, false, 1,
                   "FensterKM1.bmp", at("HebelHR.bmp", 276, 160)},
        WindowCase{"standard turned open", 1, 1, 1, false, 0, false, 0, "FensterAR0.bmp",
                   at("HebelVM.bmp", 90, 185)},
        WindowCase{"standard turned open, electronics left", 1, 1, 1, true, 0, false, 1,
                   "FensterAL0.bmp", at("HebelHR.bmp", 220, 185)},
        WindowCase{"closed, handle turned", 1, 0, 2, false, 0, false, 1, "FensterZM1.bmp",
                   at("HebelHL.bmp", 53, 155)},
        WindowCase{"closed, electronics left, handle turned", 1, 0, 1, true, 0, false, 1,
                   "FensterZM0.bmp", at("HebelHR.bmp", 248, 155)},
        WindowCase{"closed, no handle sensor", 1, 0, 1, false, 0, false, 2, "FensterZM0.bmp",
                   std::nullopt},
        WindowCase{"turn/top-hung chain, turning item open", 4, 2, 1, true, 1, false, 0,
                   "FensterAL0.bmp", at("HebelVM.bmp", 245, 185)},
        WindowCase{"turn/top-hung chain, no item selected", 4, 2, 1, false, 0, false, 0,
                   "FensterAR0.bmp", at("HebelVM.bmp", 81, 160)},
        WindowCase{"pivot open", 4, 2, 1, false, 2, false, 0, "FensterSW0.bmp",
                   at("HebelVM.bmp", 283, 130)},
        WindowCase{"pivot open, electronics left", 4, 2, 0, true, 2, false, 1, "FensterSWx.bmp",
                   at("HebelHR.bmp", 38, 130)},
        WindowCase{"pivot closed", 4, 0, 1, false, 2, false, 0, "FensterZM0.bmp",
                   at("HebelVM.bmp", 273, 115)},
        WindowCase{"turn-tilt outward, electronics right, no edge", 4, 2, 0, false, 3, false, 0,
                   "FensterDKRx.bmp", at("HebelVM.bmp", 70, 160)},
        WindowCase{"turn-tilt outward, electronics right, edge fault", 4, 2, 2, false, 3, false, 0,
                   "FensterDKR1.bmp", at("HebelVM.bmp", 70, 160)},
        WindowCase{"turn-tilt outward, electronics left", 4, 2, 1, true, 3, false, 1,
                   "FensterDK0.bmp", at("HebelHR.bmp", 265, 160)},
        WindowCase{"top-hung item: handle on the top rail", 4, 2, 1, false, 4, false, 0,
                   "FensterKS0.bmp", at("HebelHR.bmp", 141, 55)},
        WindowCase{"top-hung item, handle turned", 4, 2, 1, false, 4, false, 1, "FensterKS0.bmp",
                   at("HebelVM.bmp", 161, 55)},
        WindowCase{"top light tilted", 3, 2, 1, false, 5, false, 1, "FensterKM0.bmp",
                   at("HebelVM.bmp", 221, 88)},
        WindowCase{"smoke-vent tilt closed", 6, 0, 1, true, 0, false, 0, "FensterZM0.bmp",
                   at("HebelHR.bmp", 141, 55)},
        WindowCase{"smoke-vent tilt open", 6, 2, 1, false, 0, false, 0, "FensterKM0.bmp",
                   at("HebelHR.bmp", 201, 88)},
        WindowCase{"smoke vent open turns", 5, 2, 1, false, 0, false, 0, "FensterAR0.bmp",
                   at("HebelVM.bmp", 90, 185)},
        WindowCase{"top-hung article turned open", 4, 1, 1, false, 0, true, 0, "FensterKS0.bmp",
                   at("HebelVM.bmp", 53, 155)},
        WindowCase{"top-hung article open, electronics left, handle turned", 4, 2, 1, true, 0, true,
                   1, "FensterKS0.bmp", at("HebelHR.bmp", 248, 155)},
        WindowCase{"top-hung smoke vent, electronics left", 5, 2, 1, true, 0, true, 0,
                   "FensterKS0.bmp", at("HebelVM.bmp", 273, 155)},
        WindowCase{"PAF master closed", 8, 0, 1, false, 0, false, 1, "FensterZO0.bmp",
                   at("HebelHL.bmp", 71, 160)},
        WindowCase{"PAF slave open, electronics left", 9, 2, 0, true, 0, false, 0, "FensterOOx.bmp",
                   at("HebelVM.bmp", 71, 160)},
        WindowCase{"sliding drive closed, electronics left", 7, 0, 1, true, 0, false, 0,
                   "schi_zu_li.bmp", std::nullopt},
        WindowCase{"sliding drive open", 7, 2, 1, false, 0, false, 0, "schi_au_re.bmp",
                   std::nullopt},
        WindowCase{"sliding drive in turn position", 7, 1, 1, false, 0, false, 1, "FensterAR0.bmp",
                   std::nullopt}),
    describedName<WindowCase>);

struct RebuildCase {
    const char* what;
    std::function<void(ControllerState&)> setUp;
    // Applied before the refresh with this number (counted from 0).
    int changeAt;
    std::function<void(ControllerState&)> change;
    // One letter per refresh: R the picture is rebuilt, . it is not.
    const char* rebuilds;
};

void standardTilted(ControllerState& s)
{
    s.controllerType = 1;
    s.windowStateClass = 2;
    s.safetyEdgeState = 1;
    s.handlePosition = 0;
}

void PrintTo(const RebuildCase& c, std::ostream* os)
{
    *os << c.what;
}

class RebuildDecision : public testing::TestWithParam<RebuildCase> {};

TEST_P(RebuildDecision, RebuildsOnChangeOrEveryFifthRefresh)
{
    const RebuildCase& c = GetParam();
    ControllerState state;
    c.setUp(state);
    QString seen;
    for (int refresh = 0; refresh < int(strlen(c.rebuilds)); ++refresh) {
        if (refresh == c.changeAt)
            c.change(state);
        seen += PictureStep(state) ? u'R' : u'.';
    }
    EXPECT_EQ(seen, QString::fromLatin1(c.rebuilds));
}

INSTANTIATE_TEST_SUITE_P(
    WindowPicture, RebuildDecision,
    testing::Values(
        RebuildCase{"nothing changes", standardTilted, -1, nullptr, "R....R....R"},
        RebuildCase{"the window closes", standardTilted, 2,
                    [](ControllerState& s) { s.windowStateClass = 0; }, "R.R....R..."},
        RebuildCase{"the handle turns", standardTilted, 3,
                    [](ControllerState& s) { s.handlePosition = 1; }, "R..R....R.."},
        RebuildCase{"the safety edge reports a fault", standardTilted, 1,
                    [](ControllerState& s) { s.safetyEdgeState = 2; }, "RR....R...."},
        RebuildCase{"the electronics side changes: same letters, so the next periodic rebuild",
                    standardTilted, 2, [](ControllerState& s) { s.electronicsLeft = true; },
                    "R....R....R"},
        RebuildCase{"turn-tilt outward with electronics right: its name never matches",
                    [](ControllerState& s) {
                        s.controllerType = 4;
                        s.windowStateClass = 2;
                        s.windowType = 3;
                        s.windowTypeItem = 2;
                    },
                    -1, nullptr, "RRRRRRR"},
        RebuildCase{"sliding drive at rest: its own names are not compared",
                    [](ControllerState& s) { s.controllerType = 7; }, -1, nullptr, "R....R....R"}),
    describedName<RebuildCase>);

TEST(WindowPicture, SlidingDriveRemembersTheWindowNameSoASideChangeWaitsForThePeriodicRebuild)
{
    ControllerState state;
    state.controllerType = 7;
    ASSERT_EQ(PictureStep(state)->pictureFile, QStringLiteral("schi_zu_re.bmp"));
    EXPECT_EQ(state.lastPictureName, QStringLiteral("FensterZMx.bmp"));
    state.electronicsLeft = true;
    for (int refresh = 1; refresh < 5; ++refresh)
        EXPECT_FALSE(PictureStep(state)) << refresh;
    const std::optional<PictureRebuild> fifth = PictureStep(state);
    ASSERT_TRUE(fifth);
    EXPECT_EQ(fifth->pictureFile, QStringLiteral("schi_zu_li.bmp"));
}

struct RadioCase {
    int parameter32;
    int windowType;
    std::optional<PictureOverlay> overlay;
};

class RadioSymbol : public testing::TestWithParam<RadioCase> {};

TEST_P(RadioSymbol, FollowsParameter32AndWindowType)
{
    const RadioCase& c = GetParam();
    EXPECT_EQ(RadioOverlay(c.parameter32, c.windowType), c.overlay);
}

INSTANTIATE_TEST_SUITE_P(WindowPicture, RadioSymbol,
                         testing::Values(RadioCase{1, 0, at("Funk_1.bmp", 35, 35)},
                                         RadioCase{2, 1, at("Funk_2.bmp", 40, 40)},
                                         RadioCase{1, 3, at("Funk_1.bmp", 45, 35)},
                                         RadioCase{2, 5, at("Funk_2.bmp", 35, 35)},
                                         RadioCase{0, 0, std::nullopt},
                                         RadioCase{3, 1, std::nullopt},
                                         RadioCase{0x0101, 0, std::nullopt}));

struct MissingCase {
    QStringList present;
    QStringList drawn;
    int language;
    std::optional<QString> message;
};

class MissingFile : public testing::TestWithParam<MissingCase> {
protected:
    void TearDown() override { SetCurrentLanguage(German); }
};

TEST_P(MissingFile, NamesTheLastMissingFile)
{
    const MissingCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString& name : c.present) {
        QFile file(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    SetCurrentLanguage(c.language);
    EXPECT_EQ(MissingFileMessage(dir.path(), c.drawn), c.message);
}

const QString kZM0 = QStringLiteral("FensterZM0.bmp");
const QString kHandle = QStringLiteral("HebelVM.bmp");
const QString kRadio = QStringLiteral("Funk_1.bmp");

INSTANTIATE_TEST_SUITE_P(
    WindowPicture, MissingFile,
    testing::Values(MissingCase{{kZM0, kHandle}, {kZM0, kHandle}, German, std::nullopt},
                    MissingCase{{kHandle},
                                {kZM0, kHandle},
                                German,
                                QStringLiteral("FensterZM0.bmp Datei nicht gefunden")},
                    MissingCase{{},
                                {kZM0, kHandle},
                                German,
                                QStringLiteral("HebelVM.bmp Datei nicht gefunden")},
                    MissingCase{{kZM0},
                                {kZM0, kHandle, kRadio},
                                English,
                                QStringLiteral("Funk_1.bmp File not found")}));

} // namespace
