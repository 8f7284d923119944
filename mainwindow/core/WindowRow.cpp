#include "WindowRow.h"

#include "buslink/ParameterTable.h"
#include "service/core/Tools01.h"
#include "texts/Sprachen.h"

namespace {

const QString kTopHungArticle = QStringLiteral("480202");
const QString kTopHungSmokeVentArticle = QStringLiteral("480201");

QString sided(int side, int rightText, int leftText)
{
    return LanguageText(side == 0 ? rightText : leftText);
}

QString typeText(const TFensterInfo& info)
{
    const int side = info.electronicsSide;
    switch (info.windowKind) {
    case 1:
        return info.handleFlag == 1 ? sided(side, 406, 409) : sided(side, 405, 408);
    case 2:
        return info.handleFlag == 1 ? sided(side, 406, 409) : sided(side, 404, 407);
    case 3:
        return LanguageText(410);
    case 4:
        return info.articleNumber == kTopHungArticle ? LanguageText(420) : sided(side, 411, 412);
    case 5:
        return info.articleNumber == kTopHungSmokeVentArticle ? LanguageText(419)
                                                              : sided(side, 413, 414);
    case 6:
        return LanguageText(415);
    case 7:
        return sided(side, 416, 417);
    case 8:
        return LanguageText(421);
    case 9:
        return LanguageText(422);
    default:
        return info.handleFlag == 1 ? sided(side, 406, 409) : LanguageText(306);
    }
}

QString versionText(int version, const char* format)
{
    return QString::asprintf(format, unsigned(version >> 8) & 0xFF, unsigned(version) & 0xFF);
}

} // namespace

StatusKind TFensterInfo::statusKind() const
{
    return StatusKindOf(status);
}

StatusKind StatusKindOf(int status)
{
    if (status < 12)
        return StatusKind::Normal;
    if (status == 15)
        return StatusKind::Commissioning;
    if (status == kStatusIncomplete)
        return StatusKind::Incomplete;
    if (status == kStatusChecksumError)
        return StatusKind::ChecksumError;
    return StatusKind::Unknown;
}

bool TFensterInfo::isTopHungArticle() const
{
    return articleNumber == kTopHungArticle || articleNumber == kTopHungSmokeVentArticle;
}

QString StatusText(int status)
{
    // In the order of StatusKind.
    static constexpr int kTexts[] = {154, 115, 326, 301, 298};
    return QStringLiteral(" ") + LanguageText(kTexts[int(StatusKindOf(status))]) +
           QStringLiteral(" ");
}

QStringList WindowRowTexts(const TFensterInfo& info)
{
    if (info.isGroupUnit()) {
        return {QStringLiteral("0"),
                QStringLiteral(" ") + LanguageText(111),
                info.softwareVersion < 0x300 ? QStringLiteral("480110") : QStringLiteral("neu"),
                QString(),
                QString(),
                versionText(info.softwareVersion, "%u.%02u"),
                QString::asprintf("%04X", unsigned(info.hardwareVersion)),
                QString()};
    }
    const QString address = AddressText(info.address);
    const StatusKind kind = info.statusKind();
    if (kind == StatusKind::Incomplete || kind == StatusKind::ChecksumError) {
        const QString unknown = QStringLiteral("?");
        return {address, QStringLiteral(" ?"),   unknown, unknown, unknown, unknown,
                unknown, StatusText(info.status)};
    }
    const bool paf = info.windowKind == 8 || info.windowKind == 9;
    const double chainMm = info.chainLength * kChainMmPerCount + (paf ? 0 : 10);
    QString status = StatusText(info.status);
    if (info.eventBits != 0)
        status += LanguageText(71);
    return {address,
            QStringLiteral(" ") + typeText(info),
            info.articleNumber,
            QString::asprintf("%1.0f mm  ", chainMm),
            QString::asprintf("Z%02d", info.state),
            versionText(info.softwareVersion, "%X.%02X"),
            QString::asprintf("%04X", unsigned(info.hardwareVersion)),
            status};
}

QStringList WindowListHeader()
{
    QStringList header;
    for (int id : {4, 240, 429, 423, 424, 321, 293, 227})
        header << QStringLiteral(" ") + LanguageText(id);
    return header;
}

StatusColour StatusColourOf(const TFensterInfo& info)
{
    if (info.isGroupUnit())
        return StatusColour::Plain;
    switch (info.statusKind()) {
    case StatusKind::Normal:
        return info.eventBits != 0 ? StatusColour::Events : StatusColour::Normal;
    case StatusKind::Commissioning:
        return info.eventBits != 0 ? StatusColour::Events : StatusColour::Commissioning;
    default:
        return StatusColour::Plain;
    }
}

std::optional<StatusCellColours> StatusCellColoursOf(StatusColour colour)
{
    switch (colour) {
    case StatusColour::Events:
        return StatusCellColours{0xFF0000, 0x000000};
    case StatusColour::Commissioning:
        return StatusCellColours{0xFFFF00, 0x000000};
    case StatusColour::Normal:
        return StatusCellColours{0x008000, 0xFFFFFF};
    case StatusColour::Plain:
        break;
    }
    return std::nullopt;
}

Qt::Alignment CellAlignment(int column, bool header)
{
    if (column == 1 || column == 7)
        return Qt::AlignLeft | Qt::AlignVCenter;
    if (column == 3 && !header)
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignHCenter | Qt::AlignVCenter;
}
