// Draws the bitmaps of the controller window: the window sketches for every state, the handle and
// radio symbols laid over them, and the three locking-element icons. Writes their names to a list.
// Usage: make_window_pictures <output folder> <list file>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string_view>
#include <utility>

namespace {

constexpr QSize kPictureSize(348, 350);
const QRectF kFrame(30, 22, 288, 308);
const QRectF kOpening = kFrame.adjusted(16, 16, -16, -16);
constexpr qreal kStile = 36;

const QColor kInk(0x2b, 0x2f, 0x33);
const QColor kFrameFill(0xd3, 0xd8, 0xdd);
const QColor kOpen(0x46, 0x51, 0x5c); // seen through an open window
const QColor kSashFill(0xfb, 0xfb, 0xfa);
const QColor kGlass(0xbf, 0xe1, 0xf5);
const QColor kMotion(0xe0, 0x7b, 0x00);
const QColor kEdgeFine(0x1e, 0x9e, 0x4a);
const QColor kEdgeFault(0xd3, 0x26, 0x1e);
const QColor kMetal(0xe9, 0xec, 0xef);
// Overlays and icons are drawn on this colour, which the window shows as transparent.
const QColor kTransparent(0xff, 0x00, 0xff);

// Four corners of a sash as the picture shows them; u runs left to right, v top to bottom.
struct Quad {
    QPointF tl, tr, br, bl;

    [[nodiscard]] QPointF at(qreal u, qreal v) const
    {
        const QPointF top = tl + (tr - tl) * u;
        const QPointF bottom = bl + (br - bl) * u;
        return top + (bottom - top) * v;
    }
    [[nodiscard]] Quad inset(qreal du, qreal dv) const
    {
        return {at(du, dv), at(1 - du, dv), at(1 - du, 1 - dv), at(du, 1 - dv)};
    }
    [[nodiscard]] QPolygonF polygon() const { return QPolygonF({tl, tr, br, bl}); }
};

Quad quadOf(const QRectF& r)
{
    return {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
}

// A sliding pane has no hinges; it slides towards its drive.
enum class Hinge { None, Left, Right, Top, Bottom, Pivot, SlidesLeft, SlidesRight };

struct Sash {
    QRectF rest; // where it sits closed
    Quad pose;   // where it is now
    Hinge hinge = Hinge::None;
    bool outward = false; // opens away from the room, so it looks smaller
};

struct Sketch {
    QList<Sash> sashes;  // the last one is the one that moves
    QList<qreal> drives; // x of drive units on the bottom rail
};

enum class SafetyEdge { None, Fine, Fault };

Sash closedSash(Hinge hinge = Hinge::None)
{
    return {kOpening, quadOf(kOpening), hinge};
}

Sash openSash(Hinge hinge, Quad pose, bool outward = false)
{
    return {kOpening, pose, hinge, outward};
}

// The sketches by their two state letters; the third letter only adds the safety edge.
Sketch windowSketch(std::string_view kind)
{
    using Q = QPointF;
    if (kind == "ZM")
        return {{closedSash()}, {}};
    if (kind == "ZO")
        return {{closedSash()}, {100, 248}};
    if (kind == "OO")
        return {{openSash(Hinge::None, {Q(64, 54), Q(284, 54), Q(284, 298), Q(64, 298)}, true)},
                {100, 248}};
    if (kind == "AL")
        return {{openSash(Hinge::Left, {Q(46, 38), Q(276, 46), Q(276, 346), Q(46, 314)})}, {}};
    if (kind == "AR")
        return {{openSash(Hinge::Right, {Q(81, 46), Q(302, 38), Q(302, 314), Q(81, 346)})}, {}};
    if (kind == "KM")
        return {{openSash(Hinge::Bottom, {Q(74, 54), Q(338, 54), Q(302, 314), Q(46, 314)})}, {}};
    if (kind == "KS")
        return {{openSash(Hinge::Top, {Q(46, 38), Q(302, 38), Q(288, 292), Q(60, 292)}, true)}, {}};
    if (kind == "SW")
        return {{openSash(Hinge::Pivot, {Q(36, 52), Q(312, 52), Q(292, 296), Q(56, 296)})}, {}};
    if (kind == "DK")
        return {{openSash(Hinge::Left, {Q(46, 38), Q(280, 52), Q(280, 300), Q(46, 314)}, true)},
                {}};
    // DKR: the same outward turning sash hinged on the right.
    return {{openSash(Hinge::Right, {Q(68, 52), Q(302, 38), Q(302, 314), Q(68, 300)}, true)}, {}};
}

// A fixed pane on the drive's side and a pane that slides over it.
Sketch slidingSketch(bool open, bool driveLeft)
{
    const qreal middle = kOpening.center().x();
    const QRectF leftHalf(kOpening.left(), kOpening.top(), middle - kOpening.left() + 8,
                          kOpening.height());
    const QRectF rightHalf = leftHalf.translated(kOpening.right() - leftHalf.right(), 0);
    const QRectF fixed = driveLeft ? leftHalf : rightHalf;
    const QRectF sliding = driveLeft ? rightHalf : leftHalf;
    // Open, it stands a little in front of the fixed pane, so that both show.
    const QRectF now = open ? fixed.translated(driveLeft ? 14 : -14, -8) : sliding;
    return {{{fixed, quadOf(fixed)},
             {sliding, quadOf(now), driveLeft ? Hinge::SlidesLeft : Hinge::SlidesRight}},
            {driveLeft ? kOpening.left() + 40 : kOpening.right() - 40}};
}

void drawArrow(QPainter& p, QPointF from, QPointF to, qreal width, const QColor& colour)
{
    const QLineF line(from, to);
    const qreal head = std::min(4 * width, line.length() * 0.6);
    const QPointF back = line.unitVector().p2() - line.p1();
    const QPointF side(-back.y(), back.x());
    const QPointF base = to - back * head;
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, base + back * 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to, base + side * head * 0.5, base - side * head * 0.5}));
}

