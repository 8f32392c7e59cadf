// The panel's screen as an operator reads it: badges and markers that stand out, table cells
// shown whole, one time zone throughout, and gauges zoomed as sharply as at that pixel ratio
// and still usable through the zoom.
#include "Contrast.h"
#include "FakeSource.h"
#include "GaugeCell.h"
#include "HistoryDialog.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include "TempFolder.h"
#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/control/MERV_Gauge.h>

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

#include <ctime>
#include <functional>
#include <map>

namespace merv::panel {
namespace {

constexpr const char* Pressure = "boiler/drum/pressure"; // "Drum pressure": 25 32 44 48
const QPoint DialPoint(84, 54); // on the dial face, in control pixels: opens the editor
constexpr auto TimeFormat = "yyyy-MM-dd HH:mm:ss.zzz";

// The process's time zone for the length of a test, as TZ gives it to a process started in it.
class TimeZoneOverride {
public:
    explicit TimeZoneOverride(const char* zone) : m_old(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneOverride() {
        m_old.isNull() ? qunsetenv("TZ") : qputenv("TZ", m_old);
        tzset();
    }

private:
    QByteArray m_old;
};

// The panel's window on the built-in form at its first size, with a source the test drives,
// whose clock stands a minute ago: the history's first range holds what it records. A test
// checks ready before it reads the screen.
struct Screen {
    explicit Screen(DisplayZone zone = DisplayZone::local(), const QPalette* palette = nullptr)
        : history(folder / "history.sqlite") {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        source->now = QDateTime::currentMSecsSinceEpoch() - 60'000;
        window = std::make_unique<PanelWindow>(defaultForm(), std::filesystem::path(),
                                               std::move(owned), &history, "A");
        if (palette)
            window->setPalette(*palette);
        window->setZone(zone);
        window->controller().start();
        window->resize(window->sizeHint());
        window->show();
        const bool exposed = QTest::qWaitForWindowExposed(window.get());
        ready = settle() && exposed;
    }
    // Until every face is drawn and the views have laid out what changed; false when a face
    // stays undrawn.
    [[nodiscard]] bool settle() {
        const bool drawn = QTest::qWaitFor([&] {
            for (int i = 0; i < controller().gaugeCount(); ++i)
                if (!controller().gauge(i)->isFaceDrawn())
                    return false;
            return true;
        });
        QTest::qWait(50); // the views resize their columns from the event loop
        return drawn;
    }
    PanelController& controller() { return window->controller(); }
    GaugeCell& cell(int i) { return *qobject_cast<GaugeCell*>(gauge(i).parentWidget()); }
    MervGaugeWidget& gauge(int i) { return *controller().gauge(i); }
    // Every kind of alarm on every gauge, raised and returned.
    [[nodiscard]] bool raiseEveryAlarm() {
        for (const SourceTag& t : source->started)
            for (double value : {(t.warningHigh + t.alarmHigh) / 2, t.maximum, t.normal,
                                 (t.alarmLow + t.warningLow) / 2, t.minimum, t.normal})
                source->send(t.tag.c_str(), value);
        return settle();
    }
    // Runs check on the dialog that File → Alarm History… opens, then closes it.
    void withHistory(const std::function<void(HistoryDialog&, QTableView&)>& check) {
        QAction* open = menuEntry("&File", "Alarm &History…");
        QVERIFY2(open, "no menu entry Alarm &History…");
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<HistoryDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTest::qWait(50);
            check(*dialog, *dialog->findChild<QTableView*>());
            dialog->reject();
        });
        open->trigger();
    }
    // The entry of a menu, or of its submenu; null when there is none.
    QAction* menuEntry(const char* menu, const char* entry, const char* submenu = nullptr) {
        QMenu* m = nullptr;
        for (QAction* top : window->menuBar()->actions())
            if (top->text() == QString::fromUtf8(menu))
                m = top->menu();
        if (!m)
            return nullptr;
        for (QAction* a : m->actions())
            if (submenu && a->menu() && a->text() == QString::fromUtf8(submenu))
                m = a->menu();
        for (QAction* a : m->actions())
            if (a->text() == QString::fromUtf8(entry))
                return a;
        return nullptr;
    }

    test::TempFolder folder;
    AlarmHistory history;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelWindow> window;
    bool ready = false;
};

// The cells of a table that would not show whole: a text wider than its column (the view
// elides it), or a column reaching past the view's right edge.
QStringList cutCells(const QTableView& view) {
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    QStringList cut;
    for (int c = 0; c < view.model()->columnCount(); ++c) {
        const bool inView =
            view.columnViewportPosition(c) + view.columnWidth(c) <= view.viewport()->width();
        for (int r = 0; r < view.model()->rowCount(); ++r) {
            const QString text = view.model()->index(r, c).data().toString();
            if (!inView ||
                view.fontMetrics().horizontalAdvance(text) + 2 * margin > view.columnWidth(c))
                cut << text;
        }
    }
    return cut;
}

QColor mostCommon(const std::vector<QRgb>& pixels) {
    std::map<QRgb, int> counts;
    for (const QRgb pixel : pixels)
        ++counts[pixel];
    return QColor(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                      return a.second < b.second;
                  })->first);
}

