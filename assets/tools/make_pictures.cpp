// Draws the pictures the dialogs show: the product photograph (a top-hung window with its chain
// drive and the Fenestrix controller on the wall) as a JPEG, the two logos from their SVGs, and
// the desktop icon in the sizes of the icon theme (hicolor/NxN/apps/fenestrix.png).
// Usage: make_pictures <folder with the SVGs> <output folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QSvgRenderer>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

constexpr QSize kPhotoSize(640, 400);
const QRect kFrame(70, 40, 360, 290); // outer window frame on the wall
constexpr int kFrameWidth = 22;
constexpr int kSashInset = 12; // how far the open sash's bottom edge looks drawn in
const QRect kController(472, 150, 96, 104);

void drawWall(QPainter& p)
{
    // Daylight from the window falls off towards the edges of the wall.
    QRadialGradient light(QPointF(kFrame.center()), 520);
    light.setColorAt(0.0, QColor(0xf3, 0xee, 0xe6));
    light.setColorAt(1.0, QColor(0xb9, 0xb1, 0xa6));
    p.fillRect(QRect(QPoint(0, 0), kPhotoSize), light);

    const QRect skirting(0, kPhotoSize.height() - 22, kPhotoSize.width(), 22);
    QLinearGradient board(skirting.topLeft(), skirting.bottomLeft());
    board.setColorAt(0.0, QColor(0xe8, 0xe4, 0xdc));
    board.setColorAt(1.0, QColor(0xc4, 0xbd, 0xb2));
    p.fillRect(skirting, board);
    p.fillRect(QRect(0, skirting.top() - 2, kPhotoSize.width(), 2), QColor(0, 0, 0, 40));
}

void drawShadow(QPainter& p, const QRect& r, int blur)
{
    for (int i = blur; i > 0; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 5));
        p.drawRoundedRect(r.adjusted(-i + 4, -i + 6, i + 4, i + 6), i, i);
    }
}

// The house opposite and a few trees, in the lower part of the pane.
void drawStreet(QPainter& p, const QRect& glass)
{
    const int ground = glass.bottom() + 1;
    const QRect house(glass.left() + 30, ground - 78, 150, 78);
    QPainterPath roof;
    roof.moveTo(house.left() - 10, house.top());
    roof.lineTo(house.center().x(), house.top() - 38);
    roof.lineTo(house.right() + 10, house.top());
    roof.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8e, 0x4a, 0x3a));
    p.drawPath(roof);
    p.fillRect(house, QColor(0xe4, 0xd7, 0xc0));
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QRect pane(house.left() + 14 + col * 35, house.top() + 12 + row * 32, 18, 20);
            p.fillRect(pane, QColor(0x55, 0x6b, 0x7d));
            p.fillRect(pane.adjusted(0, 0, 0, -pane.height() / 2), QColor(0x7d, 0x96, 0xa8));
        }
    }

    const QRect block(glass.right() - 95, ground - 120, 95, 120);
    p.fillRect(block, QColor(0xb7, 0xbd, 0xc2));
    for (int y = block.top() + 10; y < block.bottom() - 14; y += 22)
        p.fillRect(QRect(block.left() + 10, y, block.width() - 10, 9), QColor(0x6f, 0x7f, 0x8c));

    const auto tree = [&](QPointF at, qreal size) {
        p.fillRect(QRectF(at.x() - 2, at.y(), 4, ground - at.y()), QColor(0x5a, 0x45, 0x33));
        for (const QPointF offset : {QPointF(0, -size * 0.6), QPointF(-size * 0.5, -size * 0.2),
                                     QPointF(size * 0.5, -size * 0.25), QPointF(0, -size * 0.1)}) {
            QRadialGradient leaves(at + offset - QPointF(size * 0.2, size * 0.2), size * 0.8);
            leaves.setColorAt(0.0, QColor(0x7f, 0xa8, 0x5c));
            leaves.setColorAt(1.0, QColor(0x3e, 0x63, 0x34));
            p.setBrush(leaves);
            p.drawEllipse(at + offset, size * 0.6, size * 0.55);
        }
    };
    tree(QPointF(glass.left() + 200, ground - 30), 34);
    tree(QPointF(glass.left() + 12, ground - 22), 26);
}

