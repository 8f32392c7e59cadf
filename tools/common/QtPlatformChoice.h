#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <unistd.h>

// What every Qt program of the project does before it creates its application: with no display
// it runs on Qt's offscreen platform (a program that has neither aborts), and a program started
// from a script gets the private runtime folder Qt wants.
namespace merv::tools {

inline bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

inline void choosePlatformBeforeQt() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime =
            QDir::tempPath() + QStringLiteral("/mervgauge-runtime-%1").arg(getuid());
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
}

} // namespace merv::tools