QImage rgb(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// A contrast of at least MinimumContrast, the colour named when it is less.
bool standsOut(const QColor& colour, const QColor& against) {
    const double ratio = contrastRatio(colour, against);
    if (ratio >= MinimumContrast)
        return true;
    qWarning("%s on %s: contrast %.2f", qPrintable(colour.name()), qPrintable(against.name()),
             ratio);
    return false;
}

} // namespace

class tst_PanelScreen : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void contrastRatiosAreTheRelativeLuminanceRatiosEitherWayRound_data();
    void contrastRatiosAreTheRelativeLuminanceRatiosEitherWayRound();
    void badgesAndMarkersStandOutFromTheirBackgroundInAGrabOfTheWindow_data();
    void badgesAndMarkersStandOutFromTheirBackgroundInAGrabOfTheWindow();
    void noSummaryOrHistoryCellIsCutAndValuesShowAsTheGaugesShowThem();
    void theSameInstantReadsAlikeInTheSummaryAndTheHistory_data();
    void theSameInstantReadsAlikeInTheSummaryAndTheHistory();
    void aGaugeAtZoomTwoIsTheRatioTwoRenderPixelForPixel();
    void atTwoHundredPercentCellsHugTheirGaugesAndTheEditorTakesTyping();
    void fitToWindowFillsTheRoomWithEveryGaugeInView();
};

void tst_PanelScreen::contrastRatiosAreTheRelativeLuminanceRatiosEitherWayRound_data() {
    QTest::addColumn<QColor>("first");
    QTest::addColumn<QColor>("second");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("black, white") << QColor(Qt::black) << QColor(Qt::white) << 21.0 << 1e-9;
    QTest::newRow("white, #777777")
        << QColor(Qt::white) << QColor(0x77, 0x77, 0x77) << 4.478 << 0.001;
    QTest::newRow("#efefef, #808080")
        << QColor(0xef, 0xef, 0xef) << QColor(0x80, 0x80, 0x80) << 3.435 << 0.001;
}

void tst_PanelScreen::contrastRatiosAreTheRelativeLuminanceRatiosEitherWayRound() {
    QFETCH(QColor, first);
    QFETCH(QColor, second);
    QFETCH(double, ratio);
    QFETCH(double, tolerance);
    for (const double found : {contrastRatio(first, second), contrastRatio(second, first)})
        QVERIFY2(qAbs(found - ratio) <= tolerance, qPrintable(QString::number(found, 'g', 10)));
}

void tst_PanelScreen::badgesAndMarkersStandOutFromTheirBackgroundInAGrabOfTheWindow_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light palette") << false;
    QTest::newRow("dark palette") << true;
}

// Read from the window's pixels: the bad-quality badge, its text and a steady alarm marker
// against the strip they stand on, with a light palette and a dark one.
void tst_PanelScreen::badgesAndMarkersStandOutFromTheirBackgroundInAGrabOfTheWindow() {
    QFETCH(bool, dark);
    QPalette darkPalette;
    darkPalette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    darkPalette.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    Screen s(DisplayZone::local(), dark ? &darkPalette : nullptr);
    QVERIFY(s.ready);
    s.source->setConnected(false); // every gauge of bad quality
    s.source->send(Pressure, 50);
    s.controller().acknowledgeAll(); // active and acknowledged: the marker stays lit
    QTRY_COMPARE(s.cell(0).marker(), GaugeCell::Marker::Steady);
    QVERIFY(s.settle());
    const QImage grab = rgb(s.window->grab());
    GaugeCell& cell = s.cell(0);
    const QPoint at = cell.mapTo(s.window.get(), QPoint());
    const QRect badge = cell.badgeRect().translated(at);
    const QRect marker = cell.markerRect().translated(at);
    // The strip's most common colour away from them and the frame is their background.
    std::vector<QRgb> strip, inBadge;
    for (int y = at.y() + 3; y < at.y() + cell.frame().top(); ++y)
        for (int x = at.x() + 3; x < at.x() + cell.width() - 3; ++x)
            if (badge.contains(x, y))
                inBadge.push_back(grab.pixel(x, y));
            else if (!badge.adjusted(-1, -1, 1, 1).contains(x, y) &&
                     !marker.adjusted(-1, -1, 1, 1).contains(x, y))
                strip.push_back(grab.pixel(x, y));
    const QColor background = mostCommon(strip), fill = mostCommon(inBadge);
    QColor text = fill; // the badge's pixel that stands out most from its fill
    for (const QRgb pixel : inBadge)
        if (contrastRatio(QColor(pixel), fill) > contrastRatio(text, fill))
            text = QColor(pixel);
    const QColor dot = grab.pixelColor(marker.center());
    // Each is checked, and each one short is named, before the case fails.
    const bool badgeStandsOut = standsOut(fill, background);
    const bool textStandsOut = standsOut(text, fill);
    const bool dotStandsOut = standsOut(dot, background);
    QVERIFY(badgeStandsOut);
    QVERIFY(textStandsOut);
    QVERIFY(dotStandsOut);
}

