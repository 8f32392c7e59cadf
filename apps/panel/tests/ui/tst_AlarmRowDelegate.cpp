// The summary's rows drawn by AlarmRowDelegate look as the style draws them, whether a cell's
// text comes from a prepared static text (it fits) or from the style (it is elided), selected
// or not; and a lit row has its state's colour.
#include "AlarmRowDelegate.h"
#include "PanelTestSupport.h"
#include "panel/AlarmSummaryModel.h"

#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

namespace merv::panel {
namespace {

// The same rows drawn by the given delegate, grabbed.
QImage grabRows(QAbstractItemDelegate* delegate, bool select, int columnWidth) {
    QStandardItemModel model(3, 3);
    const QStringList texts{QStringLiteral("Drum pressure"), QStringLiteral("OnAlarmHigh"),
                            QStringLiteral("31.4 bar"), QStringLiteral("Feedwater temperature"),
                            QStringLiteral("Returned, unacknowledged"), QStringLiteral("-70 mm"),
                            QStringLiteral("Steam flow"), QStringLiteral("2026-12-10 09:45:59.716"),
                            QStringLiteral("x")};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            auto* item = new QStandardItem(texts[r * 3 + c]);
            if (c == 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            model.setItem(r, c, item);
        }
    QTableView view;
    view.setModel(&model);
    if (delegate)
        view.setItemDelegate(delegate);
    view.setTextElideMode(Qt::ElideRight);
    for (int c = 0; c < 3; ++c)
        view.setColumnWidth(c, columnWidth);
    view.resize(3 * columnWidth + 40, 120);
    if (select)
        view.selectRow(1);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return {};
    return view.grab().toImage();
}

} // namespace

class tst_AlarmRowDelegate : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void cellsLookAsTheStyleDrawsThem_data();
    void cellsLookAsTheStyleDrawsThem();
};

void tst_AlarmRowDelegate::cellsLookAsTheStyleDrawsThem_data() {
    QTest::addColumn<bool>("select");
    QTest::addColumn<int>("columnWidth");
    QTest::newRow("texts that fit") << false << 220;
    QTest::newRow("texts that fit, a row selected") << true << 220;
    QTest::newRow("texts elided") << false << 60;
}

void tst_AlarmRowDelegate::cellsLookAsTheStyleDrawsThem() {
    QFETCH(bool, select);
    QFETCH(int, columnWidth);
    // Rows without a state role read as active and unacknowledged: in the blink's dark phase
    // they are not lit, and the delegate's own drawing is only the text's.
    AlarmRowDelegate delegate;
    delegate.setBlinkOn(false);
    const QImage style = grabRows(nullptr, select, columnWidth);
    const QImage ours = grabRows(&delegate, select, columnWidth);
    QVERIFY(!style.isNull());
    QCOMPARE(ours.size(), style.size());
    int differing = 0;
    for (int y = 0; y < style.height(); ++y)
        for (int x = 0; x < style.width(); ++x)
            differing += ours.pixel(x, y) != style.pixel(x, y);
    QCOMPARE(differing, 0);
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_AlarmRowDelegate)
#include "tst_AlarmRowDelegate.moc"