void drawSky(QPainter& p, const QRect& glass)
{
    QLinearGradient sky(glass.topLeft(), glass.bottomLeft());
    sky.setColorAt(0.0, QColor(0x5d, 0x93, 0xc9));
    sky.setColorAt(0.7, QColor(0xa9, 0xcb, 0xe6));
    sky.setColorAt(1.0, QColor(0xd9, 0xe6, 0xee));
    p.fillRect(glass, sky);

    auto cloud = [&](QPointF centre, qreal w, qreal h) {
        QRadialGradient g(centre, w);
        g.setColorAt(0.0, QColor(255, 255, 255, 200));
        g.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(centre, w, h);
    };
    cloud(QPointF(glass.left() + 80, glass.top() + 60), 70, 18);
    cloud(QPointF(glass.left() + 120, glass.top() + 52), 50, 14);
    cloud(QPointF(glass.right() - 70, glass.top() + 95), 60, 12);

    drawStreet(p, glass);
}

QPolygonF sashOutline()
{
    // The sash hangs at the top and swings out at the bottom, so its lower edge looks narrower.
    const QRect inner = kFrame.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
    return QPolygonF({QPointF(inner.left(), inner.top()), QPointF(inner.right() + 1, inner.top()),
                      QPointF(inner.right() + 1 - kSashInset, inner.bottom() - kSashInset),
                      QPointF(inner.left() + kSashInset, inner.bottom() - kSashInset)});
}

void drawWindow(QPainter& p)
{
    drawShadow(p, kFrame, 10);
    const QRect inner = kFrame.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);

    // The reveal behind the sash, seen through the gap of the open window.
    QLinearGradient reveal(inner.topLeft(), inner.bottomLeft());
    reveal.setColorAt(0.0, QColor(0x3a, 0x3f, 0x44));
    reveal.setColorAt(1.0, QColor(0x9c, 0xa3, 0xa8));
    p.fillRect(inner, reveal);

    QLinearGradient frameShade(kFrame.topLeft(), kFrame.bottomRight());
    frameShade.setColorAt(0.0, QColor(0x4a, 0x50, 0x56));
    frameShade.setColorAt(1.0, QColor(0x2e, 0x33, 0x38));
    QPainterPath frame;
    frame.addRect(kFrame);
    frame.addRect(inner);
    p.setPen(Qt::NoPen);
    p.setBrush(frameShade);
    p.drawPath(frame);
    p.setPen(QPen(QColor(255, 255, 255, 45), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(kFrame.adjusted(1, 1, -2, -2));

    const QPolygonF sash = sashOutline();
    QPainterPath sashPath;
    sashPath.addPolygon(sash);
    sashPath.closeSubpath();
    const QRect glass = sash.boundingRect().toRect().adjusted(16, 16, -16, -16);
    p.save();
    p.setClipPath(sashPath);
    drawSky(p, glass);
    QPainterPath sashFrame = sashPath;
    sashFrame.addRect(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3b, 0x41, 0x47));
    p.drawPath(sashFrame);

    // A soft reflection across the pane.
    QLinearGradient glare(glass.topLeft(), glass.bottomRight());
    glare.setColorAt(0.30, QColor(255, 255, 255, 0));
    glare.setColorAt(0.42, QColor(255, 255, 255, 55));
    glare.setColorAt(0.50, QColor(255, 255, 255, 0));
    p.fillRect(glass, glare);
    p.restore();

    // Handle on the right side of the sash.
    p.setBrush(QColor(0xc9, 0xcc, 0xcf));
    p.setPen(QPen(QColor(0x70, 0x74, 0x78), 1));
    p.drawRoundedRect(QRectF(sash[1].x() - 14, 160, 7, 44), 3, 3);
}

