// The value display update and the face redraw of MERV_Gauge.
#include <mervgauge/control/MERV_Gauge.h>

#include <mervgauge/control/GaugeImpl.h>

#include <mervgauge/dial/DialGeometry.h>
#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/RuntimeError.h>

#include <array>
#include <cmath>

namespace merv {

using dial::checked;

namespace {

// Display formats by precision 0 to 5; any other precision shows the stored text as it is.
constexpr std::array<const char*, 6> PrecisionFormats{"###0",     "###0.0",    "###0.00",
                                                      "###0.000", "###0.0000", "###0.00000"};

} // namespace

std::string MERV_Gauge::Impl::caption(const MERV_Gauge& gauge, const std::string& valueText) {
    const NumberLocale& locale = gauge.m_site.numberLocale();
    const GaugeElements& ui = gauge.m_ui;
    // 1. The format: the precision compared with 0 to 5. Nothing runs between the
    // comparisons that could change its text, so it is converted once for all six.
    const double precision =
        gauge.m_impl->numbers.precision.toDouble(ui.Prec.text(), ui.Prec.textGeneration(), locale);
    std::string_view format;
    for (std::size_t p = 0; p < PrecisionFormats.size(); ++p) {
        if (precision == double(p))
            format = PrecisionFormats[p];
    }
    // 2. The value with its unit; the blank stays when the unit is empty.
    return convert::format(valueText, format, locale) + " " + ui.EngineeringUnit.text();
}

std::string MERV_Gauge::valueCaption(float value) const {
    return Impl::caption(*this, Impl::textOf(*this, value));
}

const std::string& MERV_Gauge::shownValueCaption() const noexcept {
    return m_ui.Val.caption();
}

void MERV_Gauge::Impl::tellStatus(MERV_Gauge& gauge) {
    const std::array<bool, 4> now{gauge.m_AlarmHighStatus, gauge.m_AlarmLowStatus,
                                  gauge.m_WarningHighStatus, gauge.m_WarningLowStatus};
    static constexpr std::array<std::string_view, 4> Names{"AlarmHighStatus", "AlarmLowStatus",
                                                           "WarningHighStatus", "WarningLowStatus"};
    std::array<bool, 4>& told = gauge.m_impl->statusTold;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] != told[i]) {
            told[i] = now[i];
            gauge.m_site.statusChanged(Names[i], now[i]);
        }
    }
}

