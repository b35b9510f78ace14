#pragma once
// A control as tests name it in messages and lookups: "name(index)" for a member of a control
// array, the bare name otherwise, as the binding names its widgets.

#include "model/Control.h"

#include <string>
#include <string_view>

namespace tarvo::test {

inline std::string describe(std::string_view name, int index)
{
    std::string s(name);
    if (index >= 0)
        s += "(" + std::to_string(index) + ")";
    return s;
}

inline std::string describe(const Control& c)
{
    return describe(c.name(), c.index());
}

// "none" for no control (nothing focused, say).
inline std::string describe(const Control* c)
{
    return c ? describe(*c) : "none";
}

} // namespace tarvo::test
