// The controller window's picture drawn from bitmap files in a folder of the test's: a missing
// sketch keeps the previous picture under the overlays, the handle is drawn as it is and the
// radio symbol with its background transparent, and the text names the last missing file.
#include "controller/WindowSketch.h"
#include "texts/Sprachen.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kFileNotFound = 366;

// A small bitmap of one colour whose bottom-left pixel has another.
void saveBitmap(const QString& path, QColor fill, QColor bottomLeft)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixelColor(0, 3, bottomLeft);
    ASSERT_TRUE(image.save(path, "BMP"));
}

QColor pixel(const QPixmap& picture, QPoint at)
{
    return picture.toImage().pixelColor(at);
}

TEST(WindowSketch, MissingSketchKeepsThePreviousPictureUnderTheOverlays)
{
    SetCurrentLanguage(German);
    QTemporaryDir dir;
    saveBitmap(dir.filePath(QStringLiteral("HebelVM.bmp")), Qt::red, Qt::blue);
    saveBitmap(dir.filePath(QStringLiteral("Funk_1.bmp")), Qt::green, Qt::black);
    QImage white(40, 40, QImage::Format_RGB32);
    white.fill(Qt::white);
    const QPixmap previous = QPixmap::fromImage(white);
    const PictureOverlay handle{QStringLiteral("HebelVM.bmp"), QPoint(10, 10)};
    const PictureOverlay radio{QStringLiteral("Funk_1.bmp"), QPoint(20, 20)};

    const DrawnSketch drawn = DrawWindowSketch(
        dir.path(), PictureRebuild{QStringLiteral("FensterKM0.bmp"), handle}, radio, previous);
    ASSERT_FALSE(drawn.picture.isNull());
    EXPECT_EQ(pixel(drawn.picture, {11, 10}), QColor(Qt::red));
    EXPECT_EQ(pixel(drawn.picture, {10, 13}), QColor(Qt::blue)); // the handle as it is
    EXPECT_EQ(pixel(drawn.picture, {21, 20}), QColor(Qt::green));
    EXPECT_EQ(pixel(drawn.picture, {20, 23}), QColor(Qt::white)); // the radio's key colour
    EXPECT_EQ(pixel(drawn.picture, {0, 0}), QColor(Qt::white));
    EXPECT_EQ(drawn.missingFile, "FensterKM0.bmp " + LanguageText(kFileNotFound));

    // The last missing file is named: the handle after the sketch, the radio after the handle.
    QFile::remove(dir.filePath(QStringLiteral("HebelVM.bmp")));
    EXPECT_EQ(DrawWindowSketch(dir.path(), PictureRebuild{QStringLiteral("FensterKM0.bmp"), handle},
                               radio, previous)
                  .missingFile,
              "HebelVM.bmp " + LanguageText(kFileNotFound));
    QFile::remove(dir.filePath(QStringLiteral("Funk_1.bmp")));
    saveBitmap(dir.filePath(QStringLiteral("FensterKM0.bmp")), Qt::gray, Qt::gray);
    EXPECT_EQ(DrawWindowSketch(dir.path(), PictureRebuild{QStringLiteral("FensterKM0.bmp"), handle},
                               radio, previous)
                  .missingFile,
              "Funk_1.bmp " + LanguageText(kFileNotFound));
    // All there: no text, and the sketch itself is shown.
    saveBitmap(dir.filePath(QStringLiteral("HebelVM.bmp")), Qt::red, Qt::blue);
    const DrawnSketch whole =
        DrawWindowSketch(dir.path(), PictureRebuild{QStringLiteral("FensterKM0.bmp"), handle},
                         std::nullopt, previous);
    EXPECT_FALSE(whole.missingFile);
    EXPECT_EQ(whole.picture.size(), QSize(4, 4));
}

} // namespace
