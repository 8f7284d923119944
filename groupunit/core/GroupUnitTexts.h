// The words of the group control unit dialog: the captions of its values and lists and the
// entries of its lists, in the current language.
#pragma once

#include "GroupUnitSettings.h"

#include <QString>
#include <QStringList>

// The values the dialog shows above its lists, in its order.
enum class GroupUnitValue { Status, AddressingRuns, SoftwareFlashes, WindowsDetected, DrivePause };

// A caption with its colon.
[[nodiscard]] QString GroupUnitValueCaption(GroupUnitValue value);
[[nodiscard]] QString GroupUnitListCaption(GroupUnitList list);
// The unit beside the drive pause.
[[nodiscard]] QString DrivePauseUnit();
// The entries of a list; X16 offers only its first without the extended function numbering.
[[nodiscard]] QStringList GroupUnitListEntries(GroupUnitList list, bool extended);