void tst_PanelScreen::noSummaryOrHistoryCellIsCutAndValuesShowAsTheGaugesShowThem() {
    Screen s;
    QVERIFY(s.ready);
    QVERIFY(s.raiseEveryAlarm());
    QCOMPARE(s.window->findChild<QTableView*>()->model()->rowCount(), 6 * 4);
    QCOMPARE(cutCells(*s.window->findChild<QTableView*>()), QStringList());
    bool checked = false;
    s.withHistory([&](HistoryDialog&, QTableView& table) {
        checked = true;
        const QAbstractItemModel& rows = *table.model();
        QCOMPARE(rows.rowCount(), 6 * 4 * 2);
        QCOMPARE(cutCells(table), QStringList());
        // The first transition: Drum pressure's high warning raised at (44 + 48) / 2, shown
        // at its one decimal with its unit.
        int value = 0;
        while (value < rows.columnCount() &&
               rows.headerData(value, Qt::Horizontal).toString() != QStringLiteral("Value"))
            ++value;
        QVERIFY(value < rows.columnCount());
        QCOMPARE(rows.index(0, value).data().toString(), QStringLiteral("46.0 bar"));
    });
    QVERIFY2(checked, "the history dialog did not open");
}

void tst_PanelScreen::theSameInstantReadsAlikeInTheSummaryAndTheHistory_data() {
    QTest::addColumn<bool>("utc");
    QTest::newRow("local") << false;
    QTest::newRow("UTC") << true;
}

// In New York, local or UTC, the same instant reads alike in the summary and the history,
// each names the zone, and the history's pickers read their dates and times in it.
void tst_PanelScreen::theSameInstantReadsAlikeInTheSummaryAndTheHistory() {
    QFETCH(bool, utc);
    TimeZoneOverride newYork("America/New_York");
    Screen s(utc ? DisplayZone::utc() : DisplayZone::local());
    QVERIFY(s.ready);
    const QString zoneName = utc ? QStringLiteral("UTC") : QStringLiteral("America/New_York");
    const QString expected =
        QDateTime::fromMSecsSinceEpoch(s.source->now, QTimeZone(zoneName.toLatin1()))
            .toString(QLatin1String(TimeFormat));
    s.source->send(Pressure, 50);
    QVERIFY(s.settle());
    const QAbstractItemModel& summary = *s.window->findChild<QTableView*>()->model();
    QCOMPARE(summary.index(0, AlarmSummaryModel::TimeColumn).data().toString(), expected);
    QCOMPARE(summary.headerData(AlarmSummaryModel::TimeColumn, Qt::Horizontal).toString(),
             "Time (" + zoneName + ")");
    bool checked = false;
    s.withHistory([&](HistoryDialog& dialog, QTableView& table) {
        checked = true;
        const QAbstractItemModel& rows = *table.model();
        QCOMPARE(rows.rowCount(), 1);
        QCOMPARE(rows.index(0, 0).data().toString(), expected);
        QCOMPARE(rows.headerData(0, Qt::Horizontal).toString(), "Time (" + zoneName + ")");
        QDateTimeEdit* from = dialog.findChildren<QDateTimeEdit*>().front();
        const auto* label =
            qobject_cast<QLabel*>(dialog.findChild<QFormLayout*>()->labelForField(from));
        QCOMPARE(label->text(), "From (" + zoneName + ")");
        // From set to the summary's second keeps the alarm, the next second drops it.
        const QTime second = QTime::fromString(expected.mid(11, 8), QStringLiteral("HH:mm:ss"));
        from->setDate(QDate::fromString(expected.left(10), Qt::ISODate));
        from->setTime(second);
        dialog.refresh();
        QCOMPARE(dialog.shownCount(), 1);
        from->setTime(second.addSecs(1));
        dialog.refresh();
        QCOMPARE(dialog.shownCount(), 0);
    });
    QVERIFY2(checked, "the history dialog did not open");
}

