// The recording's and the trend export's CSV: a header row, then one row per refresh sample, as
// RFC 4180 has it (commas, CR LF, quotes where needed), in UTF-8, numbers with a decimal point
// in every language and the texts in the current one.
#pragma once

#include "TrendRing.h"

#include <QByteArray>
#include <QStringList>

// A field in quotes, its quotes doubled, when it holds a comma, a quote, CR or LF.
[[nodiscard]] QString CsvField(const QString& text);
// The fields joined by commas and ended by CR LF, in UTF-8.
[[nodiscard]] QByteArray CsvRecord(const QStringList& fields);

[[nodiscard]] QStringList RecordingHeader();
[[nodiscard]] QStringList RecordingFields(const TimedSample& sample);
// The header and a row for each sample.
[[nodiscard]] QByteArray RecordingCsv(const QList<TimedSample>& samples);
