// The panel's screen as an operator reads it: badges and markers that stand out, table cells
// shown whole, one time zone throughout, and gauges zoomed as sharply as at that pixel ratio
// and still usable through the zoom.
#include "Contrast.h"
#include "FakeSource.h"
#include "GaugeCell.h"
#include "HistoryDialog.h"
#include "PanelController.h"
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
#include <QTableWidget>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

#include <gtest/gtest.h>

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
// whose clock stands a minute ago: the history's first range holds what it records.
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
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        settle();
    }
    // Until every face is drawn and the views have laid out what changed.
    void settle() {
        EXPECT_TRUE(QTest::qWaitFor([&] {
            for (int i = 0; i < controller().gaugeCount(); ++i)
                if (!controller().gauge(i)->isFaceDrawn())
                    return false;
            return true;
        }));
        QTest::qWait(50); // the views resize their columns from the event loop
    }
    PanelController& controller() { return window->controller(); }
    GaugeCell& cell(int i) { return *qobject_cast<GaugeCell*>(gauge(i).parentWidget()); }
    MervGaugeWidget& gauge(int i) { return *controller().gauge(i); }
    // Every kind of alarm on every gauge, raised and returned.
    void raiseEveryAlarm() {
        for (const SourceTag& t : source->started)
            for (double value : {(t.warningHigh + t.alarmHigh) / 2, t.maximum, t.normal,
                                 (t.alarmLow + t.warningLow) / 2, t.minimum, t.normal})
                source->send(t.tag.c_str(), value);
        settle();
    }
    // Runs check on the dialog that File → Alarm History… opens, then closes it.
    void withHistory(const std::function<void(HistoryDialog&, QTableWidget&)>& check) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<HistoryDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QTest::qWait(50);
            check(*dialog, *dialog->findChild<QTableWidget*>());
            dialog->reject();
        });
        menuEntry("&File", "Alarm &History…")->trigger();
    }
    QAction* menuEntry(const char* menu, const char* entry, const char* submenu = nullptr) {
        QMenu* m = nullptr;
        for (QAction* top : window->menuBar()->actions())
            if (top->text() == QString::fromUtf8(menu))
                m = top->menu();
        for (QAction* a : m->actions())
            if (submenu && a->menu() && a->text() == QString::fromUtf8(submenu))
                m = a->menu();
        for (QAction* a : m->actions())
            if (a->text() == QString::fromUtf8(entry))
                return a;
        ADD_FAILURE() << "no menu entry " << entry;
        return nullptr;
    }

    test::TempFolder folder;
    AlarmHistory history;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelWindow> window;
};

