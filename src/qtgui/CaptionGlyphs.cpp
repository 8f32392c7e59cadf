#include "CaptionGlyphs.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>

#include <cmath>
#include <memory>
#include <thread>
#include <vector>

namespace merv::qt {

namespace {

// The layout counts positions in 1/64 pixel and cuts a line's start to that step.
constexpr qreal LayoutSteps = 64;

qreal toLayoutStep(qreal x) {
    return qreal(int(x * LayoutSteps)) / LayoutSteps;
}

// The characters whose glyphs are kept: printable Latin-1, which shapes left to right with
// one glyph per character in any font that has them.
bool keptCharacter(char16_t c) {
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA1 && c <= 0xFF);
}

// What the layout makes of a text alone on one line: its glyph runs and the line.
struct LaidOut {
    QList<QGlyphRun> runs;
    qreal height = 0;
};

LaidOut layOut(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setPosition(QPointF());
    layout.endLayout();
    return {layout.glyphRuns(), line.height()};
}

} // namespace

struct CaptionGlyphs::ThreadFonts {
    std::thread::id thread = std::this_thread::get_id();
    std::vector<std::unique_ptr<FontGlyphs>> fonts;
};

CaptionGlyphs::FontGlyphs* CaptionGlyphs::glyphsFor(const QFont& font) {
    // A font engine belongs to the thread that made it, so each thread keeps its own fonts.
    // They go with the last caption that held them, while the application and its fonts live.
    if (!m_fonts || m_fonts->thread != std::this_thread::get_id()) {
        thread_local std::weak_ptr<ThreadFonts> shared;
        m_fonts = shared.lock();
        if (!m_fonts) {
            m_fonts = std::make_shared<ThreadFonts>();
            shared = m_fonts;
        }
    }
    std::vector<std::unique_ptr<FontGlyphs>>& fonts = m_fonts->fonts;
    for (const auto& kept : fonts) {
        if (kept->font == font)
            return kept.get();
    }
    // The engine the layout draws a plain digit with stands for the font's own.
    const LaidOut digit = layOut(font, QStringLiteral("0"));
    if (digit.runs.size() != 1 || digit.runs.front().positions().size() != 1)
        return nullptr;
    auto glyphs = std::make_unique<FontGlyphs>();
    glyphs->font = font;
    glyphs->raw = digit.runs.front().rawFont();
    glyphs->baseline = digit.runs.front().positions().front().y();
    glyphs->height = digit.height;
    fonts.push_back(std::move(glyphs));
    return fonts.back().get();
}

const CaptionGlyphs::Glyph& CaptionGlyphs::glyph(FontGlyphs& glyphs, char16_t c) {
    const auto kept = glyphs.glyphs.find(c);
    if (kept != glyphs.glyphs.end())
        return kept->second;
    Glyph g;
    const QList<quint32> indexes = glyphs.raw.glyphIndexesForString(QString(QChar(c)));
    if (indexes.size() == 1 && indexes.front() != 0) {
        const QList<QPointF> advances = glyphs.raw.advancesForGlyphIndexes(indexes);
        g = {true, indexes.front(), advances.front().x()};
    }
    return glyphs.glyphs.emplace(c, g).first->second;
}

bool CaptionGlyphs::sideBySide(FontGlyphs& glyphs, char16_t a, char16_t b) {
    const auto kept = glyphs.pairs.find({a, b});
    if (kept != glyphs.pairs.end())
        return kept->second;
    // A space stays a glyph only between others: a letter on the outside keeps it there.
    const QString guard = QStringLiteral("x");
    const bool before = a == u' ';
    const QString text =
        (before ? guard : QString()) + QChar(a) + QChar(b) + (b == u' ' ? guard : QString());
    const LaidOut laid = layOut(glyphs.font, text);
    const Glyph& ga = glyph(glyphs, a);
    const Glyph& gb = glyph(glyphs, b);
    bool fits = laid.runs.size() == 1 && laid.runs.front().rawFont() == glyphs.raw &&
                laid.runs.front().glyphIndexes().size() == text.size();
    if (fits) {
        const QGlyphRun& run = laid.runs.front();
        const qsizetype i = before ? 1 : 0;
        fits = run.glyphIndexes()[i] == ga.index && run.glyphIndexes()[i + 1] == gb.index &&
               run.positions()[i + 1].x() - run.positions()[i].x() == ga.advance &&
               run.positions()[i].y() == glyphs.baseline &&
               run.positions()[i + 1].y() == glyphs.baseline;
    }
    glyphs.pairs.emplace(std::pair{a, b}, fits);
    return fits;
}

bool CaptionGlyphs::draw(QPainter& painter, const QRectF& box, int flags, const QString& text) {
    constexpr int Understood = Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignTop |
                               Qt::AlignBottom | Qt::AlignVCenter | Qt::TextWordWrap;
    if (text.isEmpty() || (flags & ~Understood) || !painter.paintEngine() ||
        painter.paintEngine()->type() != QPaintEngine::Raster ||
        painter.deviceTransform().type() > QTransform::TxTranslate)
        return false;
    const QFont& font = painter.font();
    if (font.underline() || font.strikeOut() || font.overline() || font.pixelSize() <= 0 ||
        font.letterSpacing() != 0 || font.wordSpacing() != 0 ||
        font.capitalization() != QFont::MixedCase)
        return false;
    // Spaces at either end the layout leaves out of the line's advance.
    if (text.front() == u' ' || text.back() == u' ')
        return false;
    FontGlyphs* glyphs = glyphsFor(font);
    if (!glyphs)
        return false;
    m_indexes.clear();
    m_positions.clear();
    qreal advance = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!keptCharacter(c))
            return false;
        const Glyph& g = glyph(*glyphs, c);
        if (!g.simple || (i > 0 && !sideBySide(*glyphs, text[i - 1].unicode(), c)))
            return false;
        m_indexes.push_back(g.index);
        m_positions.emplace_back(advance, glyphs->baseline);
        advance += g.advance;
    }
    // Wider than the box, the text would wrap or be clipped; taller, it would be clipped.
    if (advance >= box.width() || glyphs->height > box.height())
        return false;
    qreal x = 0;
    if (flags & Qt::AlignRight)
        x = box.width() - advance;
    else if (flags & Qt::AlignHCenter)
        x = (box.width() - advance) / 2;
    qreal y = 0;
    if (flags & Qt::AlignBottom)
        y = box.height() - glyphs->height;
    else if (flags & Qt::AlignVCenter)
        y = (box.height() - glyphs->height) / 2;
    QGlyphRun run;
    run.setRawFont(glyphs->raw);
    run.setGlyphIndexes(m_indexes);
    run.setPositions(m_positions);
    painter.drawGlyphRun(QPointF(toLayoutStep(box.x() + x), toLayoutStep(box.y() + y)), run);
    return true;
}

} // namespace merv::qt
