#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QString>

#include <map>
#include <memory>

class QPainter;

namespace merv::qt {

// Draws a one-line caption from glyphs kept per character, skipping the layout and shaping
// QPainter::drawText does for every call: a value label's text changes with every write, and
// shaping it again each time costs more than the rest of the label's paint. Each character's
// glyph and advance, and whether two characters stand side by side as their advances add up
// (no kerning, ligature or fallback font between them), come from Qt's own layout once per
// font, so the glyphs land exactly where drawText puts them. What the layout told is shared by
// every caption drawn on one thread: a hundred gauges of one font ask it once, not a hundred
// times, and a value that brings a new pair of digits does not cost each of them a layout.
class CaptionGlyphs {
public:
    // Draws the text as painter.drawText(box, flags, text) would, with the painter's font and
    // pen; false, drawing nothing, where the text or the painter is beyond what the kept glyphs
    // vouch for (several lines, a character outside printable Latin-1, a rotated or scaled
    // painter, a decorated font, a paint engine other than the raster one...).
    bool draw(QPainter& painter, const QRectF& box, int flags, const QString& text);

private:
    // One character as the layout shapes it alone.
    struct Glyph {
        bool simple = false; // one glyph of the font itself
        quint32 index = 0;
        qreal advance = 0; // in 1/64 pixel steps, as the layout counts
    };
    // What one font's characters look like to the layout.
    struct FontGlyphs {
        QFont font;
        QRawFont raw;       // the font engine the layout draws them with
        qreal baseline = 0; // from the line's top
        qreal height = 0;   // the line's
        std::map<char16_t, Glyph> glyphs;
        std::map<std::pair<char16_t, char16_t>, bool> pairs; // whether the advances add up
    };
    // The fonts known on one thread, as long as a caption drawn there holds them.
    struct ThreadFonts;
    FontGlyphs* glyphsFor(const QFont& font);
    static const Glyph& glyph(FontGlyphs& glyphs, char16_t c);
    static bool sideBySide(FontGlyphs& glyphs, char16_t a, char16_t b);

    std::shared_ptr<ThreadFonts> m_fonts; // the drawing thread's, taken at the first draw
    // Kept between draws, so that drawing allocates nothing once they have grown.
    QList<quint32> m_indexes;
    QList<QPointF> m_positions;
};

} // namespace merv::qt