// The glass of a sash, a parameter pair (u, v) inside the glass mapped onto the picture.
Quad glassOf(const Sash& s)
{
    return s.pose.inset(kStile / s.rest.width(), kStile / s.rest.height());
}

// The usual opening symbol on the glass: from the hinged edge's ends to the middle of the free
// edge; dashed when the sash opens outward.
void drawOpeningSymbol(QPainter& p, const Sash& s)
{
    const Quad g = glassOf(s);
    QPolygonF lines;
    switch (s.hinge) {
    case Hinge::Left:
        lines = {g.tl, g.at(1, 0.5), g.bl};
        break;
    case Hinge::Right:
        lines = {g.tr, g.at(0, 0.5), g.br};
        break;
    case Hinge::Top:
        lines = {g.tl, g.at(0.5, 1), g.tr};
        break;
    case Hinge::Bottom:
        lines = {g.bl, g.at(0.5, 0), g.br};
        break;
    case Hinge::Pivot:
        p.setPen(QPen(kInk, 1.2, Qt::DashDotLine));
        p.drawLine(s.pose.at(0, 0.5), s.pose.at(1, 0.5));
        return;
    case Hinge::SlidesLeft:
        drawArrow(p, g.at(0.85, 0.5), g.at(0.15, 0.5), 2, kInk);
        return;
    case Hinge::SlidesRight:
        drawArrow(p, g.at(0.15, 0.5), g.at(0.85, 0.5), 2, kInk);
        return;
    case Hinge::None:
        return;
    }
    p.setPen(QPen(kInk, 1.2, s.outward ? Qt::DashLine : Qt::SolidLine));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(lines);
}

