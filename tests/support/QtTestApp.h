#pragma once

#include <QCoreApplication>

namespace merv::test {

// The one application object of a test process, for queued signals and socket notifiers.
inline void ensureQtApp() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

} // namespace merv::test
