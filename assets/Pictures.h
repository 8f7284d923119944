// The pictures the dialogs show, drawn at build time into the program's resources: the product
// photograph of the bus-scan dialog and the two sizes of the logo.
#pragma once

#include <QPixmap>

[[nodiscard]] QPixmap ProductPhoto();
// 268 x 32 pixels, for the bus-scan dialog.
[[nodiscard]] QPixmap WideLogo();
// 189 x 44 pixels, for the info dialog.
[[nodiscard]] QPixmap InfoLogo();