void drawSill(QPainter& p)
{
    const QRect sill(kFrame.left() - 16, kFrame.bottom() + 1, kFrame.width() + 32, 14);
    drawShadow(p, sill, 6);
    QLinearGradient wood(sill.topLeft(), sill.bottomLeft());
    wood.setColorAt(0.0, QColor(0xe2, 0xc9, 0xa2));
    wood.setColorAt(1.0, QColor(0xb8, 0x97, 0x6a));
    p.fillRect(sill, wood);
}

void drawChainDrive(QPainter& p)
{
    // Chain drive on the bottom rail of the frame; its chain holds the sash open.
    const int rail = kFrame.bottom() - kFrameWidth + 1;
    const QRectF body(kFrame.center().x() - 80, rail + 3, 160, 15);
    QLinearGradient metal(body.topLeft(), body.bottomLeft());
    metal.setColorAt(0.0, QColor(0xf4, 0xf5, 0xf6));
    metal.setColorAt(0.45, QColor(0xc4, 0xc9, 0xcd));
    metal.setColorAt(1.0, QColor(0x7c, 0x82, 0x88));
    p.setPen(QPen(QColor(0x4c, 0x51, 0x56), 1));
    p.setBrush(metal);
    p.drawRoundedRect(body, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x26, 0x29, 0x2c));
    p.drawRoundedRect(QRectF(body.left(), body.top(), 10, body.height()), 2, 2);
    p.drawRoundedRect(QRectF(body.right() - 10, body.top(), 10, body.height()), 2, 2);

    // Chain links from the drive up to the bracket on the sash.
    const qreal x = body.center().x();
    const qreal sashBottom = rail - kSashInset;
    p.setPen(QPen(QColor(0x2c, 0x2f, 0x32), 2));
    p.setBrush(QColor(0x9a, 0x9f, 0xa4));
    for (qreal y = body.top() - 5; y > sashBottom; y -= 5)
        p.drawRoundedRect(QRectF(x - 3, y, 6, 6), 2, 2);
    p.setBrush(QColor(0x55, 0x5a, 0x5f));
    p.drawRect(QRectF(x - 12, sashBottom - 8, 24, 7));
}

