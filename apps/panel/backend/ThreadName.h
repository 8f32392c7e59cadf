#pragma once

#include <pthread.h>

namespace merv::panel {

// Names the calling thread as top -H, perf and a debugger show it (at most 15 characters), so
// that the panel's CPU can be told apart by thread.
inline void nameThisThread(const char* name) {
    pthread_setname_np(pthread_self(), name);
}

} // namespace merv::panel
