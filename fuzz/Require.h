// The check of a fuzz target: a broken promise of the code under test ends the run as a crash,
// which libFuzzer reports with the input that caused it.
#pragma once

#include <cstdlib>

inline void require(bool promiseKept)
{
    if (!promiseKept)
        abort();
}
