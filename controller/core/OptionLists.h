// The entries the controller window loads into its opening-width and PWM-level boxes when it sets
// up its layout, and whether the boxes can be used on the controller shown.
#pragma once

#include "ControllerState.h"

#include <QList>
#include <QStringList>

#include <optional>

// The opening widths in millimetres a controller offers; EEPROM 25h stores the position + 1.
// `longChain`: types 3 and 4 with a long chain; `upTo1000`: parameter 42 reads 1.
[[nodiscard]] QList<int> OpeningWidths(int controllerType, int softwareVersion, bool longChain,
                                       bool upTo1000);

// The PWM level at `position` (0..8) as the PWM boxes name it: "28V" to "20V".
[[nodiscard]] QString PwmLevelText(int position);

struct SettingOptions {
    QStringList openingWidths; // `cbKippAntr`
    bool openingWidthEnabled = true;
    QStringList pwmLevels; // `PWM_Auf_ComboBox` and `PWM_Zu_ComboBox`, "28V" to "20V"
    bool pwmEnabled = false;
};
// `chainBits` is parameter 41 (0 when its read failed): its bit 7 is the long-chain flag of
// types 3 and 4 and the heavy-window flag of types 8 and 9, both set here. `maximumWidth` is
// parameter 42 as delivered; `version` parameter 30 read again, nothing when that read failed.
[[nodiscard]] SettingOptions LoadSettingOptions(ControllerState& state, int chainBits,
                                                int maximumWidth, std::optional<int> version);
