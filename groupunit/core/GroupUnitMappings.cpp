#include "GroupUnitMappings.h"

namespace {

// Tens, counted from the entry for 10.
int tensIndex(int value)
{
    const int tens = value / 10;
    return tens > 0 ? tens - 1 : tens;
}

} // namespace

int GapWidthIndex(int value)
{
    return tensIndex(value);
}

int GapWidthValue(int index)
{
    return index * 10 + 10;
}

int IntervalIndex(int value)
{
    if (value > 200)
        return 9;
    if (value > 130)
        return 8;
    if (value > 110)
        return 7;
    if (value > 70)
        return 6;
    return tensIndex(value);
}

int IntervalValue(int index)
{
    return kIntervalMinutes.at(size_t(index));
}

int AutomaticTimeIndex(int value)
{
    if (value >= 60)
        return 5;
    if (value >= 45)
        return 4;
    if (value >= 30)
        return 3;
    if (value >= 20)
        return 2;
    if (value >= 15)
        return 1;
    return 0;
}

int AutomaticTimeValue(int index)
{
    return kAutomaticSeconds.at(size_t(index));
}

bool ExtendedFunctionNumbering(std::optional<uint16_t> versionWord)
{
    if (!versionWord)
        return true;
    const int low = *versionWord & 0x0F;
    const int high = *versionWord & 0xFF00;
    return !(low < 2 || (low == 2 && high < 0x1000));
}

int InputFunctionIndex(int value, bool extended, int entries)
{
    if (extended && value > 0)
        --value;
    return value % entries;
}

int X15FunctionValue(int index, bool extended)
{
    return extended ? index + 1 : index;
}

int X16FunctionValue(int index, bool extended)
{
    return extended && index > 0 ? index + 1 : index;
}
