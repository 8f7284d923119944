// The in-circuit test group that the production data dialogs of controller and group control
// unit share: its value labels, their captions and the group's title.
#pragma once

#include "CaptionedValues.h"

#include <array>

class QGroupBox;

inline constexpr std::array<CaptionedValue, 7> kIctDataRows{{
    {"lblVariante", "Label1"},
    {"lbl298er", "Label2"},
    {"lblSW", "Label3"},
    {"lblICTdatum", "Label4"},
    {"lblLfdNr", "Label5"},
    {"lblPruefgeraet", "Label6"},
    {"lblIObyte", "Label7"},
}};

// The title and captions of the group in the current language.
void SetIctDataTexts(QGroupBox* group);
