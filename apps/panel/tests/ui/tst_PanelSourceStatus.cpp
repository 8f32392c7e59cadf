// Why the source is not there reaches the operator in the window, not only the gauges' badges:
// over the status bar, in the status line's tooltip, and to whoever reads the panel's output.
#include "FakeSource.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>

namespace merv::panel {

class tst_PanelSourceStatus : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void whyTheSourceIsDownIsSaidOverTheStatusBar();
};

void tst_PanelSourceStatus::whyTheSourceIsDownIsSaidOverTheStatusBar() {
    auto owned = std::make_unique<FakeSource>();
    FakeSource* source = owned.get();
    PanelWindow window(defaultForm(), {}, std::move(owned), nullptr, "A");
    window.controller().start();
    window.show();
    QStringList said;
    connect(&window, &PanelWindow::sourceSaid, this,
            [&said](const QString& detail) { said << detail; });
    const QString why = QStringLiteral(
        "the broker at mqtts://b:8883 refused the login of user north: not authorised");
    source->connected = false;
    emit source->connectionChanged(false, why);
    QCOMPARE(window.statusBar()->currentMessage(), why);
    QCOMPARE(said, QStringList{why});
    QLabel* status = window.statusBar()->findChild<QLabel*>();
    QVERIFY(status);
    QCOMPARE(status->toolTip(), why);
    QVERIFY2(status->text().contains(QStringLiteral("disconnected")), qPrintable(status->text()));
    // Coming back is told, and is no message over the status bar.
    window.statusBar()->clearMessage();
    source->connected = true;
    emit source->connectionChanged(true, QStringLiteral("connected to b"));
    QCOMPARE(window.statusBar()->currentMessage(), QString());
    QCOMPARE(said.last(), QStringLiteral("connected to b"));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelSourceStatus)
#include "tst_PanelSourceStatus.moc"
