// A refresh sample in words, in the current language: the state as the window's state label
// shows it, the operating mode, the event bits in hex and by their texts, the reason of the last
// reversal and the time; an empty text for a value that was not read.
#pragma once

#include "RefreshSample.h"

#include <QString>

[[nodiscard]] QString StateTextOf(const RefreshSample& sample);
[[nodiscard]] QString ModeTextOf(const RefreshSample& sample);
[[nodiscard]] QString EventBitsTextOf(const RefreshSample& sample);
// The texts of the bits set, "; " between them; "keine Ereignisse" for none, and the missing
// communication when the bits could not be read.
[[nodiscard]] QString EventTextsOf(const RefreshSample& sample);
[[nodiscard]] QString ReversalTextOf(const RefreshSample& sample);
// ISO 8601 local time to the second with the offset from UTC: "2024-03-31T03:00:05+02:00".
[[nodiscard]] QString IsoTimeText(qint64 atMs);
