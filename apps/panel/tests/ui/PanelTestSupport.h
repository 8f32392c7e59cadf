#pragma once

#include <QEvent>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <QWidget>

#include <filesystem>

#include <string>

namespace merv::panel {

// The screen the panel's tests are registered with, for a run by hand that names none; called
// from each suite's initMain(), before the application starts.
inline void useTheTestScreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", MERVGAUGE_PANEL_TEST_PLATFORM);
}

// Starts the panel executable without a display, in folder, with XDG_DATA_HOME inside it so
// that nothing of the user's own is read or written; extra adds variables of the caller's.
inline void startHeadlessPanel(QProcess& panel, const QStringList& arguments,
                               const std::filesystem::path& folder,
                               const QProcessEnvironment& extra = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString((folder / "data").string()));
    env.insert(extra);
    panel.setProcessEnvironment(env);
    panel.setWorkingDirectory(QString::fromStdString(folder.string()));
    panel.start(QStringLiteral(MERVGAUGE_PANEL_PATH), arguments);
}

// Waits until the controller's history writer, on its own thread, has written everything
// handed to it, and its word of that has arrived.
template <class Controller>
void waitForHistory(Controller& controller) {
    if (auto* writer = controller.historyWriter())
        writer->drain(10000);
    QCoreApplication::sendPostedEvents();
}

// Counts a widget's paint events.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace merv::panel

// The backend speaks std::string: a failed QCOMPARE shows both texts.
template <>
inline char* QTest::toString(const std::string& text) {
    return qstrdup(text.c_str());
}
