// The lifecycle handlers of MERV_Gauge: creation, restoring and storing, sizing, ambient changes.
#include "control/GaugeProperties.h"
#include "control/MERV_Gauge.h"

#include "strings/StringIds.h"
#include "strings/StringTable.h"

namespace merv {

namespace {
// Design-time colours, set when a new instance starts.
constexpr std::uint32_t DefaultAlarmColor = 255;            // red
constexpr std::uint32_t DefaultWarningColor = 65535;        // yellow
constexpr std::uint32_t DefaultNormalColor = 65280;         // green
constexpr std::uint32_t DefaultBordersColor = 0;            // black
constexpr std::uint32_t DefaultTextColor = 0;               // black
constexpr std::uint32_t DefaultBackColorGraphic = 12632256; // light grey
constexpr std::uint32_t DefaultBackColorText = 16777215;    // white
} // namespace

void MERV_Gauge::Initialize() {
    CheckDesignMode();
}

void MERV_Gauge::InitProperties() {
    CheckDesignMode();
    // Fields only: no setter, notification, applying or redraw.
    m_AlarmColor = DefaultAlarmColor;
    m_WarningColor = DefaultWarningColor;
    m_NormalColor = DefaultNormalColor;
    m_BordersColor = DefaultBordersColor;
    m_TextColor = DefaultTextColor;
    m_BackColorGraphic = DefaultBackColorGraphic;
    m_BackColorText = DefaultBackColorText;
}

void MERV_Gauge::ReadProperties(PropertyBag& bag) {
    const NumberLocale& locale = m_site.numberLocale();
    for (const PropertyInfo* property : persistedProperties()) {
        const Variant stored = bag.readProperty(property->name, property->bagDefault);
        property->put(*this, stored, locale);
    }
    LoadEditorCaptions();
    m_ui.userControl.setBackColor(m_site.ambientBackColor());
    m_Loaded = true;
}

void MERV_Gauge::WriteProperties(PropertyBag& bag) {
    for (const PropertyInfo* property : persistedProperties())
        bag.writeProperty(property->name, property->get(*this), property->bagDefault);
}

void MERV_Gauge::Resize() {
    // Assigning the extent may make the host resize again; the nested pass assigns the same.
    m_ui.userControl.setWidth(Layout::ControlWidth);
    m_ui.userControl.setHeight(Layout::ControlHeight);
    m_ui.InitTimer.setEnabled(true);
}

void MERV_Gauge::AmbientChanged(std::string_view propertyName) {
    if (propertyName == "BackColor")
        m_ui.userControl.setBackColor(m_site.ambientBackColor());
    else if (propertyName == "LocaleID")
        LoadEditorCaptions();
}

void MERV_Gauge::Terminate() {}

std::string MERV_Gauge::LoadResString(int id) const {
    return std::string(StringTable::instance().text(id, m_site.resourceLanguage()));
}

void MERV_Gauge::LoadEditorCaptions() {
    m_ui.AH.setCaption(LoadResString(StringId::AlarmHigh));
    m_ui.WH.setCaption(LoadResString(StringId::WarningHigh));
    m_ui.WL.setCaption(LoadResString(StringId::WarningLow));
    m_ui.AL.setCaption(LoadResString(StringId::AlarmLow));
}

} // namespace merv
