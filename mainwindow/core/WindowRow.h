// One device found by the bus scan and how the window list shows it: the eight cell texts of its
// row, the header texts, the colour scheme of the status cell and the cell alignment.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

constexpr int kStatusIncomplete = 0x10000;
constexpr int kStatusChecksumError = 0x10001;
constexpr int kWindowListColumns = 8;

enum class DeviceKind { Controller, GroupUnit };
// What the status word of a row says: the controller's operating state, or how its reply failed.
enum class StatusKind { Normal, Commissioning, Unknown, Incomplete, ChecksumError };

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
    DeviceKind kind = DeviceKind::Controller;

    [[nodiscard]] bool isGroupUnit() const { return kind == DeviceKind::GroupUnit; }
    [[nodiscard]] StatusKind statusKind() const;
    // The top-hung articles 480201 and 480202, which the controller window draws differently.
    [[nodiscard]] bool isTopHungArticle() const;
};

// What a status word says.
[[nodiscard]] StatusKind StatusKindOf(int status);

// The eight cells of a device row in the current language.
[[nodiscard]] QStringList WindowRowTexts(const TFensterInfo& info);
// The header cells, each a blank and the column's text.
[[nodiscard]] QStringList WindowListHeader();
// Column 7's text of a status: a blank, the text and a blank.
[[nodiscard]] QString StatusText(int status);

// The colours of the status cell: red for events, yellow in commissioning, green in normal
// operation; Plain keeps the grid's background with the window text colour.
enum class StatusColour { Plain, Normal, Commissioning, Events };
[[nodiscard]] StatusColour StatusColourOf(const TFensterInfo& info);
// The background and text of a status cell as 0xRRGGBB; nothing for Plain.
struct StatusCellColours {
    uint32_t background;
    uint32_t text;
};
[[nodiscard]] std::optional<StatusCellColours> StatusCellColoursOf(StatusColour colour);
// Horizontal alignment of a column, for the header row or for device rows.
[[nodiscard]] Qt::Alignment CellAlignment(int column, bool header);
