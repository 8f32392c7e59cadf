#pragma once

#include <QTest>

#include <string>

namespace merv::panel {

// The screen the panel's tests are registered with, for a run by hand that names none; called
// from each suite's initMain(), before the application starts.
inline void useTheTestScreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", MERVGAUGE_PANEL_TEST_PLATFORM);
}

} // namespace merv::panel

// The backend speaks std::string: a failed QCOMPARE shows both texts.
template <>
inline char* QTest::toString(const std::string& text) {
    return qstrdup(text.c_str());
}
