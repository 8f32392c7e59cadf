// The lifecycle handlers of MERV_Gauge: creation, restoring and storing, sizing, ambient changes.
#include <mervgauge/control/GaugeImpl.h>
#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/MERV_Gauge.h>

#include <mervgauge/strings/StringIds.h>
#include <mervgauge/strings/StringTable.h>

#include <bit>

namespace merv {

void MERV_Gauge::Initialize() {
    CheckDesignMode();
}

void MERV_Gauge::InitProperties() {
    CheckDesignMode();
    // Fields only, from the property table's defaults: no setter, notification, applying or
    // redraw.
    for (const Impl::ColorProperty* color : Impl::Colors)
        this->*color->field =
            std::bit_cast<std::uint32_t>(findProperty(color->name)->bagDefault.asLong());
}

void MERV_Gauge::ReadProperties(PropertyBag& bag) {
    const NumberLocale& locale = m_site.numberLocale();
    for (const PropertyInfo* property : persistedProperties()) {
        const Variant stored = bag.readProperty(property->name, property->bagDefault);
        property->put(*this, stored, locale);
    }
    loadEditorCaptions();
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
        loadEditorCaptions();
}

void MERV_Gauge::Terminate() {}

void MERV_Gauge::loadEditorCaptions() {
    const std::int32_t language = m_site.resourceLanguage();
    m_ui.AH.setCaption(LoadResString(StringId::AlarmHigh, language));
    m_ui.WH.setCaption(LoadResString(StringId::WarningHigh, language));
    m_ui.WL.setCaption(LoadResString(StringId::WarningLow, language));
    m_ui.AL.setCaption(LoadResString(StringId::AlarmLow, language));
}

} // namespace merv
