// The 16 x 16 icons beside the closing-roller strands and the finger bolt: open padlock,
// locked padlock, and the question mark shown while the state is not known.
#pragma once

#include <QLatin1StringView>

// Values are the icons' places in the window's image list.
enum class LockingIcon { Unlocked = 0, Locked = 1, Unknown = 2 };

// The icon a locking indicator draws; the opening draws Unknown into all three in commissioning.
[[nodiscard]] constexpr LockingIcon LockingIconFor(bool locked)
{
    return locked ? LockingIcon::Locked : LockingIcon::Unlocked;
}

// The icon's bitmap in the program directory; pixels of its bottom-left pixel's colour show the
// button face.
[[nodiscard]] QLatin1StringView LockingIconFile(LockingIcon icon);
