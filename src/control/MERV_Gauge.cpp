#include <mervgauge/control/MERV_Gauge.h>

#include <mervgauge/control/GaugeImpl.h>
#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/RuntimeError.h>

namespace merv {

MERV_Gauge::MERV_Gauge(ContainerSite& site)
    : m_site(site), m_ui(buildGaugeSurface(m_tree)), m_face(m_ui), m_editor(m_ui, site),
      m_impl(std::make_unique<Impl>()) {
    // The storage fields run the value display update once the stored properties are in.
    for (TextField* storage : {&m_ui.Valore, &m_ui.Prec, &m_ui.EngineeringUnit}) {
        storage->onChange = [this] {
            if (m_Loaded)
                UpdateValue();
        };
    }
    m_ui.InitTimer.onTick = [this] { InitTimer_Timer(); };
}

MERV_Gauge::~MERV_Gauge() = default;

// A handler that makes the control evaluate its value again (a redraw, a save, a colour read)
// would meet overlapping thresholds that clear and raise its own event anew, under itself and
// without end. So an event whose handler is running is not raised again; the caller still sets
// the status flags as usual, and other events still nest.
void MERV_Gauge::Impl::raise(MERV_Gauge& gauge, const EventInfo& event) {
    unsigned& raising = gauge.m_impl->eventsRaising;
    const unsigned bit = 1u << event.dispid;
    if (raising & bit)
        return;
    struct Raising {
        unsigned& events;
        unsigned bit;
        ~Raising() { events &= ~bit; }
    } guard{raising, bit};
    raising |= bit;
    gauge.m_site.raiseEvent(event.dispid, event.name);
}

float MERV_Gauge::Impl::singleOf(const MERV_Gauge& gauge, const std::string& text) {
    return convert::textToSingle(text, gauge.m_site.numberLocale());
}

std::string MERV_Gauge::Impl::textOf(const MERV_Gauge& gauge, float value) {
    return convert::singleToText(value, gauge.m_site.numberLocale());
}

void MERV_Gauge::CheckDesignMode() {
    // An unattached control cannot ask the host; it counts as in design mode.
    const std::optional<bool> userMode = m_site.ambientUserMode();
    m_DesignMode = userMode ? !*userMode : true;
}

void MERV_Gauge::EnsureDesignTime() const {
    if (!m_DesignMode)
        throw RuntimeError(ErrorNumber::SetNotSupportedAtRuntime);
}

// ---- Text properties ------------------------------------------------------------------------

std::string MERV_Gauge::VariableName() const {
    return m_ui.Variabile.caption();
}

void MERV_Gauge::setVariableName(std::string vNewName) {
    m_ui.Variabile.setCaption(std::move(vNewName));
    m_site.propertyChanged("VariableName");
}

std::string MERV_Gauge::EngUnit() const {
    return m_ui.EngineeringUnit.text();
}

void MERV_Gauge::setEngUnit(std::string vNewEngUnit) {
    m_ui.EngineeringUnit.setText(std::move(vNewEngUnit));
    m_site.propertyChanged("EngUnit");
}

// Precisions above this show no decimals at all.
constexpr std::int16_t MaxPrecision = 5;

std::int16_t MERV_Gauge::Precision() const {
    return convert::toInteger(convert::textToDouble(m_ui.Prec.text(), m_site.numberLocale()));
}

void MERV_Gauge::setPrecision(std::int16_t vNewPrec) {
    if (vNewPrec > MaxPrecision)
        vNewPrec = 0;
    m_ui.Prec.setText(std::to_string(vNewPrec));
    m_site.propertyChanged("Precision");
}

// ---- Status properties ----------------------------------------------------------------------

namespace {
[[noreturn]] void readOnly() {
    throw RuntimeError(ErrorNumber::PropertyIsReadOnly, "Property is ReadOnly.");
}
} // namespace

void MERV_Gauge::setAlarmHighStatus(bool) {
    readOnly();
}
void MERV_Gauge::setAlarmLowStatus(bool) {
    readOnly();
}
void MERV_Gauge::setWarningHighStatus(bool) {
    readOnly();
}
void MERV_Gauge::setWarningLowStatus(bool) {
    readOnly();
}

// ---- Number properties ----------------------------------------------------------------------

using G = MERV_Gauge;

const G::Impl::ThresholdProperty G::Impl::AlarmHighVal{
    "AlarmHighVal", [](const GaugeElements& ui) -> TextField& { return ui.AlarmH; }};
const G::Impl::ThresholdProperty G::Impl::AlarmLowVal{
    "AlarmLowVal", [](const GaugeElements& ui) -> TextField& { return ui.AlarmL; }};
const G::Impl::ThresholdProperty G::Impl::WarningHighVal{
    "WarningHighVal", [](const GaugeElements& ui) -> TextField& { return ui.WarningH; }};
const G::Impl::ThresholdProperty G::Impl::WarningLowVal{
    "WarningLowVal", [](const GaugeElements& ui) -> TextField& { return ui.WarningL; }};

float G::Impl::readThreshold(const G& gauge, const ThresholdProperty& threshold) {
    return singleOf(gauge, threshold.field(gauge.m_ui).text());
}

void G::Impl::writeThreshold(G& gauge, const ThresholdProperty& threshold, float value) {
    threshold.field(gauge.m_ui).setText(textOf(gauge, value));
    gauge.m_site.propertyChanged(threshold.name);
    gauge.m_ui.InitTimer.setEnabled(true);
}

float G::AlarmHighVal() const {
    return Impl::readThreshold(*this, Impl::AlarmHighVal);
}
void G::setAlarmHighVal(float vNewAlarmHigh) {
    Impl::writeThreshold(*this, Impl::AlarmHighVal, vNewAlarmHigh);
}
float G::AlarmLowVal() const {
    return Impl::readThreshold(*this, Impl::AlarmLowVal);
}
void G::setAlarmLowVal(float vNewAlarmLow) {
    Impl::writeThreshold(*this, Impl::AlarmLowVal, vNewAlarmLow);
}
float G::WarningHighVal() const {
    return Impl::readThreshold(*this, Impl::WarningHighVal);
}
void G::setWarningHighVal(float vNewWarnHigh) {
    Impl::writeThreshold(*this, Impl::WarningHighVal, vNewWarnHigh);
}
float G::WarningLowVal() const {
    return Impl::readThreshold(*this, Impl::WarningLowVal);
}
void G::setWarningLowVal(float vNewWarnLow) {
    Impl::writeThreshold(*this, Impl::WarningLowVal, vNewWarnLow);
}

float MERV_Gauge::Value() const {
    return Impl::singleOf(*this, m_ui.Valore.text());
}

void MERV_Gauge::setValue(float vNewValue) {
    m_ui.Valore.setText(Impl::textOf(*this, vNewValue));
    m_site.propertyChanged("Value");
}

// The scale ends are only stored: labels and needle follow at the next redraw or update.
float MERV_Gauge::MinValue() const {
    return Impl::singleOf(*this, m_ui.Minimo.caption());
}

void MERV_Gauge::setMinValue(float vNewMinValue) {
    m_ui.Minimo.setCaption(Impl::textOf(*this, vNewMinValue));
    m_site.propertyChanged("MinValue");
}

float MERV_Gauge::MaxValue() const {
    return Impl::singleOf(*this, m_ui.Massimo.caption());
}

void MERV_Gauge::setMaxValue(float vNewMaxValue) {
    m_ui.Massimo.setCaption(Impl::textOf(*this, vNewMaxValue));
    m_site.propertyChanged("MaxValue");
}

// ---- Colour properties ----------------------------------------------------------------------
// Each colour is applied to the elements that show it; getters and setters redraw the face.

const G::Impl::ColorProperty G::Impl::AlarmColor{"AlarmColor", &G::m_AlarmColor,
                                                 [](G& g) {
                                                     g.m_ui.AH.setForeColor(g.m_AlarmColor);
                                                     g.m_ui.AlarmH.setForeColor(g.m_AlarmColor);
                                                     g.m_ui.AL.setForeColor(g.m_AlarmColor);
                                                     g.m_ui.AlarmL.setForeColor(g.m_AlarmColor);
                                                 },
                                                 true};
const G::Impl::ColorProperty G::Impl::WarningColor{
    "WarningColor", &G::m_WarningColor,
    [](G& g) {
        g.m_ui.WH.setForeColor(g.m_WarningColor);
        g.m_ui.WarningH.setForeColor(g.m_WarningColor);
        g.m_ui.WL.setForeColor(g.m_WarningColor);
        g.m_ui.WarningL.setForeColor(g.m_WarningColor);
    },
    true};
const G::Impl::ColorProperty G::Impl::NormalColor{"NormalColor", &G::m_NormalColor, nullptr, false};
const G::Impl::ColorProperty G::Impl::BordersColor{
    "BordersColor", &G::m_BordersColor,
    [](G& g) {
        g.m_ui.Shape1.setBorderColor(g.m_BordersColor);
        g.m_ui.Shape2.setBorderColor(g.m_BordersColor);
    },
    false};
const G::Impl::ColorProperty G::Impl::TextColor{
    "TextColor", &G::m_TextColor,
    [](G& g) {
        for (Label* label : {&g.m_ui.Minimo, &g.m_ui.Massimo, &g.m_ui.Venti, &g.m_ui.Quaranta,
                             &g.m_ui.Sessanta, &g.m_ui.Ottanta, &g.m_ui.Variabile, &g.m_ui.Val})
            label->setForeColor(g.m_TextColor);
    },
    false};
const G::Impl::ColorProperty G::Impl::BackColorGraphic{
    "BackColorGraphic", &G::m_BackColorGraphic,
    [](G& g) {
        g.m_ui.Sfondo.setBackColor(g.m_BackColorGraphic);
        g.m_ui.Shape2.setFillColor(g.m_BackColorGraphic);
        g.m_ui.SfondoAl.setBackColor(g.m_BackColorGraphic);
        for (TextField* field :
             {&g.m_ui.AlarmH, &g.m_ui.AlarmL, &g.m_ui.WarningH, &g.m_ui.WarningL})
            field->setBackColor(g.m_BackColorGraphic);
    },
    false};
const G::Impl::ColorProperty G::Impl::BackColorText{
    "BackColorText", &G::m_BackColorText,
    [](G& g) { g.m_ui.Shape1.setFillColor(g.m_BackColorText); }, false};

const std::array<const G::Impl::ColorProperty*, 7> G::Impl::Colors{
    &AlarmColor, &WarningColor,     &NormalColor,  &BordersColor,
    &TextColor,  &BackColorGraphic, &BackColorText};

std::uint32_t G::Impl::readColor(G& gauge, const ColorProperty& color) {
    if (color.apply)
        color.apply(gauge);
    gauge.InitTimer_Timer();
    return gauge.*color.field;
}

void G::Impl::writeColor(G& gauge, const ColorProperty& color, std::uint32_t value) {
    gauge.EnsureDesignTime();
    gauge.*color.field = value;
    gauge.m_site.propertyChanged(color.name);
    if (color.redrawBeforeApplying)
        gauge.InitTimer_Timer();
    if (color.apply)
        color.apply(gauge);
    if (!color.redrawBeforeApplying)
        gauge.InitTimer_Timer();
}

std::uint32_t MERV_Gauge::AlarmColor() {
    return Impl::readColor(*this, Impl::AlarmColor);
}
void MERV_Gauge::setAlarmColor(std::uint32_t nNewVal) {
    Impl::writeColor(*this, Impl::AlarmColor, nNewVal);
}
std::uint32_t MERV_Gauge::WarningColor() {
    return Impl::readColor(*this, Impl::WarningColor);
}
void MERV_Gauge::setWarningColor(std::uint32_t nNewVal) {
    Impl::writeColor(*this, Impl::WarningColor, nNewVal);
}
std::uint32_t MERV_Gauge::NormalColor() {
    return Impl::readColor(*this, Impl::NormalColor);
}
void MERV_Gauge::setNormalColor(std::uint32_t nNewVal) {
    Impl::writeColor(*this, Impl::NormalColor, nNewVal);
}
std::uint32_t MERV_Gauge::BordersColor() {
    return Impl::readColor(*this, Impl::BordersColor);
}
void MERV_Gauge::setBordersColor(std::uint32_t nNewVal) {
    Impl::writeColor(*this, Impl::BordersColor, nNewVal);
}
std::uint32_t MERV_Gauge::TextColor() {
    return Impl::readColor(*this, Impl::TextColor);
}
void MERV_Gauge::setTextColor(std::uint32_t nNewVal) {
    Impl::writeColor(*this, Impl::TextColor, nNewVal);
}
std::uint32_t MERV_Gauge::BackColorGraphic() {
    return Impl::readColor(*this, Impl::BackColorGraphic);
}
void MERV_Gauge::setBackColorGraphic(std::uint32_t nNewVal) {
    Impl::writeColor(*this, Impl::BackColorGraphic, nNewVal);
}
std::uint32_t MERV_Gauge::BackColorText() {
    return Impl::readColor(*this, Impl::BackColorText);
}
void MERV_Gauge::setBackColorText(std::uint32_t nNewVal) {
    Impl::writeColor(*this, Impl::BackColorText, nNewVal);
}

} // namespace merv
