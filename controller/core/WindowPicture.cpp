#include "controller/core/WindowPicture.h"

#include "controller/core/ControllerState.h"
#include "platform/RunTimeFiles.h"
#include "texts/Sprachen.h"

#include <QFileInfo>

#include <array>

namespace {

constexpr int kTextFileNotFound = 366;
constexpr int kRebuildEvery = 5;
constexpr QPoint kOverlayStart(53, 155);
// The picture name up to here is compared with the state's letters.
constexpr int kStateLettersAt = 7;

// The sketch for the state: "Fenster" + three state letters, or a name of its own.
struct PictureChoice {
    QChar kind = u'X';
    QChar side = u'M';
    QChar edge = u'0';
    QString wholeName;
    QPoint overlay = kOverlayStart;

    [[nodiscard]] QString name() const
    {
        return wholeName.isEmpty()
                   ? QStringLiteral("Fenster%1%2%3.bmp").arg(kind).arg(side).arg(edge)
                   : wholeName;
    }
    void set(QChar newKind, QChar newSide)
    {
        kind = newKind;
        side = newSide;
    }
};

QChar sideLetter(const ControllerState& s)
{
    return s.electronicsLeft ? u'L' : u'R';
}

// A sash turned open, or a top-hung sash opened.
void chooseOpened(const ControllerState& s, PictureChoice& c)
{
    if (s.topHungArticle)
        c.set(u'K', u'S');
    else
        c.set(u'A', sideLetter(s));
}

// A controller of type 4 takes the sketch from the ticked window type: 2 pivot, 3 turn-tilt
// outward, 4 top-hung, anything else (no tick too) a turning sash.
void chooseByWindowType(const ControllerState& s, PictureChoice& c)
{
    if (s.topHungArticle) {
        c.set(u'K', u'S');
        return;
    }
    switch (s.windowTypeItem + 1) {
    case 2:
        c.set(u'S', u'W');
        break;
    case 3:
        if (s.electronicsLeft)
            c.set(u'D', u'K');
        else
            c.wholeName = QStringLiteral("FensterDKR%1.bmp").arg(c.edge);
        break;
    case 4:
        c.set(u'K', u'S');
        break;
    default:
        chooseOpened(s, c);
    }
}

PictureChoice choosePicture(const ControllerState& s)
{
    PictureChoice c;
    if (s.safetyEdgeState == 0)
        c.edge = u'x';
    else if (s.safetyEdgeState == 2)
        c.edge = u'1';

    const int type = s.controllerType;
    const bool paf = type == 8 || type == 9;
    if (s.windowStateClass == 0) {
        c.set(u'Z', paf ? u'O' : u'M');
    } else if (s.windowStateClass == 1 ||
               (s.windowStateClass == 2 && (s.windowType == 1 || type == 5))) {
        c.overlay += QPoint(s.electronicsLeft ? 37 - 65 : 37, 30);
        chooseOpened(s, c);
    } else if (s.windowStateClass == 2) {
        c.overlay += QPoint(28, 5);
        if (type == 4)
            chooseByWindowType(s, c);
        else if (paf)
            c.set(u'O', u'O');
        else
            c.set(u'K', u'M');
    }
    return c;
}

// The sliding drive has sketches of its own for closed and open.
QString slidingPicture(const ControllerState& s, const QString& windowPicture)
{
    if (s.windowStateClass == 1)
        return windowPicture;
    return QStringLiteral("schi_%1_%2.bmp")
        .arg(s.windowStateClass == 0 ? QLatin1StringView("zu") : QLatin1StringView("au"),
             s.electronicsLeft ? QLatin1StringView("li") : QLatin1StringView("re"));
}

std::optional<PictureOverlay> handleOverlay(const ControllerState& s, QPoint at)
{
    if (s.handlePosition == 2 || s.controllerType == 7)
        return std::nullopt;
    const bool turned = s.handlePosition == 1;
    const int windowType = s.windowType;
    const bool left = s.electronicsLeft;
    int x = at.x();
    int y = at.y();
    // The handle sits opposite the electronics, except on a pivot window.
    if (left) {
        if (windowType != 2)
            x += 220;
        if (turned)
            x -= 25;
    } else if (windowType == 2) {
        x += 220;
    }
    QString name = QStringLiteral("HebelVM.bmp");
    if (turned)
        name = left ? QStringLiteral("HebelHR.bmp") : QStringLiteral("HebelHL.bmp");

    if (s.windowStateClass == 2) {
        if (windowType == 2) {
            x -= 18;
            y -= 30;
        } else if (windowType == 3) {
            x -= 11;
        }
    } else if (windowType == 2) {
        y -= 40;
    }

    // Top lights and top-hung windows have the handle on the top rail, turned the other way.
    if (windowType == 4 || windowType == 5 || s.controllerType == 6) {
        name = turned ? QStringLiteral("HebelVM.bmp") : QStringLiteral("HebelHR.bmp");
        x = turned ? 81 + 80 : 81 + 60;
        y = 160 - 105;
        if ((windowType == 5 || s.controllerType == 6) && s.windowStateClass == 2) {
            x += 60;
            y += 33;
        }
    } else if (s.controllerType == 8 || s.controllerType == 9) {
        name = turned ? QStringLiteral("HebelHL.bmp") : QStringLiteral("HebelVM.bmp");
        x = 81 - 10;
        y = 160;
    }

    if (s.topHungArticle) {
        y = 155;
        x = !left ? 53 : name.at(5) == u'H' ? 248 : 273;
    }
    return PictureOverlay{name, QPoint(x, y)};
}

} // namespace

std::optional<PictureRebuild> PictureStep(ControllerState& state)
{
    const PictureChoice choice = choosePicture(state);
    ++state.pictureCounter;
    const std::array<QChar, 3> letters{choice.kind, choice.side, choice.edge};
    const bool due = state.handlePosition != state.pictureHandlePosition ||
                     state.pictureCounter >= kRebuildEvery ||
                     QStringView(state.lastPictureName).mid(kStateLettersAt, 3) !=
                         QStringView(letters.data(), letters.size());
    if (!due)
        return std::nullopt;

    state.pictureCounter = 0;
    const QString name = choice.name();
    state.lastPictureName = name.left(14);
    state.pictureHandlePosition = state.handlePosition;
    return PictureRebuild{state.controllerType == 7 ? slidingPicture(state, name) : name,
                          handleOverlay(state, choice.overlay)};
}

std::optional<PictureOverlay> RadioOverlay(int parameter32, int windowType)
{
    if (parameter32 != 1 && parameter32 != 2)
        return std::nullopt;
    QPoint at(35, 35);
    if (windowType == 1)
        at = QPoint(40, 40);
    else if (windowType == 3)
        at = QPoint(45, 35);
    return PictureOverlay{QStringLiteral("Funk_%1.bmp").arg(parameter32), at};
}

std::optional<QString> MissingFileMessage(const QString& directory, const QStringList& fileNames)
{
    std::optional<QString> message;
    for (const QString& name : fileNames) {
        if (!QFileInfo::exists(RunTimeFile(directory, name)))
            message = name + QLatin1Char(' ') + LanguageText(kTextFileNotFound);
    }
    return message;
}