void drawController(QPainter& p)
{
    drawShadow(p, kController, 8);
    QLinearGradient housing(kController.topLeft(), kController.bottomLeft());
    housing.setColorAt(0.0, QColor(0xf7, 0xf7, 0xf5));
    housing.setColorAt(1.0, QColor(0xd3, 0xd4, 0xd2));
    p.setPen(QPen(QColor(0x9a, 0x9c, 0x9e), 1));
    p.setBrush(housing);
    p.drawRoundedRect(kController, 6, 6);

    const QRect band(kController.left() + 1, kController.top() + 10, kController.width() - 1, 18);
    p.fillRect(band, QColor(0x0b, 0x5c, 0x73));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(band, Qt::AlignCenter, QStringLiteral("FENESTRIX"));

    const auto led = [&](QPointF at, QColor colour) {
        QRadialGradient glow(at, 6);
        glow.setColorAt(0.0, colour.lighter(160));
        glow.setColorAt(0.5, colour);
        glow.setColorAt(1.0, QColor(colour.red(), colour.green(), colour.blue(), 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(at, 6, 6);
    };
    led(QPointF(kController.left() + 18, kController.top() + 44), QColor(0x2e, 0xc2, 0x4a));
    led(QPointF(kController.left() + 34, kController.top() + 44), QColor(0xf0, 0xa0, 0x20));

    // Terminal strip with the bus and drive wires.
    const QRect terminals(kController.left() + 12, kController.bottom() - 30,
                          kController.width() - 24, 16);
    p.fillRect(terminals, QColor(0x8f, 0x94, 0x99));
    p.setPen(QPen(QColor(0x3d, 0x42, 0x47), 1));
    p.setBrush(QColor(0xc8, 0xcc, 0xcf));
    for (int x = terminals.left() + 6; x < terminals.right(); x += 12)
        p.drawEllipse(QPoint(x, terminals.center().y()), 3, 3);
}

void drawCables(QPainter& p)
{
    // Drive cable from the controller along the wall to the frame, bus cable down to the floor.
    QPainterPath drive;
    drive.moveTo(kController.left() + 20, kController.bottom());
    drive.cubicTo(kController.left() + 10, kFrame.bottom() - 10, kFrame.right() + 30,
                  kFrame.bottom() - 10, kFrame.right() - 2, kFrame.bottom() - 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 40), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(drive.translated(1, 2));
    p.setPen(QPen(QColor(0x8c, 0x90, 0x94), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(drive);

    const QRect duct(kController.center().x() + 10, kController.bottom(), 14,
                     kPhotoSize.height() - 22 - kController.bottom());
    p.fillRect(duct.translated(2, 0), QColor(0, 0, 0, 30));
    QLinearGradient plastic(duct.topLeft(), duct.topRight());
    plastic.setColorAt(0.0, QColor(0xfa, 0xfa, 0xf8));
    plastic.setColorAt(1.0, QColor(0xd8, 0xd8, 0xd4));
    p.fillRect(duct, plastic);
}

// Grain and a darker rim, so that the drawing reads as a photograph.
void finishAsPhoto(QImage& image)
{
    QRandomGenerator random(20240611);
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    const qreal reach = std::hypot(centre.x(), centre.y());
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const qreal rim = std::hypot(x - centre.x(), y - centre.y()) / reach;
            const qreal shade = 1.0 - 0.28 * rim * rim;
            const int grain = random.bounded(-5, 6);
            const auto channel = [&](int c) {
                return std::clamp(static_cast<int>(c * shade) + grain, 0, 255);
            };
            const QRgb pixel = line[x];
            line[x] = qRgb(channel(qRed(pixel)), channel(qGreen(pixel)), channel(qBlue(pixel)));
        }
    }
}

QImage productPhoto()
{
    QImage image(kPhotoSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawWall(p);
    drawCables(p);
    drawWindow(p);
    drawChainDrive(p);
    drawSill(p);
    drawController(p);
    p.end();
    finishAsPhoto(image);
    return image;
}

bool renderSvg(const QString& svgPath, QSize size, const QString& pngPath)
{
    QSvgRenderer svg(svgPath);
    if (!svg.isValid())
        return false;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    svg.render(&p);
    p.end();
    return image.save(pngPath, "PNG");
}

// The sizes a desktop looks for in the hicolor theme; the SVG itself serves every other size.
bool renderIcons(const QString& svgPath, const QDir& out)
{
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        if (!out.mkpath(folder) ||
            !renderSvg(svgPath, QSize(size, size),
                       out.filePath(folder + QStringLiteral("/fenestrix.png"))))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: make_pictures <svg folder> <output folder>\n";
        return 2;
    }
    const QDir svgDir(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath(QStringLiteral("."))) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }
    const bool ok = productPhoto().save(out.filePath(QStringLiteral("product.jpg")), "JPEG", 88) &&
                    renderSvg(svgDir.filePath(QStringLiteral("logo-wide.svg")), QSize(268, 32),
                              out.filePath(QStringLiteral("logo-scan.png"))) &&
                    renderSvg(svgDir.filePath(QStringLiteral("logo-info.svg")), QSize(189, 44),
                              out.filePath(QStringLiteral("logo-info.png"))) &&
                    renderIcons(svgDir.filePath(QStringLiteral("fenestrix.svg")), out);
    if (!ok) {
        err << "could not draw the pictures into " << out.path() << "\n";
        return 1;
    }
    return 0;
}
