// One device found by the bus scan and how the window list shows it: the eight cell texts of its
// row, the header texts, the status colours and the cell alignment.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

constexpr int kStatusIncomplete = 0x10000;
constexpr int kStatusChecksumError = 0x10001;
constexpr int kWindowListColumns = 8;

struct TFensterInfo {
    int address = 0;
    int windowKind = 0;
    int handleFlag = 0;
    int electronicsSide = 0;
    int softwareVersion = 0;
    int hardwareVersion = 0;
    int status = 0;
    int state = 0;
    int eventBits = 0;
    int chainLength = 0;
    QString articleNumber;
};

// The eight cells of a device row in the current language.
[[nodiscard]] QStringList WindowRowTexts(const TFensterInfo& info);
// The header cells, each a blank and the column's text.
[[nodiscard]] QStringList WindowListHeader();
// Column 7's text of a status: a blank, the text and a blank.
[[nodiscard]] QString StatusText(int status);

struct CellColours {
    QColor background;
    QColor text;
};
// The colours column 7 gets for its exact text; nothing when it keeps the grid's colours.
[[nodiscard]] std::optional<CellColours> StatusColours(const QString& statusCell);
// Horizontal alignment of a column, for the header row or for device rows.
[[nodiscard]] Qt::Alignment CellAlignment(int column, bool header);