void drawHinges(QPainter& p, const Sash& s)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kInk);
    const auto mark = [&](QPointF at, QSizeF size) {
        p.drawRoundedRect(QRectF(at - QPointF(size.width() / 2, size.height() / 2), size), 2, 2);
    };
    for (const qreal along : {0.12, 0.88}) {
        switch (s.hinge) {
        case Hinge::Left:
            mark(s.pose.at(0, along), QSizeF(8, 24));
            break;
        case Hinge::Right:
            mark(s.pose.at(1, along), QSizeF(8, 24));
            break;
        case Hinge::Top:
            mark(s.pose.at(along, 0), QSizeF(24, 8));
            break;
        case Hinge::Bottom:
            mark(s.pose.at(along, 1), QSizeF(24, 8));
            break;
        default:
            break;
        }
    }
    if (s.hinge == Hinge::Pivot) {
        for (const qreal u : {0.0, 1.0}) {
            p.setBrush(Qt::white);
            p.drawEllipse(s.pose.at(u, 0.5), 7, 7);
            p.setBrush(kInk);
            p.drawEllipse(s.pose.at(u, 0.5), 3, 3);
        }
    }
}

void drawSash(QPainter& p, const Sash& s)
{
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(kSashFill);
    p.drawPolygon(s.pose.polygon());
    const Quad g = glassOf(s);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kGlass);
    p.drawPolygon(g.polygon());
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(g.at(0.10, 0.22), g.at(0.28, 0.06));
    p.drawLine(g.at(0.10, 0.34), g.at(0.42, 0.06));
    drawOpeningSymbol(p, s);
    drawHinges(p, s);
}

// The safety edge lies along the sash's closing edge, opposite its hinges; a fault interrupts it.
void drawSafetyEdge(QPainter& p, const Sash& s, SafetyEdge edge)
{
    if (edge == SafetyEdge::None)
        return;
    const qreal du = 7 / s.rest.width();
    const qreal dv = 7 / s.rest.height();
    QLineF line(s.pose.at(du, dv), s.pose.at(1 - du, dv));
    if (s.hinge == Hinge::Left)
        line = QLineF(s.pose.at(1 - du, dv), s.pose.at(1 - du, 1 - dv));
    else if (s.hinge == Hinge::Right)
        line = QLineF(s.pose.at(du, dv), s.pose.at(du, 1 - dv));
    else if (s.hinge == Hinge::Top)
        line = QLineF(s.pose.at(du, 1 - dv), s.pose.at(1 - du, 1 - dv));
    QPen pen(edge == SafetyEdge::Fine ? kEdgeFine : kEdgeFault, 8, Qt::SolidLine, Qt::FlatCap);
    if (edge == SafetyEdge::Fault)
        pen.setDashPattern({2.5, 1});
    p.setPen(pen);
    p.drawLine(line);
}

// Corners that moved trace their way from the closed position; a sliding pane shows its way on
// its glass instead.
void drawMotion(QPainter& p, const Sash& s)
{
    if (s.hinge == Hinge::SlidesLeft || s.hinge == Hinge::SlidesRight)
        return;
    const Quad rest = quadOf(s.rest);
    const std::array<std::pair<QPointF, QPointF>, 4> corners{
        {{rest.tl, s.pose.tl}, {rest.tr, s.pose.tr}, {rest.br, s.pose.br}, {rest.bl, s.pose.bl}}};
    for (const auto& [from, to] : corners) {
        if (QLineF(from, to).length() >= 10)
            drawArrow(p, from, to, 3, kMotion);
    }
}

// Drive units on the bottom rail, with their chains up to the sash when it stands open.
void drawDrives(QPainter& p, const Sketch& sketch)
{
    const Quad& sash = sketch.sashes.last().pose;
    for (const qreal x : sketch.drives) {
        const QRectF unit(x - 26, kFrame.bottom() - 14, 52, 11);
        const qreal u = (x - sash.bl.x()) / (sash.br.x() - sash.bl.x());
        const QPointF bottom = sash.at(u, 1);
        if (bottom.y() < unit.top() - 4) {
            p.setPen(QPen(kInk, 4, Qt::DotLine, Qt::FlatCap));
            p.drawLine(QPointF(x, unit.top()), bottom);
        }
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(0x6b, 0x74, 0x7d));
        p.drawRoundedRect(unit, 3, 3);
    }
}

