// The summary's rows drawn by AlarmRowDelegate look as the style draws them, whether a cell's
// text comes from a prepared static text (it fits), from the pixels kept of the cell or from the
// style (it is elided), selected or not, lit or not, at device pixel ratios 1 and 2.
#include "AlarmRowDelegate.h"
#include "PanelTestSupport.h"
#include "panel/AlarmSummaryModel.h"

#include <DifferingPixels.h>

#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>

namespace merv::panel {
namespace {

using test::differingPixels;

// What the delegate's lit cells are to look like: the style's own drawing over the lit colour.
class LitStyleDelegate : public QStyledItemDelegate {
public:
    explicit LitStyleDelegate(QColor fill) : m_fill(fill) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->fillRect(option.rect, m_fill);
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    QColor m_fill;
};

struct Grab {
    QImage image;
    QPoint background; // a pixel of a cell that its text leaves bare
};

// The same rows drawn by the given delegate at the device pixel ratio, rendered.
Grab grabRows(QAbstractItemDelegate* delegate, bool select, int columnWidth, qreal ratio) {
    QStandardItemModel model(3, 3);
    const QStringList texts{QStringLiteral("Drum pressure"),
                            QStringLiteral("OnAlarmHigh"),
                            QStringLiteral("31.4 bar"),
                            QStringLiteral("Feedwater temperature"),
                            QStringLiteral("Returned, unacknowledged"),
                            QStringLiteral("-70 mm"),
                            QStringLiteral("Steam flow"),
                            QStringLiteral("2026-12-10 09:45:59.716"),
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
    QImage image(view.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    view.render(&image);
    // Left of a right-aligned short text, in a row that holds neither focus nor selection.
    const QRect cell = view.visualRect(model.index(2, 2));
    const QPoint bare = view.viewport()->mapTo(&view, cell.topLeft() + QPoint(3, 2));
    return {image, (QPointF(bare) * ratio).toPoint()};
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
    QTest::addColumn<bool>("lit");
    QTest::addColumn<bool>("select");
    QTest::addColumn<int>("columnWidth");
    QTest::addColumn<qreal>("ratio");
    for (const qreal ratio : {1.0, 2.0}) {
        const QByteArray at = " at ratio " + QByteArray::number(ratio);
        QTest::newRow("texts that fit" + at) << false << false << 220 << ratio;
        QTest::newRow("texts that fit, a row selected" + at) << false << true << 220 << ratio;
        QTest::newRow("texts elided" + at) << false << false << 60 << ratio;
        QTest::newRow("lit rows" + at) << true << false << 220 << ratio;
        QTest::newRow("lit rows, one selected" + at) << true << true << 220 << ratio;
        QTest::newRow("lit rows elided" + at) << true << false << 60 << ratio;
    }
}

void tst_AlarmRowDelegate::cellsLookAsTheStyleDrawsThem() {
    QFETCH(bool, lit);
    QFETCH(bool, select);
    QFETCH(int, columnWidth);
    QFETCH(qreal, ratio);
    // Rows without a state role read as active and unacknowledged: lit in the blink's bright
    // phase, and in its dark phase the delegate's own drawing is only the text's.
    AlarmRowDelegate delegate;
    delegate.setBlinkOn(lit);
    const Grab ours = grabRows(&delegate, select, columnWidth, ratio);
    QVERIFY(!ours.image.isNull());
    LitStyleDelegate litStyle(ours.image.pixelColor(ours.background));
    const Grab style = grabRows(lit ? &litStyle : nullptr, select, columnWidth, ratio);
    if (lit)
        QVERIFY(style.image.pixelColor(style.background) != QColor(Qt::white));
    QCOMPARE(differingPixels(ours.image, style.image), 0);
    // Drawn again, the cells come from the pixels kept of them.
    QCOMPARE(differingPixels(grabRows(&delegate, select, columnWidth, ratio).image, style.image),
             0);
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_AlarmRowDelegate)
#include "tst_AlarmRowDelegate.moc"
