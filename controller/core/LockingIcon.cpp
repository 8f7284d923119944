#include "controller/core/LockingIcon.h"

QLatin1StringView LockingIconFile(LockingIcon icon)
{
    switch (icon) {
    case LockingIcon::Unlocked:
        return QLatin1StringView("Schloss_offen.bmp");
    case LockingIcon::Locked:
        return QLatin1StringView("Schloss_zu.bmp");
    case LockingIcon::Unknown:
        break;
    }
    return QLatin1StringView("Schloss_unbekannt.bmp");
}
