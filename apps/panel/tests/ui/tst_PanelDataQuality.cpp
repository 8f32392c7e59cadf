// The quality a value's own time gives its gauge: staleness runs on the panel's clock from the
// value's arrival, a time far from the panel's clock makes the value doubtful, and a tag the
// source refuses marks its gauge.
#include "FakeSource.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QTest>

namespace merv::panel {
namespace {

constexpr const char* Pressure = "boiler/drum/pressure"; // gauge 0 of the built-in form

struct Station {
    Station() {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        controller = std::make_unique<PanelController>(defaultForm(), std::move(owned), nullptr,
                                                       "A", &parent);
        controller->start();
        source->sendStartValues();
    }
    QString reason() const { return controller->qualityReason(0); }
    // A value of the drum pressure stamped offsetMs from the source's clock.
    void sendStamped(std::int64_t offsetMs) {
        emit source->valueArrived(QString::fromLatin1(Pressure), 41, source->now + offsetMs);
    }
    QWidget parent;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelController> controller;
};

constexpr std::int64_t Year2100Ms = 4102444800000, Year2001Ms = 978307200000;

} // namespace

class tst_PanelDataQuality : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void aValuesTimeDecidesWhetherItIsDoubtful_data();
    void aValuesTimeDecidesWhetherItIsDoubtful();
    void aTimeFromTheFutureDoesNotKeepAGaugeFresh();
    void aDoubtfulValueIsGoodAgainWhenAValueOnTimeFollows();
    void aTagTheSourceRefusesMarksItsGaugesAndIsLogged();
    void aRetainedValueIsShownAsSuchUntilALiveOneComes();
    void aWiderSkewAcceptsClocksFurtherApart();
};

void tst_PanelDataQuality::aValuesTimeDecidesWhetherItIsDoubtful_data() {
    QTest::addColumn<qint64>("offsetMs"); // from the source's clock
    QTest::addColumn<QString>("reasonPart");
    const qint64 now = FakeSource().now;
    const qint64 skew = DefaultMaxSkewMs, stale = DefaultStaleMs;
    QTest::newRow("on time") << qint64(0) << QString();
    QTest::newRow("just within the skew ahead") << skew << QString();
    QTest::newRow("just past the skew ahead") << skew + 1000 << "ahead of the panel's clock";
    QTest::newRow("stamped in 2100") << Year2100Ms - now << "ahead of the panel's clock";
    QTest::newRow("measured the skew ago") << -skew << QString();
    QTest::newRow("measured longer ago than the skew") << -skew - 1000 << "clocks may differ";
    QTest::newRow("measured longer ago than its stale time") << -stale - 1 << "stale time";
    QTest::newRow("retained since 2001") << Year2001Ms - now << "before it arrived";
}

void tst_PanelDataQuality::aValuesTimeDecidesWhetherItIsDoubtful() {
    QFETCH(qint64, offsetMs);
    QFETCH(QString, reasonPart);
    Station s;
    s.sendStamped(offsetMs);
    if (reasonPart.isEmpty()) {
        QCOMPARE(s.reason(), QString());
        QCOMPARE(s.controller->badQualityCount(), 0);
    } else {
        QVERIFY2(s.reason().startsWith("Doubtful: ") && s.reason().contains(reasonPart),
                 qPrintable(s.reason()));
        QCOMPARE(s.controller->badQualityCount(), 1);
    }
    // The gauge shows the value whatever its time.
    QCOMPARE(s.controller->gauge(0)->Value(), 41.0f);
}

void tst_PanelDataQuality::aTimeFromTheFutureDoesNotKeepAGaugeFresh() {
    Station s;
    // Within the skew, so that only staleness can mark it.
    s.sendStamped(DefaultMaxSkewMs);
    QCOMPARE(s.reason(), QString());
    s.controller->advance(DefaultStaleMs + 500, 100);
    QVERIFY2(s.reason().startsWith("Stale"), qPrintable(s.reason()));
    // Beyond it: doubtful at once, and stale all the same once the stale time has passed.
    s.sendStamped(Year2100Ms - s.source->now);
    QVERIFY2(!s.reason().contains("Stale"), qPrintable(s.reason()));
    s.controller->advance(DefaultStaleMs + 500, 100);
    QVERIFY2(s.reason().contains("Stale") && s.reason().contains("Doubtful"),
             qPrintable(s.reason()));
}

void tst_PanelDataQuality::aDoubtfulValueIsGoodAgainWhenAValueOnTimeFollows() {
    Station s;
    s.sendStamped(Year2001Ms - s.source->now);
    QVERIFY(!s.reason().isEmpty());
    s.source->send(Pressure, 40);
    QCOMPARE(s.reason(), QString());
    QCOMPARE(s.controller->badQualityCount(), 0);
}

void tst_PanelDataQuality::aTagTheSourceRefusesMarksItsGaugesAndIsLogged() {
    Station s;
    QStringList lines;
    QObject::connect(s.controller.get(), &PanelController::logged,
                     [&](const QString& line) { lines << line; });
    emit s.source->tagRefused(QString::fromLatin1(Pressure),
                              QStringLiteral("the broker refused the subscription to p"));
    QCOMPARE(s.reason(), QStringLiteral("Refused: the broker refused the subscription to p"));
    QCOMPARE(s.controller->qualityReason(1), QString());
    QCOMPARE(s.controller->badQualityCount(), 1);
    QCOMPARE(lines, QStringList{"Drum pressure: the broker refused the subscription to p"});
    // A tag no gauge reads is still told.
    emit s.source->tagRefused(QStringLiteral("p/mervgauge/ack"), QStringLiteral("refused"));
    QCOMPARE(lines.last(), QStringLiteral("p/mervgauge/ack: refused"));
    s.source->send(Pressure, 40);
    QCOMPARE(s.reason(), QString());
    QCOMPARE(s.controller->badQualityCount(), 0);
}

// A value a broker kept may be hours old: shown, and said to be no live one.
void tst_PanelDataQuality::aRetainedValueIsShownAsSuchUntilALiveOneComes() {
    Station s;
    emit s.source->valueArrived(QString::fromLatin1(Pressure), 44, s.source->now, true);
    QCOMPARE(s.controller->gauge(0)->Value(), 44.0f);
    QVERIFY2(s.reason().startsWith("Retained: "), qPrintable(s.reason()));
    QCOMPARE(s.controller->badQualityCount(), 1);
    s.source->send(Pressure, 45);
    QCOMPARE(s.reason(), QString());
    QCOMPARE(s.controller->badQualityCount(), 0);
}

void tst_PanelDataQuality::aWiderSkewAcceptsClocksFurtherApart() {
    Station s;
    s.controller->setMaxSkewMs(60000);
    s.sendStamped(30000);
    QCOMPARE(s.reason(), QString());
    s.sendStamped(61000);
    QVERIFY2(s.reason().contains("ahead of the panel's clock"), qPrintable(s.reason()));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelDataQuality)
#include "tst_PanelDataQuality.moc"
