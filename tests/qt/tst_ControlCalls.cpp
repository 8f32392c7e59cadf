// The bracket both views put around their calls into the control: one catch-up per outermost
// call, however deep the calls nest or however they end, one from the event loop for notices
// from outside any call, and errors as values.
#include <mervgauge/private/ControlCalls.h>

#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/RuntimeError.h>

#include <QCoreApplication>
#include <QTest>

#include <stdexcept>

using merv::qt::CallError;
using merv::qt::ControlCalls;

class ControlCallsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void nestedCallsCatchUpOnceTheOutermostReturns();
    void aRefusedCallStillCatchesUp();
    void errorsComeBackAsValues_data();
    void errorsComeBackAsValues();
    void noticesFromOutsideAnyCallCatchUpOnceFromTheEventLoop();
    void noticesWithinACallWaitForItsEnd();

private:
    merv::ElementTree tree;
    QObject view;
    int catchUps = 0;
    ControlCalls calls{view, [this] { ++catchUps; }};
};

void ControlCallsTest::init() {
    calls.setTree(tree);
    QCoreApplication::processEvents();
    catchUps = 0;
}

void ControlCallsTest::nestedCallsCatchUpOnceTheOutermostReturns() {
    const int answer = calls.call([&] {
        calls.call([&] { calls.call([] {}); });
        // Nothing is caught up while a call is still running.
        return catchUps;
    });
    QCOMPARE(answer, 0);
    QCOMPARE(catchUps, 1);
}

void ControlCallsTest::aRefusedCallStillCatchesUp() {
    // What the control changed before it refused is shown all the same.
    const CallError error = calls.attempt([&] {
        calls.call([] {});
        throw merv::RuntimeError(merv::ErrorNumber::InvalidPropertyValue);
    });
    QVERIFY(error.failed());
    QCOMPARE(catchUps, 1);
}

void ControlCallsTest::errorsComeBackAsValues_data() {
    QTest::addColumn<int>("thrown"); // 0 none, 1 a run-time error, 2 a bag-file error
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("hasText");
    QTest::newRow("a call that passed") << 0 << CallError::NoError << false;
    QTest::newRow("the control's run-time error")
        << 1 << merv::ErrorNumber::PropertyNotSupported << true;
    QTest::newRow("a bag file that could not be read") << 2 << CallError::BagFileError << true;
}

void ControlCallsTest::errorsComeBackAsValues() {
    QFETCH(int, thrown);
    QFETCH(int, number);
    QFETCH(bool, hasText);
    const CallError error = calls.attempt([&] {
        if (thrown == 1)
            throw merv::RuntimeError(merv::ErrorNumber::PropertyNotSupported, "no such property");
        if (thrown == 2)
            throw merv::BagError("gauge.json", "Value", "not a number");
    });
    QCOMPARE(error.number, number);
    QCOMPARE(error.failed(), number != CallError::NoError);
    QCOMPARE(!error.text.isEmpty(), hasText);
}

void ControlCallsTest::noticesFromOutsideAnyCallCatchUpOnceFromTheEventLoop() {
    calls.noticed();
    calls.noticed();
    // Not at once: the program that changed the control may change more before the loop runs.
    QCOMPARE(catchUps, 0);
    QCoreApplication::processEvents();
    QCOMPARE(catchUps, 1);
    // A later notice posts a catch-up of its own.
    calls.noticed();
    QCoreApplication::processEvents();
    QCOMPARE(catchUps, 2);
}

void ControlCallsTest::noticesWithinACallWaitForItsEnd() {
    calls.call([&] { calls.noticed(); });
    QCOMPARE(catchUps, 1);
    QCoreApplication::processEvents();
    QCOMPARE(catchUps, 1);
}

QTEST_MAIN(ControlCallsTest)
#include "tst_ControlCalls.moc"
