// Readable QStrings and QStringLists in the failure messages of Google Test.
#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

static inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

static inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}
