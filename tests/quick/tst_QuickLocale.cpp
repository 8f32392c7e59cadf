// The item's locale: the one numbers are shown in, set before or after the start.
#include "QuickTestSupport.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

class QuickLocale : public QObject {
    Q_OBJECT
private slots:
    void aDeclaredItalianLocaleShowsDecimalCommas();
    void aLocaleChangeShowsTheValueAgain();
    void theDefaultIsTheApplicationsLocale();
};

void QuickLocale::aDeclaredItalianLocaleShowsDecimalCommas() {
    // Listed after the value: the value is still shown in the locale the gauge starts in.
    QuickScene scene(gaugeScene("precision: 1; value: 12.5; locale: Qt.locale(\"it_IT\")"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QCOMPARE(gauge->locale().language(), QLocale::Italian);
    QCOMPARE(gauge->shownValueText(), QString("12,5 EU"));
    QCOMPARE(gauge->Value(), 12.5);
}

void QuickLocale::aLocaleChangeShowsTheValueAgain() {
    QuickScene scene(gaugeScene("precision: 2; value: 3.25; engUnit: \"bar\""));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QCOMPARE(gauge->shownValueText(), QString("3.25 bar"));
    QSignalSpy shown(gauge, &MervGauge::shownValueTextChanged);
    QSignalSpy locales(gauge, &MervGauge::localeChanged);
    gauge->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    QCOMPARE(locales.count(), 1);
    // The value is shown again with the next write or redraw; a write makes it now.
    gauge->setValue(3.5);
    QCOMPARE(gauge->shownValueText(), QString("3,50 bar"));
    QVERIFY(shown.count() >= 1);
    gauge->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    QCOMPARE(locales.count(), 1);
}

void QuickLocale::theDefaultIsTheApplicationsLocale() {
    QuickScene scene(gaugeScene(""));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QCOMPARE(scene.gauge()->locale(), QLocale());
}

int main(int argc, char** argv) {
    // The application's own locale is one whose separator differs from the Italian one.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QGuiApplication app(argc, argv);
    QuickLocale test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_QuickLocale.moc"
