// The window picture of the controller window drawn from the program directory's bitmaps: the
// sketch with the handle and the radio symbol on it, and the text naming a missing file.
#pragma once

#include "controller/core/WindowPicture.h"

#include <QPixmap>
#include <QString>

#include <optional>

struct DrawnSketch {
    // Null when neither the sketch nor a previous picture exists.
    QPixmap picture;
    // For `lbl2`: the last missing file of sketch, handle and radio symbol.
    std::optional<QString> missingFile;
};

// The files are looked up as run-time files of the program in `directory`. A missing sketch
// leaves `previous`, and the overlays are drawn onto that. The handle is drawn
// as it is, the radio symbol with its background transparent.
[[nodiscard]] DrawnSketch DrawWindowSketch(const QString& directory, const PictureRebuild& rebuild,
                                           const std::optional<PictureOverlay>& radio,
                                           const QPixmap& previous);

// A bitmap with the colour of its bottom-left pixel transparent.
[[nodiscard]] QPixmap TransparentBitmap(const QString& path);
