// The widget's locale: decimal separators both ways and the editor's caption language.
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/private/MervGaugeWidget_p.h>

#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/platform/PropertyBag.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class GaugeLocale : public QObject {
    Q_OBJECT
private slots:
    void italianShowsAndParsesDecimalCommas();
    void localeChangeReloadsTheCaptions();
    void localeSetBeforeRestoringIsTheOneRestoredIn();
    void paletteChangeIsAnAmbientBackColorChange();
};

void GaugeLocale::italianShowsAndParsesDecimalCommas() {
    MervGaugeWidget widget;
    widget.setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    widget.setPrecision(1);
    widget.setValue(12.5f);
    QCOMPARE(mervGaugeControl(widget).ui().Val.caption(), std::string("12,5 EU"));
    QCOMPARE(mervGaugeControl(widget).ui().Valore.text(), std::string("12,5"));
    QVERIFY(widget.putProperty(QStringLiteral("Value"), QStringLiteral("3,25")));
    QCOMPARE(widget.Value(), 3.25f);
}

void GaugeLocale::localeChangeReloadsTheCaptions() {
    MervGaugeWidget widget;
    widget.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(mervGaugeControl(widget).ui().AH.caption(), std::string("High alarm"));
    widget.setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    QCOMPARE(mervGaugeControl(widget).ui().AH.caption(), std::string("Allarme alto"));
    QCOMPARE(mervGaugeControl(widget).ui().WL.caption(), std::string("Preallarme basso"));
}

void GaugeLocale::localeSetBeforeRestoringIsTheOneRestoredIn() {
    MervGaugeWidget widget{MervGaugeWidget::Unstarted{}};
    widget.setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    merv::MemoryPropertyBag bag;
    bag.set("Value", merv::Variant::single(12.5f));
    QVERIFY(widget.restore(bag));
    QCOMPARE(mervGaugeControl(widget).ui().Valore.text(), std::string("12,5"));
    QCOMPARE(mervGaugeControl(widget).ui().AH.caption(), std::string("Allarme alto"));
}

void GaugeLocale::paletteChangeIsAnAmbientBackColorChange() {
    MervGaugeWidget widget;
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor(0x10, 0x20, 0x30));
    widget.setPalette(palette);
    QCOMPARE(mervGaugeControl(widget).ui().userControl.backColor(), 0x302010u);
}

QTEST_MAIN(GaugeLocale)
#include "tst_GaugeLocale.moc"
