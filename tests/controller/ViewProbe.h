// Test access to what a view changes on one control (an untouched control reads as no change),
// and readable QStrings in failure messages.
#pragma once

#include "controller/core/ControllerView.h"
#include "tests/QtPrint.h"

#include <optional>
#include <ostream>

inline ControlChange ChangeOf(const ControllerView& view, const char* control)
{
    return view.changes().value(QString::fromLatin1(control));
}

// An expected text in a table row; nullptr expects the control's text to stay untouched.
inline std::optional<QString> ExpectedText(const char* utf8)
{
    return utf8 ? std::optional(QString::fromUtf8(utf8)) : std::nullopt;
}
