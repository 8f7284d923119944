// Rows of a caption label and a value label in a group box, as the production data dialogs show
// them; the value texts can be selected and copied.
#pragma once

#include <span>

class QGroupBox;

struct CaptionedValue {
    const char* value;
    const char* caption;
};

// Lays the rows out in `group`, a caption beside each value, in order.
void AddCaptionedValues(QGroupBox* group, std::span<const CaptionedValue> rows);