// The cells of a table that would not show whole: a text wider than its column (the view
// elides it), or a column reaching past the view's right edge.
std::vector<std::string> cutCells(const QTableView& view) {
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    std::vector<std::string> cut;
    for (int c = 0; c < view.model()->columnCount(); ++c) {
        const bool inView =
            view.columnViewportPosition(c) + view.columnWidth(c) <= view.viewport()->width();
        for (int r = 0; r < view.model()->rowCount(); ++r) {
            const QString text = view.model()->index(r, c).data().toString();
            if (!inView ||
                view.fontMetrics().horizontalAdvance(text) + 2 * margin > view.columnWidth(c))
                cut.push_back(text.toStdString());
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

TEST(Contrast, RatiosAreTheRelativeLuminanceRatiosEitherWayRound) {
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21, 1e-9);
    EXPECT_NEAR(contrastRatio(Qt::white, QColor(0x77, 0x77, 0x77)), 4.478, 0.001);
    EXPECT_NEAR(contrastRatio(QColor(0xef, 0xef, 0xef), QColor(0x80, 0x80, 0x80)), 3.435, 0.001);
}

class BadgesAndMarkers : public ::testing::TestWithParam<bool> {};

// Read from the window's pixels: the bad-quality badge, its text and a steady alarm marker
// against the strip they stand on, with a light palette and a dark one.
TEST_P(BadgesAndMarkers, StandOutFromTheirBackgroundInAGrabOfTheWindow) {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    Screen s(DisplayZone::local(), GetParam() ? &dark : nullptr);
    s.source->setConnected(false); // every gauge of bad quality
    s.source->send(Pressure, 50);
    s.controller().acknowledgeAll(); // active and acknowledged: the marker stays lit
    ASSERT_EQ(s.cell(0).marker(), GaugeCell::Marker::Steady);
    s.settle();
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
    EXPECT_GE(contrastRatio(fill, background), MinimumContrast) << fill.name().toStdString();
    EXPECT_GE(contrastRatio(text, fill), MinimumContrast) << text.name().toStdString();
    EXPECT_GE(contrastRatio(dot, background), MinimumContrast) << dot.name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, BadgesAndMarkers, ::testing::Bool());

TEST(PanelScreen, NoSummaryOrHistoryCellIsCutAndValuesShowAsTheGaugesShowThem) {
    Screen s;
    s.raiseEveryAlarm();
    ASSERT_EQ(s.window->findChild<QTableView*>()->model()->rowCount(), 6 * 4);
    EXPECT_EQ(cutCells(*s.window->findChild<QTableView*>()), std::vector<std::string>());
    s.withHistory([](HistoryDialog&, QTableWidget& table) {
        ASSERT_EQ(table.rowCount(), 6 * 4 * 2);
        EXPECT_EQ(cutCells(table), std::vector<std::string>());
        // The first transition: Drum pressure's high warning raised at (44 + 48) / 2, shown
        // at its one decimal with its unit.
        EXPECT_EQ(table.item(0, table.columnCount() - 1)->text(), QStringLiteral("46.0 bar"));
    });
}

class OneTimeZone : public ::testing::TestWithParam<bool> {};

// In New York, local or UTC, the same instant reads alike in the summary and the history,
// each names the zone, and the history's pickers read their dates and times in it.
TEST_P(OneTimeZone, TheSameInstantReadsAlikeInTheSummaryAndTheHistory) {
    const bool utc = GetParam();
    TimeZoneOverride newYork("America/New_York");
    Screen s(utc ? DisplayZone::utc() : DisplayZone::local());
    const QString zoneName = utc ? QStringLiteral("UTC") : QStringLiteral("America/New_York");
    const QString expected =
        QDateTime::fromMSecsSinceEpoch(s.source->now, QTimeZone(zoneName.toLatin1()))
            .toString(QLatin1String(TimeFormat));
    s.source->send(Pressure, 50);
    s.settle();
    const QAbstractItemModel& summary = *s.window->findChild<QTableView*>()->model();
    EXPECT_EQ(summary.index(0, AlarmSummaryModel::TimeColumn).data().toString(), expected);
    EXPECT_EQ(summary.headerData(AlarmSummaryModel::TimeColumn, Qt::Horizontal).toString(),
              "Time (" + zoneName + ")");
    s.withHistory([&](HistoryDialog& dialog, QTableWidget& table) {
        ASSERT_EQ(table.rowCount(), 1);
        EXPECT_EQ(table.item(0, 0)->text(), expected);
        EXPECT_EQ(table.horizontalHeaderItem(0)->text(), "Time (" + zoneName + ")");
        QDateTimeEdit* from = dialog.findChildren<QDateTimeEdit*>().front();
        const auto* label =
            qobject_cast<QLabel*>(dialog.findChild<QFormLayout*>()->labelForField(from));
        EXPECT_EQ(label->text(), "From (" + zoneName + ")");
        // From set to the summary's second keeps the alarm, the next second drops it.
        const QTime second = QTime::fromString(expected.mid(11, 8), QStringLiteral("HH:mm:ss"));
        from->setDate(QDate::fromString(expected.left(10), Qt::ISODate));
        from->setTime(second);
        dialog.refresh();
        EXPECT_EQ(dialog.shownCount(), 1);
        from->setTime(second.addSecs(1));
        dialog.refresh();
        EXPECT_EQ(dialog.shownCount(), 0);
    });
}

INSTANTIATE_TEST_SUITE_P(LocalAndUtc, OneTimeZone, ::testing::Bool());

// What --zoom 2 sets, the window's zoom, draws each gauge as the widget draws at device pixel
// ratio 2.
TEST(PanelZoom, AGaugeAtZoomTwoIsTheRatioTwoRenderPixelForPixel) {
    Screen s;
    s.window->setZoom(Zoom::by(2));
    // Room for the whole grid at 200 %, so the gauge is seen whole in the window.
    s.window->resize(s.window->board().sizeHint() + QSize(800, 200));
    s.settle();
    MervGaugeWidget& shown = s.gauge(0);
    const QImage grab =
        rgb(s.window->grab(QRect(shown.mapTo(s.window.get(), QPoint()), shown.size())));

    MemoryPropertyBag bag = defaultForm().gauges[0].bag;
    MervGaugeWidget reference(bag);
    reference.resize(reference.sizeHint());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reference.isFaceDrawn(); }));
    QImage render(reference.size() * 2, QImage::Format_RGB32);
    render.setDevicePixelRatio(2);
    reference.render(&render);
    render.setDevicePixelRatio(1);
    EXPECT_EQ(grab, render);
}

