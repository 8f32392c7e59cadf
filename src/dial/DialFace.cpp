#include <mervgauge/dial/DialFace.h>

#include <mervgauge/dial/DialGeometry.h>
#include <mervgauge/dial/FaceDrawing.h>
#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/RuntimeError.h>

#include <array>
#include <cmath>

namespace merv {

namespace {

// Arc nudges that keep a band's arc from collapsing where thresholds meet the scale ends or
// each other; the first four are the nearest singles.
constexpr float HighEndArc = 0.01f;
constexpr float HighWarningEndArc = 0.02f;
constexpr float LowEndArc = 179.99f;
constexpr float LowWarningEndArc = 179.98f;
constexpr double EqualThresholdNudge = 0.01;
// The intermediate scale labels show one decimal when they are not whole.
constexpr const char* FractionalLabelFormat = "###0.0";

} // namespace

NumberMemo& DialFace::memoOf(const TextField& field) noexcept {
    const std::array<const TextField*, 4> fields{&m_ui.AlarmH, &m_ui.WarningH, &m_ui.WarningL,
                                                 &m_ui.AlarmL};
    std::size_t i = 0;
    while (i + 1 < fields.size() && fields[i] != &field)
        ++i;
    return m_thresholdNumbers[i];
}

NumberMemo& DialFace::memoOf(const Label& label) noexcept {
    const std::array<const Label*, 6> labels{&m_ui.Minimo,   &m_ui.Massimo,  &m_ui.Venti,
                                             &m_ui.Quaranta, &m_ui.Sessanta, &m_ui.Ottanta};
    std::size_t i = 0;
    while (i + 1 < labels.size() && labels[i] != &label)
        ++i;
    return m_labelNumbers[i];
}

double DialFace::number(const TextField& field, const NumberLocale& locale) {
    return memoOf(field).toDouble(field.text(), field.textGeneration(), locale);
}

float DialFace::single(const TextField& field, const NumberLocale& locale) {
    return memoOf(field).toSingle(field.text(), field.textGeneration(), locale);
}

double DialFace::number(const Label& label, const NumberLocale& locale) {
    return memoOf(label).toDouble(label.caption(), label.captionGeneration(), locale);
}

float DialFace::single(const Label& label, const NumberLocale& locale) {
    return memoOf(label).toSingle(label.caption(), label.captionGeneration(), locale);
}

void DialFace::draw(const ZoneColors& colors, const NumberLocale& locale) {
    // Views see the face as the draw leaves it, also when a step fails part way.
    ElementTree::DeferredNotices presentOnce(m_ui.Sfondo.tree());
    m_ui.Sfondo.cls();
    m_bandsDrawn = false;
    clampThresholds(locale);
    computeAngles(locale);
    adjustArcs(locale);
    m_colors = colors;
    dial::drawFace(m_ui.Sfondo.surface(), m_geometry, colors);
    m_bandsDrawn = true;
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
        const float threshold = single(rule.field, locale);
        const bool outside = rule.aboveMaximum ? threshold > single(m_ui.Massimo, locale)
                                               : threshold < single(m_ui.Minimo, locale);
        if (outside)
            rule.field.setText(rule.replacement.caption());
    }
}

void DialFace::computeAngles(const NumberLocale& locale) {
    auto angleOf = [&](const TextField& field) {
        const double value = number(field, locale);
        const double minimum = number(m_ui.Minimo, locale);
        const double maximum = number(m_ui.Massimo, locale);
        return dial::valueToAngle(value, minimum, maximum);
    };
    m_geometry.alarmHighAngle = angleOf(m_ui.AlarmH);
    m_geometry.warningHighAngle = angleOf(m_ui.WarningH);
    m_geometry.warningLowAngle = angleOf(m_ui.WarningL);
    m_geometry.alarmLowAngle = angleOf(m_ui.AlarmL);
}

void DialFace::adjustArcs(const NumberLocale& locale) {
    m_geometry.alarmHighArc = m_geometry.alarmHighAngle;
    m_geometry.warningHighArc = m_geometry.warningHighAngle;
    m_geometry.warningLowArc = m_geometry.warningLowAngle;
    m_geometry.alarmLowArc = m_geometry.alarmLowAngle;

    auto text = [&](const TextField& field) { return single(field, locale); };
    auto caption = [&](const Label& label) { return single(label, locale); };

    if (caption(m_ui.Massimo) <= text(m_ui.WarningH)) {
        m_geometry.warningHighArc = HighWarningEndArc;
        m_geometry.alarmHighArc = HighEndArc;
    }
    if (caption(m_ui.Massimo) <= text(m_ui.AlarmH))
        m_geometry.alarmHighArc = HighEndArc;
    if (caption(m_ui.Minimo) >= text(m_ui.WarningL)) {
        m_geometry.warningLowArc = LowWarningEndArc;
        m_geometry.alarmLowArc = LowEndArc;
    }
    if (caption(m_ui.Minimo) >= text(m_ui.AlarmL))
        m_geometry.alarmLowArc = LowEndArc;
    if (text(m_ui.AlarmH) == text(m_ui.WarningH))
        m_geometry.warningHighArc =
            convert::toSingle(double(m_geometry.alarmHighAngle) + EqualThresholdNudge);
    if (text(m_ui.AlarmL) == text(m_ui.WarningL))
        m_geometry.warningLowArc =
            convert::toSingle(double(m_geometry.alarmLowAngle) - EqualThresholdNudge);
}

void DialFace::writeScaleLabels(const NumberLocale& locale) {
    const std::array<Label*, 4> labels{&m_ui.Venti, &m_ui.Quaranta, &m_ui.Sessanta, &m_ui.Ottanta};
    constexpr std::array<int, 4> percents{20, 40, 60, 80};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const double maximum = number(m_ui.Massimo, locale);
        const double minimum = number(m_ui.Minimo, locale);
        const double span = maximum - minimum;
        const double value = (span * percents[i] / 100.0) + number(m_ui.Minimo, locale);
        if (!std::isfinite(value))
            throw RuntimeError(ErrorNumber::Overflow);
        labels[i]->setCaption(convert::doubleToText(value, locale));
    }
    for (Label* label : labels) {
        const double x = number(*label, locale);
        if (x - std::floor(x) != 0.0)
            label->setCaption(convert::format(label->caption(), FractionalLabelFormat, locale));
    }
}

} // namespace merv
