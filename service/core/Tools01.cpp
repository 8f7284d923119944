#include "Tools01.h"

#include <algorithm>

QString HexText(int value, int digits)
{
    return QStringLiteral("%1h").arg(QString::number(unsigned(value), 16).toUpper(), digits,
                                     QChar(u'0'));
}

QString ShortHexText(int value)
{
    return HexText(value, 0);
}

QString AddressText(int address)
{
    return address > 30 ? ShortHexText(address) : QString::number(address);
}

int ParseValue(const QString& text)
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    int value = 0;
    if (text.contains(u'h'))
        value = text.left(text.size() - 1).toInt(&ok, 16);
    else
        value = text.toInt(&ok, 10);
    return ok ? value : -1;
}

FilteredText FilterHexTyping(const QString& typed, int caret)
{
    QString rest = typed.toUpper();
    QString out;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QChar c = rest[i];
        if (c == u'H') {
            out += u'h';
            break;
        }
        if (c >= u'0' && c <= u'9') {
            out += c;
        } else if (c >= u'A' && c <= u'F') {
            out += c;
            rest += u'h';
        } else if (c == u'h') {
            // An "h" appended by a letter above: the walk ends here.
            out += c;
            break;
        } else {
            --caret;
        }
    }
    if (out == QStringLiteral("h"))
        out.clear();
    return {out, std::clamp(caret, 0, static_cast<int>(out.size()))};
}

void AddToHistory(QStringList& history, int value, int digits)
{
    const QString entry = HexText(value, digits);
    if (!history.contains(entry))
        history.append(entry);
}