// View → Zoom → 200 %: every gauge at 200 % in a cell that hugs it, and a double-click on the
// dial opens the threshold editor, whose line edit takes typing.
TEST(PanelZoom, AtTwoHundredPercentCellsHugTheirGaugesAndTheEditorTakesTyping) {
    Screen s;
    s.menuEntry("&View", "200 %", "&Zoom")->trigger();
    EXPECT_TRUE(s.menuEntry("&View", "200 %", "&Zoom")->isChecked());
    s.settle();
    for (int i = 0; i < s.controller().gaugeCount(); ++i) {
        EXPECT_EQ(s.gauge(i).size(), QSize(340, 294)) << i;
        EXPECT_EQ(s.cell(i).size(), s.gauge(i).size().grownBy(s.cell(i).frame())) << i;
    }
    // The marker stands in the strip right above its gauge.
    EXPECT_EQ(s.gauge(0).y(), s.cell(0).frame().top());
    EXPECT_LT(s.cell(0).markerRect().bottom(), s.gauge(0).y());

    s.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.window.get()));
    MervGaugeWidget& gauge = s.gauge(0);
    QTest::mouseDClick(&gauge, Qt::LeftButton, {}, gauge.controlOrigin() + DialPoint * 2);
    ASSERT_TRUE(gauge.editorOpen());
    auto* alarmHigh = gauge.findChild<QLineEdit*>(QStringLiteral("AlarmH"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarmHigh->hasFocus(); }));
    QTest::keyClicks(alarmHigh, QStringLiteral("55"));
    EXPECT_EQ(alarmHigh->text(), QStringLiteral("55"));
    EXPECT_FLOAT_EQ(gauge.AlarmHighVal(), 55);
}

TEST(PanelZoom, FitToWindowFillsTheRoomWithEveryGaugeInView) {
    Screen s;
    s.window->resize(1600, 980);
    s.menuEntry("&View", "&Fit to Window", "&Zoom")->trigger();
    s.settle();
    GaugeBoard& board = s.window->board();
    EXPECT_GT(board.gaugeZoom(), 1.2);
    for (int i = 0; i < s.controller().gaugeCount(); ++i)
        EXPECT_TRUE(board.viewport()->rect().contains(
            QRect(s.gauge(i).mapTo(board.viewport(), QPoint()), s.gauge(i).size())))
            << i;
}

} // namespace
} // namespace merv::panel
