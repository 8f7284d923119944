// The bitmaps drawn at build time against the names the picture rule can ask for: every name is
// there, no file is left over, and the sketches and icons have the sizes the window shows.
#include "controller/core/ControllerState.h"
#include "controller/core/LockingIcon.h"
#include "controller/core/WindowPicture.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QSize>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

const QDir kPictures(QStringLiteral(WINDOW_PICTURE_DIR));

// Every picture and overlay name the rule produces over all the states it reads.
QSet<QString> namesTheRuleAsksFor()
{
    QSet<QString> names;
    for (int type = 0; type <= 10; ++type) {
        for (int stateClass = 0; stateClass <= 2; ++stateClass) {
            for (int edge = 0; edge <= 2; ++edge) {
                for (int windowType = 0; windowType <= 5; ++windowType) {
                    for (int flags = 0; flags < 4; ++flags) {
                        for (int handle = 0; handle <= 2; ++handle) {
                            ControllerState s;
                            s.controllerType = type;
                            s.windowStateClass = stateClass;
                            s.safetyEdgeState = edge;
                            s.windowType = windowType;
                            s.windowTypeItem = windowType - 1;
                            s.electronicsLeft = flags & 1;
                            s.topHungArticle = flags & 2;
                            s.handlePosition = handle;
                            const std::optional<PictureRebuild> r = PictureStep(s);
                            names.insert(r->pictureFile);
                            if (r->handle)
                                names.insert(r->handle->fileName);
                        }
                    }
                }
            }
        }
    }
    for (int parameter32 = 0; parameter32 <= 3; ++parameter32) {
        for (int windowType = 0; windowType <= 5; ++windowType) {
            if (const auto radio = RadioOverlay(parameter32, windowType))
                names.insert(radio->fileName);
        }
    }
    names.insert(kRawPictureFile);
    return names;
}

// Width and height from a bitmap file's header.
QSize bitmapSize(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray header = file.read(26);
    if (header.size() < 26 || !header.startsWith("BM"))
        return {};
    return QSize(qFromLittleEndian<qint32>(header.constData() + 18),
                 qAbs(qFromLittleEndian<qint32>(header.constData() + 22)));
}

TEST(PictureFiles, ExactlyTheNamesTheRuleAndTheIconsUse)
{
    const QSet<QString> pictures = namesTheRuleAsksFor();
    // 27 window sketches, 3 outward turn-tilt, 4 sliding, 3 handles, 2 radio, the raw picture.
    EXPECT_EQ(pictures.size(), 40);
    QSet<QString> expected = pictures;
    for (const LockingIcon icon :
         {LockingIcon::Unlocked, LockingIcon::Locked, LockingIcon::Unknown})
        expected.insert(LockingIconFile(icon));
    EXPECT_EQ(expected.size(), 43) << "the three icons have files of their own";

    const QStringList files = kPictures.entryList({QStringLiteral("*.bmp")}, QDir::Files);
    const QSet<QString> drawn(files.begin(), files.end());
    EXPECT_EQ(expected - drawn, QSet<QString>()) << "asked for but not drawn";
    EXPECT_EQ(drawn - expected, QSet<QString>()) << "drawn but never asked for";
}

TEST(PictureFiles, SketchesFillThePictureAndIconsAreSixteenPixels)
{
    const QStringList files = kPictures.entryList({QStringLiteral("*.bmp")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        const QSize size = bitmapSize(kPictures.filePath(name));
        if (name.startsWith(u"Fenster") || name.startsWith(u"schi_"))
            EXPECT_EQ(size, QSize(348, 350)) << name.toStdString();
        else if (name.startsWith(u"Schloss_"))
            EXPECT_EQ(size, QSize(16, 16)) << name.toStdString();
        else
            EXPECT_FALSE(size.isEmpty()) << name.toStdString();
    }
}

TEST(PictureFiles, LockedUnlockedAndUnknownShowDifferentIcons)
{
    const QString locked = LockingIconFile(LockingIconFor(true));
    const QString unlocked = LockingIconFile(LockingIconFor(false));
    const QString unknown = LockingIconFile(LockingIcon::Unknown);
    EXPECT_NE(locked, unlocked);
    EXPECT_NE(locked, unknown);
    EXPECT_NE(unlocked, unknown);
    QFile a(kPictures.filePath(locked));
    QFile b(kPictures.filePath(unlocked));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_NE(a.readAll(), b.readAll());
}

} // namespace
