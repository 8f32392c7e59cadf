#include "control/MERV_Gauge.h"

#include "platform/Conversions.h"
#include "platform/RuntimeError.h"

namespace merv {

MERV_Gauge::MERV_Gauge(ContainerSite& site)
    : m_site(site), m_ui(buildGaugeSurface(m_tree)), m_face(m_ui), m_editor(m_ui, site) {
    // The storage fields run the value display update once the stored properties are in.
    m_ui.Valore.onChange = [this] { storageFieldChanged(); };
    m_ui.Prec.onChange = [this] { storageFieldChanged(); };
    m_ui.EngineeringUnit.onChange = [this] { storageFieldChanged(); };
    m_ui.InitTimer.onTick = [this] { InitTimer_Timer(); };
}

MERV_Gauge::~MERV_Gauge() = default;

void MERV_Gauge::storageFieldChanged() {
    if (m_Loaded)
        UpdateValue();
}

// A handler that makes the control evaluate its value again (a redraw, a save, a colour read)
// would meet overlapping thresholds that clear and raise its own event anew, under itself and
// without end. So an event whose handler is running is not raised again; the caller still sets
// the status flags as usual, and other events still nest.
void MERV_Gauge::raise(int dispid, std::string_view name) {
    const unsigned bit = 1u << dispid;
    if (m_eventsRaising & bit)
        return;
    struct Raising {
        unsigned& events;
        unsigned bit;
        ~Raising() { events &= ~bit; }
    } raising{m_eventsRaising, bit};
    m_eventsRaising |= bit;
    m_site.raiseEvent(dispid, name);
}

float MERV_Gauge::singleOf(const std::string& text) const {
    return convert::textToSingle(text, m_site.numberLocale());
}

std::string MERV_Gauge::textOf(float value) const {
    return convert::singleToText(value, m_site.numberLocale());
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

float MERV_Gauge::AlarmHighVal() const {
    return singleOf(m_ui.AlarmH.text());
}
float MERV_Gauge::AlarmLowVal() const {
    return singleOf(m_ui.AlarmL.text());
}
float MERV_Gauge::WarningHighVal() const {
    return singleOf(m_ui.WarningH.text());
}
float MERV_Gauge::WarningLowVal() const {
    return singleOf(m_ui.WarningL.text());
}

// A threshold reaches the alarm evaluation only with the next face redraw, which the write
// schedules.
void MERV_Gauge::setAlarmHighVal(float vNewAlarmHigh) {
    m_ui.AlarmH.setText(textOf(vNewAlarmHigh));
    m_site.propertyChanged("AlarmHighVal");
    m_ui.InitTimer.setEnabled(true);
}

void MERV_Gauge::setAlarmLowVal(float vNewAlarmLow) {
    m_ui.AlarmL.setText(textOf(vNewAlarmLow));
    m_site.propertyChanged("AlarmLowVal");
    m_ui.InitTimer.setEnabled(true);
}

void MERV_Gauge::setWarningHighVal(float vNewWarnHigh) {
    m_ui.WarningH.setText(textOf(vNewWarnHigh));
    m_site.propertyChanged("WarningHighVal");
    m_ui.InitTimer.setEnabled(true);
}

void MERV_Gauge::setWarningLowVal(float vNewWarnLow) {
    m_ui.WarningL.setText(textOf(vNewWarnLow));
    m_site.propertyChanged("WarningLowVal");
    m_ui.InitTimer.setEnabled(true);
}

float MERV_Gauge::Value() const {
    return singleOf(m_ui.Valore.text());
}

void MERV_Gauge::setValue(float vNewValue) {
    m_ui.Valore.setText(textOf(vNewValue));
    m_site.propertyChanged("Value");
}

// The scale ends are only stored: labels and needle follow at the next redraw or update.
float MERV_Gauge::MinValue() const {
    return singleOf(m_ui.Minimo.caption());
}

void MERV_Gauge::setMinValue(float vNewMinValue) {
    m_ui.Minimo.setCaption(textOf(vNewMinValue));
    m_site.propertyChanged("MinValue");
}

float MERV_Gauge::MaxValue() const {
    return singleOf(m_ui.Massimo.caption());
}

void MERV_Gauge::setMaxValue(float vNewMaxValue) {
    m_ui.Massimo.setCaption(textOf(vNewMaxValue));
    m_site.propertyChanged("MaxValue");
}

// ---- Colour properties ----------------------------------------------------------------------
// Each colour is applied to the elements that show it; getters and setters redraw the face.

void MERV_Gauge::applyAlarmColor() {
    m_ui.AH.setForeColor(m_AlarmColor);
    m_ui.AlarmH.setForeColor(m_AlarmColor);
    m_ui.AL.setForeColor(m_AlarmColor);
    m_ui.AlarmL.setForeColor(m_AlarmColor);
}

void MERV_Gauge::applyWarningColor() {
    m_ui.WH.setForeColor(m_WarningColor);
    m_ui.WarningH.setForeColor(m_WarningColor);
    m_ui.WL.setForeColor(m_WarningColor);
    m_ui.WarningL.setForeColor(m_WarningColor);
}

void MERV_Gauge::applyBordersColor() {
    m_ui.Shape1.setBorderColor(m_BordersColor);
    m_ui.Shape2.setBorderColor(m_BordersColor);
}

void MERV_Gauge::applyTextColor() {
    for (Label* label : {&m_ui.Minimo, &m_ui.Massimo, &m_ui.Venti, &m_ui.Quaranta, &m_ui.Sessanta,
                         &m_ui.Ottanta, &m_ui.Variabile, &m_ui.Val})
        label->setForeColor(m_TextColor);
}

void MERV_Gauge::applyBackColorGraphic() {
    m_ui.Sfondo.setBackColor(m_BackColorGraphic);
    m_ui.Shape2.setFillColor(m_BackColorGraphic);
    m_ui.SfondoAl.setBackColor(m_BackColorGraphic);
    for (TextField* field : {&m_ui.AlarmH, &m_ui.AlarmL, &m_ui.WarningH, &m_ui.WarningL})
        field->setBackColor(m_BackColorGraphic);
}

void MERV_Gauge::applyBackColorText() {
    m_ui.Shape1.setFillColor(m_BackColorText);
}

// Reading a colour applies it to its elements and redraws the face; writing one is refused
// outside design mode, then stores, notifies, applies and redraws. The alarm and warning colours
// redraw before they apply, the others after.
struct MERV_Gauge::ColorProperty {
    std::string_view name;
    std::uint32_t MERV_Gauge::*field;
    void (MERV_Gauge::*apply)(); // null where no element shows the colour
    bool redrawBeforeApplying;
};

namespace {
using G = MERV_Gauge;
} // namespace

const MERV_Gauge::ColorProperty MERV_Gauge::AlarmColorProperty{"AlarmColor", &G::m_AlarmColor,
                                                               &G::applyAlarmColor, true};
const MERV_Gauge::ColorProperty MERV_Gauge::WarningColorProperty{"WarningColor", &G::m_WarningColor,
                                                                 &G::applyWarningColor, true};
const MERV_Gauge::ColorProperty MERV_Gauge::NormalColorProperty{"NormalColor", &G::m_NormalColor,
                                                                nullptr, false};
const MERV_Gauge::ColorProperty MERV_Gauge::BordersColorProperty{"BordersColor", &G::m_BordersColor,
                                                                 &G::applyBordersColor, false};
const MERV_Gauge::ColorProperty MERV_Gauge::TextColorProperty{"TextColor", &G::m_TextColor,
                                                              &G::applyTextColor, false};
const MERV_Gauge::ColorProperty MERV_Gauge::BackColorGraphicProperty{
    "BackColorGraphic", &G::m_BackColorGraphic, &G::applyBackColorGraphic, false};
const MERV_Gauge::ColorProperty MERV_Gauge::BackColorTextProperty{
    "BackColorText", &G::m_BackColorText, &G::applyBackColorText, false};

std::uint32_t MERV_Gauge::readColor(const ColorProperty& color) {
    if (color.apply)
        (this->*color.apply)();
    InitTimer_Timer();
    return this->*color.field;
}

void MERV_Gauge::writeColor(const ColorProperty& color, std::uint32_t value) {
    EnsureDesignTime();
    this->*color.field = value;
    m_site.propertyChanged(color.name);
    if (color.redrawBeforeApplying)
        InitTimer_Timer();
    if (color.apply)
        (this->*color.apply)();
    if (!color.redrawBeforeApplying)
        InitTimer_Timer();
}

std::uint32_t MERV_Gauge::AlarmColor() {
    return readColor(AlarmColorProperty);
}
void MERV_Gauge::setAlarmColor(std::uint32_t nNewVal) {
    writeColor(AlarmColorProperty, nNewVal);
}
std::uint32_t MERV_Gauge::WarningColor() {
    return readColor(WarningColorProperty);
}
void MERV_Gauge::setWarningColor(std::uint32_t nNewVal) {
    writeColor(WarningColorProperty, nNewVal);
}
std::uint32_t MERV_Gauge::NormalColor() {
    return readColor(NormalColorProperty);
}
void MERV_Gauge::setNormalColor(std::uint32_t nNewVal) {
    writeColor(NormalColorProperty, nNewVal);
}
std::uint32_t MERV_Gauge::BordersColor() {
    return readColor(BordersColorProperty);
}
void MERV_Gauge::setBordersColor(std::uint32_t nNewVal) {
    writeColor(BordersColorProperty, nNewVal);
}
std::uint32_t MERV_Gauge::TextColor() {
    return readColor(TextColorProperty);
}
void MERV_Gauge::setTextColor(std::uint32_t nNewVal) {
    writeColor(TextColorProperty, nNewVal);
}
std::uint32_t MERV_Gauge::BackColorGraphic() {
    return readColor(BackColorGraphicProperty);
}
void MERV_Gauge::setBackColorGraphic(std::uint32_t nNewVal) {
    writeColor(BackColorGraphicProperty, nNewVal);
}
std::uint32_t MERV_Gauge::BackColorText() {
    return readColor(BackColorTextProperty);
}
void MERV_Gauge::setBackColorText(std::uint32_t nNewVal) {
    writeColor(BackColorTextProperty, nNewVal);
}

} // namespace merv
