#pragma once

#include <mervgauge/dial/FaceGeometry.h>
#include <mervgauge/layout/SurfaceLayout.h>
#include <mervgauge/platform/NumberLocale.h>
#include <mervgauge/platform/NumberMemo.h>

#include <array>

namespace merv {

// Draws the dial face on Sfondo: clears it, clamps the four thresholds into the scale,
// draws the zone bands and ticks, writes the intermediate scale labels and presents the
// surface. Every input is read from the elements at the moment a step needs it.
class DialFace {
public:
    explicit DialFace(const GaugeElements& ui) : m_ui(ui) {}

    // Throws RuntimeError at the first failing step; what was done before stays done.
    void draw(const ZoneColors& colors, const NumberLocale& locale);

    // The threshold angles and the arc ends of the last draw, kept between draws.
    const dial::FaceGeometry& geometry() const noexcept { return m_geometry; }
    // The zone colours of the last draw, and whether it got as far as drawing its bands (a
    // draw that failed before them left the face cleared).
    const ZoneColors& colors() const noexcept { return m_colors; }
    bool bandsDrawn() const noexcept { return m_bandsDrawn; }

private:
    void clampThresholds(const NumberLocale& locale);
    void computeAngles(const NumberLocale& locale);
    void adjustArcs(const NumberLocale& locale);
    void writeScaleLabels(const NumberLocale& locale);
    // The number a threshold field's text or a scale label's caption stands for, parsed
    // once per change of the text however often a draw reads it.
    double number(const TextField& field, const NumberLocale& locale);
    float single(const TextField& field, const NumberLocale& locale);
    double number(const Label& label, const NumberLocale& locale);
    float single(const Label& label, const NumberLocale& locale);
    NumberMemo& memoOf(const TextField& field) noexcept;
    NumberMemo& memoOf(const Label& label) noexcept;

    const GaugeElements& m_ui;
    // One memo per text: the four threshold fields, then the two scale ends and the four
    // intermediate scale labels.
    std::array<NumberMemo, 4> m_thresholdNumbers;
    std::array<NumberMemo, 6> m_labelNumbers;
    dial::FaceGeometry m_geometry;
    ZoneColors m_colors;
    bool m_bandsDrawn = false;
};

} // namespace merv