void MERV_Gauge::UpdateValue() {
    // The flags change only here; the site hears of them when the pass ends, however it ends
    // (a handler's write may run a pass inside this one, which tells its own changes first).
    struct TellStatus {
        MERV_Gauge& gauge;
        ~TellStatus() { Impl::tellStatus(gauge); }
    } tellStatus{*this};
    const NumberLocale& locale = m_site.numberLocale();
    Impl::TextNumbers& n = m_impl->numbers;
    const TextField& valore = m_ui.Valore;
    auto v = [&] { return n.value.toSingle(valore.text(), valore.textGeneration(), locale); };
    auto snapshot = [&](NumberMemo& memo, const std::string& text) {
        return memo.toSingle(text, m_impl->snapshotGeneration, locale);
    };

    // 1. and 2. The caption: the value at the precision, with its unit.
    m_ui.Val.setCaption(Impl::caption(*this, m_ui.Valore.text()));

    // 3.
    m_ui.Sfondo.refresh();

    // 4. Five tests, each converting anew, so a value written by an event handler counts for
    // the tests after it. Both sides of every test are converted, left to right.
    {
        const float wl = snapshot(n.warningLow, m_WarningLowText);
        const float value = v();
        const float value2 = v();
        const float wh = snapshot(n.warningHigh, m_WarningHighText);
        if (wl < value && value2 < wh) {
            m_AlarmHighStatus = m_AlarmLowStatus = m_WarningHighStatus = m_WarningLowStatus = false;
        }
    }
    if (v() > snapshot(n.alarmHigh, m_AlarmHighText)) {
        if (!m_AlarmHighStatus)
            Impl::raise(*this, GaugeEvent::OnAlarmHigh);
        m_AlarmHighStatus = true;
        m_AlarmLowStatus = m_WarningHighStatus = m_WarningLowStatus = false;
    }
    {
        const float wh = snapshot(n.warningHigh, m_WarningHighText);
        const float value = v();
        const float value2 = v();
        const float ah = snapshot(n.alarmHigh, m_AlarmHighText);
        if (wh < value && value2 < ah) {
            m_AlarmHighStatus = m_AlarmLowStatus = m_WarningLowStatus = false;
            if (!m_WarningHighStatus)
                Impl::raise(*this, GaugeEvent::OnWarningHigh);
            m_WarningHighStatus = true;
        }
    }
    if (v() < snapshot(n.alarmLow, m_AlarmLowText)) {
        m_AlarmHighStatus = false;
        if (!m_AlarmLowStatus)
            Impl::raise(*this, GaugeEvent::OnAlarmLow);
        m_AlarmLowStatus = true;
        m_WarningLowStatus = m_WarningHighStatus = false;
    }
    {
        const float al = snapshot(n.alarmLow, m_AlarmLowText);
        const float value = v();
        const float value2 = v();
        const float wl = snapshot(n.warningLow, m_WarningLowText);
        if (al < value && value2 < wl) {
            m_AlarmHighStatus = m_AlarmLowStatus = false;
            if (!m_WarningLowStatus)
                Impl::raise(*this, GaugeEvent::OnWarningLow);
            m_WarningLowStatus = true;
            m_WarningHighStatus = false;
        }
    }

    // 5. Below the scale the needle keeps its place.
    if (n.minimum.toSingle(m_ui.Minimo.caption(), m_ui.Minimo.captionGeneration(), locale) > v())
        return;

    // 6. The needle angle: the product first, then the quotient, then the difference.
    const double value = n.value.toDouble(valore.text(), valore.textGeneration(), locale);
    const double minimum =
        n.minimum.toDouble(m_ui.Minimo.caption(), m_ui.Minimo.captionGeneration(), locale);
    const double product = checked((value - minimum) * dial::ScaleSweep);
    const double maximum =
        n.maximum.toDouble(m_ui.Massimo.caption(), m_ui.Massimo.captionGeneration(), locale);
    const double span =
        checked(maximum -
                n.minimum.toDouble(m_ui.Minimo.caption(), m_ui.Minimo.captionGeneration(), locale));
    const float angle =
        convert::toSingle(checked(dial::ScaleSweep - dial::checkedDivide(product, span)));

    // 7. The tip, each coordinate from its own radians.
    const std::int32_t x1 = dial::roundHalfEven(
        checked(std::cos(dial::toRadians(angle)) * dial::NeedleLength + dial::CentreX));
    const std::int32_t y1 = dial::roundHalfEven(
        checked(dial::CentreY - std::sin(dial::toRadians(angle)) * dial::NeedleLength));

    // 8. Move the needle; the hub stays in front of it. Views hear only the net restacking.
    ElementTree::DeferredNotices restacking(m_tree);
    m_ui.LineValore.zOrder(1);
    m_ui.LineValore.setX1(static_cast<float>(x1));
    m_ui.LineValore.setY1(static_cast<float>(y1));
    m_ui.LineValore.zOrder(0);
    m_ui.Centro.zOrder(0);
}

void MERV_Gauge::InitTimer_Timer() {
    m_face.draw({m_AlarmColor, m_WarningColor, m_NormalColor}, m_site.numberLocale());

    // The alarm evaluation reads these snapshots, and nothing else, as its thresholds.
    m_WarningHighText = m_ui.WarningH.text();
    m_WarningLowText = m_ui.WarningL.text();
    m_AlarmHighText = m_ui.AlarmH.text();
    m_AlarmLowText = m_ui.AlarmL.text();
    ++m_impl->snapshotGeneration;

    UpdateValue();

    m_ui.InitTimer.setInterval(Layout::InitTimerInterval);
    m_ui.InitTimer.setEnabled(false);
}

} // namespace merv
