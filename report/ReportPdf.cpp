#include "ReportPdf.h"

#include "controller/core/BackupRead.h"
#include "core/ReportRead.h"
#include "platform/WholeFile.h"
#include "texts/BackupText.h"
#include "texts/ReportText.h"
#include "texts/Sprachen.h"
#include "texts/UserMessages.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

constexpr int kDpi = 300;
constexpr int kWarningCaption = 257;
constexpr double kFooterMm = 8;

// Lengths of the document are in pixels of 1/96 inch, which its layout scales to the writer.
constexpr double kCssDpi = 96;

int cssPixels(double mm)
{
    return int(mm * kCssDpi / 25.4 + 0.5);
}

int devicePixels(double mm)
{
    return int(mm * kDpi / 25.4 + 0.5);
}

QString escaped(const QString& text)
{
    return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br/>"));
}

QString rgb(uint32_t colour)
{
    return QStringLiteral("#%1").arg(colour, 6, 16, QChar(u'0'));
}

// Captions in the left column, values beside them.
QString rowsTable(const QList<ReportRow>& rows)
{
    QString html = QStringLiteral("<table class='values' width='100%' cellspacing='0' "
                                  "cellpadding='%1'>")
                       .arg(cssPixels(0.8));
    for (const ReportRow& row : rows)
        html += QStringLiteral("<tr><td class='caption' width='38%'>%1</td><td>%2</td></tr>")
                    .arg(escaped(row.caption), escaped(row.value));
    return html + QStringLiteral("</table>");
}

QString windowListTable(const ReportTable& table)
{
    // Per cent of the width: address, type, article, chain length, state, versions, status.
    static constexpr int kWidths[] = {9, 19, 9, 12, 9, 7, 7, 28};
    QString html = QStringLiteral("<table class='list' width='100%' cellspacing='0' "
                                  "cellpadding='%1'><thead><tr>")
                       .arg(cssPixels(0.9));
    for (int column = 0; column < table.header.size(); ++column)
        html += QStringLiteral("<th width='%1%'>%2</th>")
                    .arg(column < int(std::size(kWidths)) ? kWidths[column] : 0)
                    .arg(escaped(table.header[column]));
    html += QStringLiteral("</tr></thead>");
    for (const QList<ReportCell>& row : table.rows) {
        html += QStringLiteral("<tr>");
        for (const ReportCell& cell : row) {
            if (const auto colours = StatusCellColoursOf(cell.colour))
                html += QStringLiteral("<td bgcolor='%1'><font color='%2'>%3</font></td>")
                            .arg(rgb(colours->background), rgb(colours->text), escaped(cell.text));
            else
                html += QStringLiteral("<td>%1</td>").arg(escaped(cell.text));
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString signatureLines(const QStringList& captions)
{
    QString html = QStringLiteral("<table width='100%' cellspacing='0' cellpadding='%1' "
                                  "style='margin-top: %2px'><tr>")
                       .arg(cssPixels(0.6))
                       .arg(cssPixels(22));
    for (int i = 0; i < captions.size(); ++i) {
        if (i > 0)
            html += QStringLiteral("<td width='8%'></td>");
        html += QStringLiteral("<td class='signature'>%1</td>").arg(escaped(captions[i]));
    }
    return html + QStringLiteral("</tr></table>");
}

QString reportHtml(const CommissioningReport& report)
{
    QString html = QStringLiteral("<h1>%1</h1>").arg(escaped(report.title));
    html += rowsTable(report.cover);
    html += QStringLiteral("<h2>%1</h2>").arg(escaped(report.listHeading));
    html += windowListTable(report.windowList);
    // The lines to sign close the cover, which stands for the whole report.
    html += signatureLines(report.signatures);
    for (const ReportSection& section : report.sections) {
        html += QStringLiteral("<h2 style='page-break-before: always'>%1</h2>")
                    .arg(escaped(section.title));
        if (!section.note.isEmpty())
            html += QStringLiteral("<p class='note'>%1</p>").arg(escaped(section.note));
        for (const ReportGroup& group : section.groups)
            html +=
                QStringLiteral("<h3>%1</h3>").arg(escaped(group.heading)) + rowsTable(group.rows);
    }
    return html;
}

const QString kStyle = QStringLiteral(
    "h1 { font-size: 17pt; margin-bottom: 10px; }"
    "h2 { font-size: 13pt; margin-top: 20px; margin-bottom: 8px; }"
    "h3 { font-size: 10pt; margin-top: 10px; margin-bottom: 4px; color: #1f3f6f; }"
    "table { border-collapse: collapse; }"
    "table.values td { border: 1px solid #9a9a9a; }"
    "td.caption { background-color: #eef1f5; }"
    "table.list th { border: 1px solid #9a9a9a; background-color: #dfe5ee; font-size: 8pt; }"
    "table.list td { border: 1px solid #9a9a9a; font-size: 8pt; }"
    "td.signature { border-top: 2px solid #000000; font-size: 8.5pt; }"
    "p.note { color: #a00000; font-weight: bold; }");

void drawFooter(QPainter& painter, const QRectF& area, const QString& left, const QString& right)
{
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), devicePixels(0.2)));
    painter.drawLine(area.topLeft(), area.topRight());
    const QRectF text = area.adjusted(0, devicePixels(1.5), 0, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, left);
    painter.drawText(text, Qt::AlignRight | Qt::AlignTop, right);
    painter.restore();
}

} // namespace

bool RenderReportPdf(const CommissioningReport& report, QIODevice& device)
{
    QPdfWriter writer(&device);
    writer.setResolution(kDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 14, 15, 10), QPageLayout::Millimeter));
    writer.setTitle(report.title);
    writer.setCreator(ToolVersionText());

    QTextDocument document;
    // Laid out at the writer's resolution, so that point sizes come out as on paper.
    document.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(kStyle);
    document.setHtml(reportHtml(report));
    const QRectF page(QPointF(0, 0), writer.pageLayout().paintRectPixels(kDpi).size());
    const QSizeF body(page.width(), page.height() - devicePixels(kFooterMm));
    document.setPageSize(body);

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setFont(font);
    const int pages = document.pageCount();
    for (int index = 0; index < pages; ++index) {
        if (index > 0 && !writer.newPage())
            return false;
        painter.save();
        painter.translate(0, -index * body.height());
        document.drawContents(&painter, QRectF(QPointF(0, index * body.height()), body));
        painter.restore();
        drawFooter(
            painter,
            QRectF(0, body.height() + devicePixels(2), page.width(), devicePixels(kFooterMm - 2)),
            report.pageFooter, ReportLanguageText(ReportText::Page).arg(index + 1).arg(pages));
    }
    return painter.end();
}

bool WriteReportPdf(const CommissioningReport& report, const QString& path)
{
    WholeFile file(path);
    if (!file.open())
        return false;
    if (!RenderReportPdf(report, file.device())) {
        file.cancel();
        return false;
    }
    return file.commit();
}

bool SaveReport(ReportRead& read, const WindowListModel& list, const ReportVisit& visit,
                const QString& path, UserMessages& messages)
{
    const std::optional<CommissioningReport> report = read.read(list, visit);
    if (!report) {
        messages.warning(LanguageText(kWarningCaption), ReportLanguageText(ReportText::Cancelled));
        return false;
    }
    const QString shown = QDir::toNativeSeparators(path);
    if (!WriteReportPdf(*report, path)) {
        messages.error(BackupLanguageText(BackupText::NotWritten).arg(shown));
        return false;
    }
    messages.notice(ReportLanguageText(ReportText::Report),
                    ReportLanguageText(ReportText::Saved).arg(shown));
    return true;
}
