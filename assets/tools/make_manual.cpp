// Typesets a user manual at build time: reads its Markdown source, lays it out with QTextDocument
// (ruled tables, pictures fitted to the text width, page numbers) and writes an A4 PDF.
// Usage: make_manual SOURCE.md TARGET.pdf
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cstdio>

namespace {

// The width of the text on an A4 page in the document's units (1/96 inch): 210 mm less the
// writer's margins and the 2 cm that QTextDocument::print adds on each side.
constexpr double kPageMarginMm = 2.0;
constexpr double kTextWidthMm = 210.0 - 2 * kPageMarginMm - 2 * 20.0;
constexpr int kTextWidth = static_cast<int>(kTextWidthMm / 25.4 * 96);

const QColor kRuleColour(0x80, 0x80, 0x80);
const QColor kHeaderBackground(0xE4, 0xE8, 0xEE);
const QColor kCodeBackground(0xF2, 0xF2, 0xF2);

// Room above headings by level, and shaded code blocks set in from the margin.
void spaceBlocks(QTextDocument& document)
{
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        const int level = format.headingLevel();
        if (level == 2)
            format.setTopMargin(16);
        else if (level == 3)
            format.setTopMargin(10);
        else if (format.nonBreakableLines()) {
            format.setBackground(kCodeBackground);
            format.setLeftMargin(8);
        } else {
            continue;
        }
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
}

void ruleTable(QTextTable* table)
{
    QTextTableFormat format = table->format();
    format.setBorder(1);
    format.setBorderBrush(kRuleColour);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setHeaderRowCount(1);
    format.setTopMargin(4);
    format.setBottomMargin(8);
    table->setFormat(format);
    for (int column = 0; column < table->columns(); ++column) {
        QTextTableCell cell = table->cellAt(0, column);
        QTextCharFormat header = cell.format();
        header.setBackground(kHeaderBackground);
        cell.setFormat(header);
    }
}

void ruleTables(QTextFrame* frame)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            ruleTable(table);
        ruleTables(child);
    }
}

// Loads every picture from `folder` into the document's own resources (which printing keeps)
// and scales pictures wider than the text down to its width. False when a picture is missing.
bool embedPictures(QTextDocument& document, const QDir& folder)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QImage picture(folder.filePath(image.name()));
            if (picture.isNull()) {
                std::fprintf(stderr, "make_manual: cannot load picture %s\n",
                             qPrintable(image.name()));
                return false;
            }
            document.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            if (picture.width() <= kTextWidth)
                continue;
            image.setWidth(kTextWidth);
            image.setHeight(static_cast<double>(picture.height()) * kTextWidth / picture.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
    return true;
}

// The first heading names the document.
QString title(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            return block.text();
    }
    return QString();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_manual SOURCE.md TARGET.pdf\n");
        return 2;
    }
    const QString sourcePath = QFile::decodeName(argv[1]);
    const QString targetPath = QFile::decodeName(argv[2]);
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_manual: cannot read %s\n", argv[1]);
        return 1;
    }

    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    document.setMarkdown(QString::fromUtf8(source.readAll()), QTextDocument::MarkdownDialectGitHub);
    ruleTables(document.rootFrame());
    spaceBlocks(document);
    // Pictures are named relative to the source file.
    if (!embedPictures(document, QFileInfo(sourcePath).absoluteDir()))
        return 1;

    QPdfWriter pdf(targetPath);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                       QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setTitle(title(document));
    pdf.setCreator(QStringLiteral("Fenestrix Service"));
    document.print(&pdf);
    if (!QFileInfo(targetPath).isFile()) {
        std::fprintf(stderr, "make_manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
