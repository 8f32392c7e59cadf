// Captions drawn from kept glyphs: the same pixels as QPainter::drawText, or nothing drawn and
// the caller left to draw the text itself.
#include <mervgauge/private/CaptionGlyphs.h>
#include <mervgauge/private/FontOf.h>

#include <QImage>
#include <QPainter>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

using merv::qt::CaptionGlyphs;

namespace {

// The value label's box, and the image it is drawn into around it.
constexpr QRectF ValueBox(0, 0, 113, 17);
constexpr QSize Canvas(140, 40);
constexpr int LabelFlags = Qt::AlignTop | Qt::TextWordWrap;

QFont labelFont(int weight = 400, double points = 8.25, bool underline = false) {
    return merv::qt::fontOf({"Arial", points, weight, false, underline, false});
}

struct Drawn {
    QImage image;
    bool byGlyphs = false;
};

// The text drawn at the offset, by the kept glyphs where they take it, else by drawText.
Drawn draw(CaptionGlyphs& glyphs, const QFont& font, QPointF offset, int flags, const QString& text,
           bool useGlyphs) {
    Drawn drawn{QImage(Canvas, QImage::Format_ARGB32_Premultiplied)};
    drawn.image.fill(Qt::white);
    QPainter painter(&drawn.image);
    painter.translate(offset);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x30, 0x90));
    drawn.byGlyphs = useGlyphs && glyphs.draw(painter, ValueBox, flags, text);
    if (!drawn.byGlyphs)
        painter.drawText(ValueBox, flags, text);
    return drawn;
}

// The captions a value label shows along a scale: tenths from first to last, in steps, and a unit.
struct Scale {
    int first, last, step; // in tenths
    const char* unit;
};

// The first caption of the scale that the glyphs do not draw as drawText does, on the calling
// thread; empty when every one matches.
QString firstCaptionUnlikeDrawText(CaptionGlyphs& glyphs, const Scale& scale) {
    const QFont font = labelFont();
    for (int value = scale.first; value <= scale.last; value += scale.step) {
        const QString text =
            QString::number(value / 10.0, 'f', 1) + u' ' + QString::fromUtf8(scale.unit);
        const Drawn expected =
            draw(glyphs, font, {28, 5}, Qt::AlignHCenter | LabelFlags, text, false);
        const Drawn actual = draw(glyphs, font, {28, 5}, Qt::AlignHCenter | LabelFlags, text, true);
        if (!actual.byGlyphs || actual.image != expected.image)
            return text;
    }
    return {};
}

} // namespace

class CaptionGlyphsTest : public QObject {
    Q_OBJECT
private slots:
    void samePixelsAsDrawText_data();
    void samePixelsAsDrawText();
    void everyValueOfAScaleLikeDrawText();
    void leavesToDrawTextWhatItCannotVouchFor_data();
    void leavesToDrawTextWhatItCannotVouchFor();
    void aScaledPainterIsLeftToDrawText();
    void captionsOfOneThreadOutliveEachOther();
    void aCaptionDrawsLikeDrawTextOnEveryThreadItIsDrawnOn();
};

void CaptionGlyphsTest::samePixelsAsDrawText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<int>("weight");
    const QList<QString> texts{QStringLiteral("27 EU"), QStringLiteral("-0.5 bar"),
                               QStringLiteral("1,234.75 kPa"), QStringLiteral("Wo AV Ty"),
                               QStringLiteral("100%")};
    const QList<QPair<const char*, int>> alignments{
        {"left", Qt::AlignLeft}, {"centre", Qt::AlignHCenter}, {"right", Qt::AlignRight}};
    const QList<QPointF> offsets{{28, 3}, {28.5, 3.25}, {3.3, 7.7}};
    for (const QString& text : texts) {
        for (const auto& [name, alignment] : alignments) {
            for (const QPointF& offset : offsets) {
                for (const int weight : {400, 700}) {
                    QTest::addRow("%s %s at %g,%g weight %d", qPrintable(text), name, offset.x(),
                                  offset.y(), weight)
                        << text << alignment << offset << weight;
                }
            }
        }
    }
}

void CaptionGlyphsTest::samePixelsAsDrawText() {
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(QPointF, offset);
    QFETCH(int, weight);
    CaptionGlyphs glyphs;
    const QFont font = labelFont(weight);
    const Drawn expected = draw(glyphs, font, offset, alignment | LabelFlags, text, false);
    const Drawn actual = draw(glyphs, font, offset, alignment | LabelFlags, text, true);
    // Kerned pairs ("AV") go to drawText; the rest must come from the glyphs.
    if (!text.contains(QStringLiteral("AV")))
        QVERIFY(actual.byGlyphs);
    QCOMPARE(actual.image, expected.image);
}

