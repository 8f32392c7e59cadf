#include "dial/DialFace.h"

#include "dial/DialGeometry.h"
#include "platform/Conversions.h"
#include "platform/RuntimeError.h"

#include <array>
#include <cmath>

namespace merv {

namespace {

// Pen widths: zone bands are outlined 2 pixels wide, ticks 1.
constexpr int BandDrawWidth = 2;
constexpr int TickDrawWidth = 1;
constexpr int SolidFill = 0;
constexpr std::uint32_t TickColor = 0x000000u;
// Arc nudges that keep a band's arc from collapsing where thresholds meet the scale ends or
// each other; the first four are the nearest singles.
constexpr float HighEndArc = 0.01f;
constexpr float HighWarningEndArc = 0.02f;
constexpr float LowEndArc = 179.99f;
constexpr float LowWarningEndArc = 179.98f;
constexpr double EqualThresholdNudge = 0.01;
// Ticks stand at 20, 40, 60 and 80 percent of the span.
constexpr std::int16_t FirstTick = 36, LastTick = 144, TickStep = 36;
// The intermediate scale labels show one decimal when they are not whole.
constexpr const char* FractionalLabelFormat = "###0.0";

float single(const std::string& text, const NumberLocale& locale) {
    return convert::textToSingle(text, locale);
}

double number(const std::string& text, const NumberLocale& locale) {
    return convert::textToDouble(text, locale);
}

} // namespace

void DialFace::draw(const ZoneColors& colors, const NumberLocale& locale) {
    m_ui.Sfondo.cls();
    clampThresholds(locale);
    computeAngles(locale);
    adjustArcs(locale);
    drawBands(colors);
    drawTicks();
    writeScaleLabels(locale);
    m_ui.Sfondo.refresh();
}

void DialFace::clampThresholds(const NumberLocale& locale) {
    // A high threshold outside the scale goes to the maximum and a low one to the minimum,
    // whichever side it left on; the caption text is copied unchanged.
    struct Rule {
        TextField& field;
        bool aboveMaximum;
        Label& replacement;
    };
    const std::array<Rule, 8> rules{{
        {m_ui.AlarmH, true, m_ui.Massimo},
        {m_ui.WarningH, true, m_ui.Massimo},
        {m_ui.AlarmL, true, m_ui.Minimo},
        {m_ui.WarningL, true, m_ui.Minimo},
        {m_ui.AlarmH, false, m_ui.Massimo},
        {m_ui.WarningH, false, m_ui.Massimo},
        {m_ui.AlarmL, false, m_ui.Minimo},
        {m_ui.WarningL, false, m_ui.Minimo},
    }};
    for (const Rule& rule : rules) {
        const float threshold = single(rule.field.text(), locale);
        const bool outside = rule.aboveMaximum ? threshold > single(m_ui.Massimo.caption(), locale)
                                               : threshold < single(m_ui.Minimo.caption(), locale);
        if (outside)
            rule.field.setText(rule.replacement.caption());
    }
}

void DialFace::computeAngles(const NumberLocale& locale) {
    auto angleOf = [&](const TextField& field) {
        const double value = number(field.text(), locale);
        const double minimum = number(m_ui.Minimo.caption(), locale);
        const double maximum = number(m_ui.Massimo.caption(), locale);
        return dial::valueToAngle(value, minimum, maximum);
    };
    m_AlarmHighAngle = angleOf(m_ui.AlarmH);
    m_WarningHighAngle = angleOf(m_ui.WarningH);
    m_WarningLowAngle = angleOf(m_ui.WarningL);
    m_AlarmLowAngle = angleOf(m_ui.AlarmL);
}

void DialFace::adjustArcs(const NumberLocale& locale) {
    m_AlarmHighArc = m_AlarmHighAngle;
    m_WarningHighArc = m_WarningHighAngle;
    m_WarningLowArc = m_WarningLowAngle;
    m_AlarmLowArc = m_AlarmLowAngle;

    auto text = [&](const TextField& field) { return single(field.text(), locale); };
    auto caption = [&](const Label& label) { return single(label.caption(), locale); };

    if (caption(m_ui.Massimo) <= text(m_ui.WarningH)) {
        m_WarningHighArc = HighWarningEndArc;
        m_AlarmHighArc = HighEndArc;
    }
    if (caption(m_ui.Massimo) <= text(m_ui.AlarmH))
        m_AlarmHighArc = HighEndArc;
    if (caption(m_ui.Minimo) >= text(m_ui.WarningL)) {
        m_WarningLowArc = LowWarningEndArc;
        m_AlarmLowArc = LowEndArc;
    }
    if (caption(m_ui.Minimo) >= text(m_ui.AlarmL))
        m_AlarmLowArc = LowEndArc;
    if (text(m_ui.AlarmH) == text(m_ui.WarningH))
        m_WarningHighArc = convert::toSingle(double(m_AlarmHighAngle) + EqualThresholdNudge);
    if (text(m_ui.AlarmL) == text(m_ui.WarningL))
        m_WarningLowArc = convert::toSingle(double(m_AlarmLowAngle) - EqualThresholdNudge);
}

void DialFace::drawBands(const ZoneColors& colors) {
    Surface& surface = m_ui.Sfondo.surface();
    surface.setDrawWidth(BandDrawWidth);
    surface.setFillStyle(SolidFill);

    const float arc180 = static_cast<float>(dial::ArcEnd180Radians);
    constexpr float arc0 = 0.0f;
    if (m_AlarmLowAngle < 180.0f)
        DrawZoneBand(colors.alarm, 180.0f, m_AlarmLowAngle, dial::arcRadians(m_AlarmLowArc), arc180,
                     false);
    if (m_WarningLowAngle < m_AlarmLowAngle)
        DrawZoneBand(colors.warning, m_AlarmLowAngle, m_WarningLowAngle,
                     dial::arcRadians(m_WarningLowArc), dial::arcRadians(m_AlarmLowArc), true);
    DrawZoneBand(colors.normal, m_WarningLowAngle, m_WarningHighAngle,
                 dial::arcRadians(m_WarningHighArc), dial::arcRadians(m_WarningLowArc), false);
    if (m_WarningHighAngle > m_AlarmHighAngle)
        DrawZoneBand(colors.warning, m_WarningHighAngle, m_AlarmHighAngle,
                     dial::arcRadians(m_AlarmHighArc), dial::arcRadians(m_WarningHighArc), false);
    if (m_AlarmHighAngle > 0.0f)
        DrawZoneBand(colors.alarm, m_AlarmHighAngle, 0.0f, arc0, dial::arcRadians(m_AlarmHighArc),
                     false);
}

void DialFace::DrawZoneBand(std::uint32_t color, float p, float q, float arcStartRadians,
                            float arcEndRadians, bool raiseStartEdge) {
    Surface& surface = m_ui.Sfondo.surface();
    const dial::BandEnds ends = dial::computeBandEnds(p, q);
    surface.setForeColor(color);
    surface.setFillColor(color);
    const auto cx = static_cast<float>(dial::CentreX);
    const auto cy = static_cast<float>(dial::CentreY);
    surface.circle(cx, cy, static_cast<float>(dial::BandOuterRadius), color, arcStartRadians,
                   arcEndRadians);
    surface.circle(cx, cy, static_cast<float>(dial::BandInnerRadius), color, arcStartRadians,
                   arcEndRadians);
    // The warning-low band draws its boundary with the alarm-low band one pixel higher.
    const float lift = raiseStartEdge ? 1.0f : 0.0f;
    surface.line(ends.startOuter.x, ends.startOuter.y - lift, ends.startInner.x,
                 ends.startInner.y - lift);
    surface.line(ends.endOuter.x, ends.endOuter.y, ends.endInner.x, ends.endInner.y);
    const dial::Point seed = dial::computeBandSeed(p, q);
    surface.floodFill(dial::roundHalfEven(seed.x), dial::roundHalfEven(seed.y),
                      surface.foreColor());
}

void DialFace::drawTicks() {
    Surface& surface = m_ui.Sfondo.surface();
    surface.setDrawWidth(TickDrawWidth);
    for (std::int16_t a = FirstTick; a <= LastTick; a += TickStep) {
        const dial::Point outer = dial::pointAt(a, dial::TickOuterRadius);
        const dial::Point inner = dial::pointAt(a, dial::TickInnerRadius);
        surface.line(outer.x, outer.y, inner.x, inner.y, TickColor);
    }
}

void DialFace::writeScaleLabels(const NumberLocale& locale) {
    const std::array<Label*, 4> labels{&m_ui.Venti, &m_ui.Quaranta, &m_ui.Sessanta, &m_ui.Ottanta};
    constexpr std::array<int, 4> percents{20, 40, 60, 80};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const double maximum = number(m_ui.Massimo.caption(), locale);
        const double minimum = number(m_ui.Minimo.caption(), locale);
        const double span = maximum - minimum;
        const double value = (span * percents[i] / 100.0) + number(m_ui.Minimo.caption(), locale);
        if (!std::isfinite(value))
            throw RuntimeError(ErrorNumber::Overflow);
        labels[i]->setCaption(convert::doubleToText(value, locale));
    }
    for (Label* label : labels) {
        const double x = number(label->caption(), locale);
        if (x - std::floor(x) != 0.0)
            label->setCaption(convert::format(label->caption(), FractionalLabelFormat, locale));
    }
}

} // namespace merv