QImage drawSketch(const Sketch& sketch, SafetyEdge edge)
{
    QImage image(kPictureSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath frame;
    frame.addRect(kFrame);
    frame.addRect(kOpening);
    p.setPen(QPen(kInk, 2));
    p.setBrush(kFrameFill);
    p.drawPath(frame);
    p.fillRect(kOpening, kOpen);
    for (const Sash& s : sketch.sashes)
        drawSash(p, s);
    drawSafetyEdge(p, sketch.sashes.last(), edge);
    drawDrives(p, sketch);
    drawMotion(p, sketch.sashes.last());
    return image;
}

// An overlay drawn with antialiasing, put on `background`: edge pixels are mixed with a light
// grey like the surfaces it lies on, the faintest ones become the background.
QImage flattened(const QImage& drawn, QColor background)
{
    QImage out(drawn.size(), QImage::Format_RGB32);
    const QColor under = background == kTransparent ? QColor(0xf0, 0xf0, 0xf0) : background;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            const qreal a = c.alphaF();
            const auto mix = [&](int top, int bottom) {
                return qRound(top * a + bottom * (1 - a));
            };
            out.setPixelColor(x, y,
                              a < 0.2
                                  ? background
                                  : QColor(mix(c.red(), under.red()), mix(c.green(), under.green()),
                                           mix(c.blue(), under.blue())));
        }
    }
    return out;
}

// Overlays on the transparent colour, except the handle: the window draws it as it is, on the
// sash whose colour it carries.
QImage overlay(QSize size, const std::function<void(QPainter&)>& draw,
               QColor background = kTransparent)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return flattened(image, background);
}

