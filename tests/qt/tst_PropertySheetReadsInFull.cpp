// The property sheet reads in full in every language of its captions: no label, tab caption
// or title cut, and nothing standing on top of something else.
#include <mervgauge/MervGaugePropertySheet.h>
#include <mervgauge/MervGaugeWidget.h>

#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

class PropertySheetReadsInFull : public QObject {
    Q_OBJECT
private slots:
    void everyCaptionFitsAndNothingOverlaps_data();
    void everyCaptionFitsAndNothingOverlaps();
};

void PropertySheetReadsInFull::everyCaptionFitsAndNothingOverlaps_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("precisionCaption");
    // One locale of each language of the caption table, and a large font.
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                             << "Decimal digits (0-5):";
    QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy) << "Decimali (0-5):";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "Dezimal (0-5):";
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France)
                            << "Chiffres décimaux (0-5):";
    QTest::newRow("Spanish") << QLocale(QLocale::Spanish, QLocale::Spain) << "Decimales (0-5):";
}

void PropertySheetReadsInFull::everyCaptionFitsAndNothingOverlaps() {
    QFETCH(QLocale, locale);
    QFETCH(QString, precisionCaption);
    for (const int pointSize : {0, 14}) {
        MervGaugeWidget gauge;
        MervGaugePropertySheet sheet;
        if (pointSize > 0) {
            QFont font = sheet.font();
            font.setPointSize(pointSize);
            sheet.setFont(font);
        }
        sheet.setLocale(locale);
        sheet.setGauges({&gauge});
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QVERIFY(!sheet.windowTitle().isEmpty());
        QVERIFY(sheet.windowTitle() != "PropertyPage");

        auto* precision = sheet.findChild<QLabel*>("lblPrecision");
        QVERIFY(precision);
        QCOMPARE(precision->text(), precisionCaption);

        auto* tabs = sheet.findChild<QTabWidget*>();
        QVERIFY(tabs);
        // All three tab captions stand in the bar at once, none elided or scrolled.
        QTabBar* bar = tabs->tabBar();
        const QRect lastTab = bar->tabRect(bar->count() - 1);
        QVERIFY2(lastTab.right() <= bar->width(), qPrintable(bar->tabText(bar->count() - 1)));
        for (int t = 0; t < tabs->count(); ++t) {
            const QString caption = bar->tabText(t);
            QVERIFY2(bar->fontMetrics().horizontalAdvance(caption) < bar->tabRect(t).width(),
                     qPrintable(caption));
        }

        for (int t = 0; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            QWidget* page = tabs->widget(t);
            const QRect inside = page->rect();
            const QList<QWidget*> parts = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (QWidget* part : parts) {
                QVERIFY2(inside.contains(part->geometry()),
                         qPrintable(part->objectName() + " leaves its tab"));
                if (auto* label = qobject_cast<QLabel*>(part)) {
                    const QFontMetrics metrics = label->fontMetrics();
                    QVERIFY2(metrics.horizontalAdvance(label->text()) <=
                                 label->contentsRect().width(),
                             qPrintable(label->objectName() + " cuts \"" + label->text() + "\""));
                    QVERIFY2(metrics.height() <= label->contentsRect().height(),
                             qPrintable(label->objectName() + " is too low for its text"));
                }
                for (QWidget* other : parts) {
                    if (other != part && other->isVisibleTo(page) && part->isVisibleTo(page))
                        QVERIFY2(!part->geometry().intersects(other->geometry()),
                                 qPrintable(part->objectName() + " covers " + other->objectName()));
                }
            }
        }
    }
}

QTEST_MAIN(PropertySheetReadsInFull)
#include "tst_PropertySheetReadsInFull.moc"