// The value label as it changes with every write: each caption of a scale in one painter's
// glyphs, which grow as new characters and pairs come.
void CaptionGlyphsTest::everyValueOfAScaleLikeDrawText() {
    CaptionGlyphs glyphs;
    const QString unlike = firstCaptionUnlikeDrawText(glyphs, {-120, 1200, 7, "EU"});
    QVERIFY2(unlike.isEmpty(), qPrintable(unlike));
}

void CaptionGlyphsTest::leavesToDrawTextWhatItCannotVouchFor_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QFont>("font");
    QTest::addRow("wider than the box: it wraps")
        << QStringLiteral("a caption far too long for the value label's box") << labelFont();
    QTest::addRow("taller than the box: it is clipped")
        << QStringLiteral("12") << labelFont(400, 20);
    QTest::addRow("a line break") << QStringLiteral("12\nEU") << labelFont();
    QTest::addRow("beyond Latin-1") << QStringLiteral("12 \u00b5\u03a9") << labelFont();
    QTest::addRow("a trailing space") << QStringLiteral("12 ") << labelFont();
    QTest::addRow("an underlined font") << QStringLiteral("12 EU") << labelFont(400, 8.25, true);
}

void CaptionGlyphsTest::leavesToDrawTextWhatItCannotVouchFor() {
    QFETCH(QString, text);
    QFETCH(QFont, font);
    CaptionGlyphs glyphs;
    const Drawn expected = draw(glyphs, font, {28, 3}, Qt::AlignHCenter | LabelFlags, text, false);
    const Drawn actual = draw(glyphs, font, {28, 3}, Qt::AlignHCenter | LabelFlags, text, true);
    QVERIFY(!actual.byGlyphs);
    QCOMPARE(actual.image, expected.image);
}

void CaptionGlyphsTest::aScaledPainterIsLeftToDrawText() {
    CaptionGlyphs glyphs;
    QImage image(Canvas * 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(2, 2);
    painter.setFont(labelFont());
    QVERIFY(
        !glyphs.draw(painter, ValueBox, Qt::AlignHCenter | LabelFlags, QStringLiteral("27 EU")));
    QCOMPARE(image.pixel(10, 10), QColor(Qt::white).rgb());
}

namespace {

// Whether each caption of a scale, drawn by the glyphs, matches drawText on the calling thread.
bool scaleLikeDrawText(CaptionGlyphs& glyphs, int first, int last) {
    return firstCaptionUnlikeDrawText(glyphs, {first, last, 3, "%"}).isEmpty();
}

} // namespace

// Gauges come and go: what one caption learnt stays right for the others, and for a caption
// made after all before it are gone.
void CaptionGlyphsTest::captionsOfOneThreadOutliveEachOther() {
    auto first = std::make_unique<CaptionGlyphs>();
    CaptionGlyphs second;
    QVERIFY(scaleLikeDrawText(*first, 0, 300));
    QVERIFY(scaleLikeDrawText(second, 200, 500));
    first.reset();
    QVERIFY(scaleLikeDrawText(second, 0, 600));
    {
        CaptionGlyphs third;
        QVERIFY(scaleLikeDrawText(third, 400, 900));
    }
    CaptionGlyphs fourth;
    QVERIFY(scaleLikeDrawText(fourth, 0, 900));
}

// A caption drawn on another thread (an item rendered on its own thread, an export into an
// image) draws with that thread's fonts, while captions on other threads draw at the same time.
void CaptionGlyphsTest::aCaptionDrawsLikeDrawTextOnEveryThreadItIsDrawnOn() {
    CaptionGlyphs moved;
    QVERIFY(scaleLikeDrawText(moved, 0, 200));
    std::atomic<bool> movedRight = false;
    std::atomic<bool> othersRight = true;
    {
        std::thread worker([&] { movedRight = scaleLikeDrawText(moved, 100, 700); });
        std::thread other([&] {
            CaptionGlyphs own;
            if (!scaleLikeDrawText(own, 0, 700))
                othersRight = false;
        });
        CaptionGlyphs here;
        const bool hereRight = scaleLikeDrawText(here, 0, 700);
        worker.join();
        other.join();
        QVERIFY(hereRight);
    }
    QVERIFY(movedRight);
    QVERIFY(othersRight);
    // Back on this thread, it draws with this thread's fonts again.
    QVERIFY(scaleLikeDrawText(moved, 300, 900));
}

QTEST_MAIN(CaptionGlyphsTest)
#include "tst_CaptionGlyphs.moc"
