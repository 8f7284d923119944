// The window picture of the controller window: which sketch shows the window's state, when it is
// rebuilt, and where the handle and radio symbols go on it. The window loads and paints the files.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

struct ControllerState;

// The picture the window shows at opening, loaded from the current directory.
inline constexpr QLatin1StringView kRawPictureFile("FensterRoh.bmp");

// A bitmap drawn onto the picture with its top-left corner at `topLeft`. Pixels of the colour of
// its bottom-left pixel are transparent.
struct PictureOverlay {
    QString fileName;
    QPoint topLeft;

    [[nodiscard]] bool operator==(const PictureOverlay&) const = default;
};

// One rebuild: the sketch from the program directory, then the handle drawn on it (none when the
// window has no handle sensor or a sliding drive).
struct PictureRebuild {
    QString pictureFile;
    std::optional<PictureOverlay> handle;

    [[nodiscard]] bool operator==(const PictureRebuild&) const = default;
};

// The picture step of every refresh: counts the refresh and returns the rebuild when the state
// shown changed or every fifth refresh. A rebuild also reads parameter 32 (radio overlay) and
// parameter 33 (drive sides); without one neither is read.
[[nodiscard]] std::optional<PictureRebuild> PictureStep(ControllerState& state);

// The radio symbol for parameter 32 (1 or 2); none for other values.
[[nodiscard]] std::optional<PictureOverlay> RadioOverlay(int parameter32, int windowType);

// The text of `lbl2` after drawing `fileNames` (run-time files of the program in `directory`) in
// this order: the last missing file's name, a blank and "Datei nicht gefunden"; none when all
// exist (lbl2 keeps its text).
[[nodiscard]] std::optional<QString> MissingFileMessage(const QString& directory,
                                                        const QStringList& fileNames);