// What --zoom 2 sets, the window's zoom, draws each gauge as the widget draws at device pixel
// ratio 2.
void tst_PanelScreen::aGaugeAtZoomTwoIsTheRatioTwoRenderPixelForPixel() {
    Screen s;
    QVERIFY(s.ready);
    s.window->setZoom(Zoom::by(2));
    // Room for the whole grid at 200 %, so the gauge is seen whole in the window.
    s.window->resize(s.window->board()->sizeHint() + QSize(800, 200));
    QVERIFY(s.settle());
    MervGaugeWidget& shown = s.gauge(0);
    // The layouts give the gauge its zoomed size from the event loop, later on a loaded machine.
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), shown.sizeHint(), 10000);
    const QImage grab =
        rgb(s.window->grab(QRect(shown.mapTo(s.window.get(), QPoint()), shown.size())));

    MemoryPropertyBag bag = defaultForm().gauges[0].bag;
    MervGaugeWidget reference(bag);
    reference.resize(reference.sizeHint());
    QVERIFY(QTest::qWaitFor([&] { return reference.isFaceDrawn(); }));
    QImage render(reference.size() * 2, QImage::Format_RGB32);
    render.setDevicePixelRatio(2);
    reference.render(&render);
    render.setDevicePixelRatio(1);
    QCOMPARE(grab, render);
}

// View → Zoom → 200 %: every gauge at 200 % in a cell that hugs it, and a double-click on the
// dial opens the threshold editor, whose line edit takes typing.
void tst_PanelScreen::atTwoHundredPercentCellsHugTheirGaugesAndTheEditorTakesTyping() {
    Screen s;
    QVERIFY(s.ready);
    QAction* zoom = s.menuEntry("&View", "200 %", "&Zoom");
    QVERIFY2(zoom, "no menu entry View → Zoom → 200 %");
    zoom->trigger();
    QVERIFY(s.menuEntry("&View", "200 %", "&Zoom")->isChecked());
    QVERIFY(s.settle());
    // The layouts give the gauges their zoomed size from the event loop, later on a loaded
    // machine.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (int i = 0; i < s.controller().gaugeCount(); ++i)
                if (s.gauge(i).size() != s.gauge(i).sizeHint())
                    return false;
            return true;
        }(),
        10000);
    for (int i = 0; i < s.controller().gaugeCount(); ++i) {
        const QSize size = s.gauge(i).size(), cell = s.cell(i).size();
        const QString which = QStringLiteral("gauge %1: %2x%3 in a cell of %4x%5")
                                  .arg(i)
                                  .arg(size.width())
                                  .arg(size.height())
                                  .arg(cell.width())
                                  .arg(cell.height());
        QVERIFY2(size == QSize(340, 294), qPrintable(which));
        QVERIFY2(cell == size.grownBy(s.cell(i).frame()), qPrintable(which));
    }
    // The marker stands in the strip right above its gauge.
    QCOMPARE(s.gauge(0).y(), s.cell(0).frame().top());
    QVERIFY(s.cell(0).markerRect().bottom() < s.gauge(0).y());

    s.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    MervGaugeWidget& gauge = s.gauge(0);
    QTest::mouseDClick(&gauge, Qt::LeftButton, {}, gauge.controlOrigin() + DialPoint * 2);
    QVERIFY(gauge.editorOpen());
    auto* alarmHigh = gauge.findChild<QLineEdit*>(QStringLiteral("AlarmH"));
    QVERIFY(alarmHigh);
    QVERIFY(QTest::qWaitFor([&] { return alarmHigh->hasFocus(); }));
    QTest::keyClicks(alarmHigh, QStringLiteral("55"));
    QCOMPARE(alarmHigh->text(), QStringLiteral("55"));
    QCOMPARE(float(gauge.AlarmHighVal()), 55.0f);
}

void tst_PanelScreen::fitToWindowFillsTheRoomWithEveryGaugeInView() {
    Screen s;
    QVERIFY(s.ready);
    s.window->resize(1600, 980);
    QAction* fit = s.menuEntry("&View", "&Fit to Window", "&Zoom");
    QVERIFY2(fit, "no menu entry View → Zoom → Fit to Window");
    fit->trigger();
    QVERIFY(s.settle());
    GaugeBoard& board = *s.window->board();
    QVERIFY2(board.gaugeZoom() > 1.2, qPrintable(QString::number(board.gaugeZoom())));
    for (int i = 0; i < s.controller().gaugeCount(); ++i)
        QVERIFY2(board.viewport()->rect().contains(
                     QRect(s.gauge(i).mapTo(board.viewport(), QPoint()), s.gauge(i).size())),
                 qPrintable(QStringLiteral("gauge %1").arg(i)));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelScreen)
#include "tst_PanelScreen.moc"
