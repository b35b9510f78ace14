#pragma once
// The whole program as the screen reader's tests drive it: the first tarvo's subtrahends are
// 7, 1, 2, 3, 4, 5, 6, 8.

#include "ProgramRig.h"

namespace tarvo::test {

struct A11yRig : ProgramRig {
    A11yRig()
        : ProgramRig({ 7, 1, 2, 3, 4, 5, 6, 8, 9, 10 })
    {
    }
};

} // namespace tarvo::test
