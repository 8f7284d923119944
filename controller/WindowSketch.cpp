#include "WindowSketch.h"

#include "platform/RunTimeFiles.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>

QPixmap TransparentBitmap(const QString& path)
{
    QPixmap pixmap(path);
    if (pixmap.isNull())
        return pixmap;
    const QImage image = pixmap.toImage();
    const QColor key = image.pixelColor(0, image.height() - 1);
    pixmap.setMask(pixmap.createMaskFromColor(key, Qt::MaskInColor));
    return pixmap;
}

DrawnSketch DrawWindowSketch(const QString& directory, const PictureRebuild& rebuild,
                             const std::optional<PictureOverlay>& radio, const QPixmap& previous)
{
    const QPixmap sketch(RunTimeFile(directory, rebuild.pictureFile));
    DrawnSketch drawn{sketch.isNull() ? previous : sketch, std::nullopt};
    if (!drawn.picture.isNull()) {
        QPainter painter(&drawn.picture);
        if (rebuild.handle)
            painter.drawPixmap(rebuild.handle->topLeft,
                               QPixmap(RunTimeFile(directory, rebuild.handle->fileName)));
        if (radio)
            painter.drawPixmap(radio->topLeft,
                               TransparentBitmap(RunTimeFile(directory, radio->fileName)));
    }
    QStringList files{rebuild.pictureFile};
    for (const std::optional<PictureOverlay>& overlay : {rebuild.handle, radio}) {
        if (overlay)
            files << overlay->fileName;
    }
    drawn.missingFile = MissingFileMessage(directory, files);
    return drawn;
}
