#include "EepromDescriptions.h"

#include "platform/RunTimeFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kLongestLine = 498;

QChar familyLetter(int page, int variantByte, int controllerType)
{
    if (page == 0)
        return variantByte == 0x55 ? u'O' : u'_';
    if (page != 2)
        return u'_';
    if (controllerType < 3)
        return u'D';
    if (controllerType == 5 || controllerType == 6)
        return u'R';
    if (controllerType == 7)
        return u'S';
    if (controllerType == 8 || controllerType == 9)
        return u'P';
    return u'_';
}

} // namespace

QString DescriptionFileName(int page, int variantByte, int controllerType)
{
    return QStringLiteral("S%1%2EEPROM.dat")
        .arg(page)
        .arg(familyLetter(page, variantByte, controllerType));
}

std::optional<QString> FindDescriptionFile(const QString& fileName, const QString& programDirectory)
{
    for (const QString& candidate :
         {QDir::current().filePath(fileName), RunTimeFile(programDirectory, fileName)}) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return std::nullopt;
}

QStringList DescriptionLines(const QByteArray& fileContents)
{
    QStringDecoder windows1252("windows-1252");
    // Read as text, as on the system the files come from: CR LF is a line end.
    const QString text = QString(windows1252.decode(fileContents)).replace(u"\r\n"_s, u"\n"_s);
    QStringList lines;
    qsizetype from = 0;
    while (lines.size() < kEepromPageSize && from < text.size()) {
        qsizetype end = text.indexOf(u'\n', from);
        if (end < 0)
            end = text.size();
        const qsizetype length = std::min(end - from, kLongestLine);
        lines << text.mid(from, length);
        from = from + length == end ? end + 1 : from + length;
    }
    while (lines.size() < kEepromPageSize)
        lines << QString();
    return lines;
}

std::optional<QStringList> ReadDescriptions(const QString& fileName,
                                            const QString& programDirectory)
{
    const std::optional<QString> path = FindDescriptionFile(fileName, programDirectory);
    if (!path)
        return QStringList(kEepromPageSize, QString());
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return DescriptionLines(file.readAll());
}