// A handle turning on its rosette at (11, 11); the lever points down, or sideways towards the
// middle of the window from a left or right stile.
QImage handle(QPointF leverEnd, qreal rosetteX, QSize size)
{
    return overlay(
        size,
        [&](QPainter& p) {
            const QPointF rosette(rosetteX, 11);
            p.setPen(QPen(kInk, 7.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(rosette, leverEnd);
            p.setPen(QPen(kMetal, 4.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(rosette, leverEnd);
            p.setPen(QPen(kInk, 1.5));
            p.setBrush(kMetal);
            p.drawEllipse(rosette, 8.5, 8.5);
            p.setBrush(kInk);
            p.drawEllipse(rosette, 2.5, 2.5);
        },
        kSashFill);
}

QFont boldFont(int pixels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

// A round radio badge with an antenna and its waves, and the radio variant's number.
QImage radio(int variant)
{
    return overlay(QSize(32, 32), [&](QPainter& p) {
        const QColor blue(0x15, 0x65, 0xc0);
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(blue);
        p.drawEllipse(QPointF(14, 14), 13, 13);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 12), QPointF(14, 22));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(14, 11), 2, 2);
        p.setBrush(Qt::NoBrush);
        for (const qreal r : {5.0, 8.5}) {
            const QRectF arc(14 - r, 11 - r, 2 * r, 2 * r);
            p.drawArc(arc, -45 * 16, 90 * 16);
            p.drawArc(arc, 135 * 16, 90 * 16);
        }
        p.setPen(QPen(blue, 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(24.5, 24.5), 7, 7);
        p.setFont(boldFont(11));
        p.drawText(QRectF(17.5, 17.5, 14, 14), Qt::AlignCenter, QString::number(variant));
    });
}

// The padlock icons: body and shackle; the open one has its shackle lifted out on the right.
QImage padlock(bool locked)
{
    return overlay(QSize(16, 16), [&](QPainter& p) {
        const qreal lift = locked ? 0 : 2.5;
        const qreal right = locked ? 0 : 4.5;
        p.setPen(QPen(locked ? kEdgeFault : QColor(0x80, 0x86, 0x8c), 2));
        p.setBrush(Qt::NoBrush);
        QPainterPath shackle;
        shackle.moveTo(3.5 + right, 8 - lift);
        shackle.lineTo(3.5 + right, 5 - lift);
        shackle.arcTo(QRectF(3.5 + right, 1 - lift, 7, 8), 180, -180);
        shackle.lineTo(10.5 + right, 8 - lift);
        p.drawPath(shackle);
        p.setPen(QPen(QColor(0x7a, 0x5a, 0x00), 1));
        p.setBrush(QColor(0xe8, 0xb4, 0x1c));
        p.drawRoundedRect(QRectF(1.5, 7.5, 11, 7.5), 1.5, 1.5);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(7, 11), 1, 1);
    });
}

QImage questionMark()
{
    return overlay(QSize(16, 16), [](QPainter& p) {
        p.setPen(QColor(0x15, 0x65, 0xc0));
        p.setFont(boldFont(15));
        p.drawText(QRectF(0, 0, 16, 15), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QImage greyed(const QImage& image)
{
    return image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: make_window_pictures <output folder> <list file>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }

    QList<std::pair<QString, QImage>> pictures;
    const std::array<std::pair<QChar, SafetyEdge>, 3> edges{
        {{u'x', SafetyEdge::None}, {u'0', SafetyEdge::Fine}, {u'1', SafetyEdge::Fault}}};
    for (const char* kind : {"ZM", "ZO", "AL", "AR", "KS", "KM", "SW", "DK", "OO", "DKR"}) {
        for (const auto& [letter, edge] : edges) {
            pictures.append(
                {QStringLiteral("Fenster%1%2.bmp").arg(QLatin1StringView(kind)).arg(letter),
                 drawSketch(windowSketch(kind), edge)});
        }
    }
    for (const bool open : {false, true}) {
        for (const bool driveLeft : {false, true}) {
            pictures.append({QStringLiteral("schi_%1_%2.bmp")
                                 .arg(QLatin1StringView(open ? "au" : "zu"),
                                      QLatin1StringView(driveLeft ? "li" : "re")),
                             drawSketch(slidingSketch(open, driveLeft), SafetyEdge::None)});
        }
    }
    pictures.append({QStringLiteral("FensterRoh.bmp"),
                     greyed(drawSketch(windowSketch("ZM"), SafetyEdge::None))});
    pictures.append({QStringLiteral("HebelVM.bmp"), handle(QPointF(11, 55), 11, QSize(22, 60))});
    pictures.append({QStringLiteral("HebelHL.bmp"), handle(QPointF(45, 11), 11, QSize(50, 22))});
    pictures.append({QStringLiteral("HebelHR.bmp"), handle(QPointF(5, 11), 39, QSize(50, 22))});
    pictures.append({QStringLiteral("Funk_1.bmp"), radio(1)});
    pictures.append({QStringLiteral("Funk_2.bmp"), radio(2)});
    pictures.append({QStringLiteral("Schloss_offen.bmp"), padlock(false)});
    pictures.append({QStringLiteral("Schloss_zu.bmp"), padlock(true)});
    pictures.append({QStringLiteral("Schloss_unbekannt.bmp"), questionMark()});

    QFile list(QString::fromLocal8Bit(argv[2]));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) {
        err << "cannot write " << list.fileName() << "\n";
        return 1;
    }
    QTextStream names(&list);
    for (const auto& [name, image] : pictures) {
        if (!image.save(out.filePath(name), "BMP")) {
            err << "could not write " << out.filePath(name) << "\n";
            return 1;
        }
        names << name << "\n";
    }
    return 0;
}
