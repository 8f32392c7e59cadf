#pragma once

#include <mervgauge/platform/RuntimeError.h>

namespace merv::test {

// The number of the run-time error an action raises; 0 when it raises none.
inline int errorOf(auto&& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

} // namespace merv::test
