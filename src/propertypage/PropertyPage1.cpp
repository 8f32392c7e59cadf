#include <mervgauge/propertypage/PropertyPage1.h>

#include <mervgauge/platform/Conversions.h>
#include <mervgauge/strings/StringIds.h>
#include <mervgauge/strings/StringTable.h>

#include <array>
#include <cstdint>

namespace merv {

namespace {

// What a rejected text in a numeric field is replaced with, whole.
constexpr std::string_view RejectedText = "0";
// A sign typed on its own, kept in the range and threshold fields so that the user can go on
// to type a negative number.
constexpr std::string_view LoneMinus = "-";

// How a property's value is shown in its field.
enum class Shown { AsText, AsInteger, AsSingle };

struct FieldProperty {
    std::string_view property;
    TextField& field;
    Shown shown;
};

struct SwatchProperty {
    std::string_view property;
    PictureBox& swatch;
};

// The order in which fields are loaded and applied; MinValue goes before MaxValue.
std::array<FieldProperty, 9> fieldProperties(const PageElements& ui) {
    return {{
        {"VariableName", ui.txtVariableName, Shown::AsText},
        {"EngUnit", ui.txtEngUnit, Shown::AsText},
        {"Precision", ui.txtPrecision, Shown::AsInteger},
        {"AlarmHighVal", ui.txtAlarmHigh, Shown::AsSingle},
        {"AlarmLowVal", ui.txtAlarmLow, Shown::AsSingle},
        {"WarningHighVal", ui.txtWarningHigh, Shown::AsSingle},
        {"WarningLowVal", ui.txtWarningLow, Shown::AsSingle},
        {"MinValue", ui.txtMinValue, Shown::AsSingle},
        {"MaxValue", ui.txtMaxValue, Shown::AsSingle},
    }};
}

// The order in which swatches are loaded and applied, after the fields.
std::array<SwatchProperty, 7> swatchProperties(const PageElements& ui) {
    return {{
        {"TextColor", ui.TC},
        {"BordersColor", ui.BC},
        {"BackColorGraphic", ui.BCG},
        {"BackColorText", ui.BCT},
        {"AlarmColor", ui.AC},
        {"WarningColor", ui.WC},
        {"NormalColor", ui.NC},
    }};
}

std::string textOf(const Variant& value, Shown shown, const NumberLocale& locale) {
    switch (shown) {
    case Shown::AsText:
        return value.toText(locale);
    case Shown::AsInteger:
        return std::to_string(value.toInteger(locale));
    case Shown::AsSingle:
        return convert::singleToText(value.toSingle(locale), locale);
    }
    return value.toText(locale);
}

} // namespace

PropertyPage1::PropertyPage1(PropertyPageSite& site)
    : m_site(site), m_ui(buildPropertyPage(m_tree)) {
    m_ui.SceltaFontColor.attach(site.colorDialog());

    // Names and units take any text; numeric fields replace a text that is no number with
    // "0", whole, without a message. Focus selects the whole text.
    for (const FieldProperty& p : fieldProperties(m_ui)) {
        TextField* field = &p.field;
        // A lone minus may start a negative number; a precision has none.
        const Sign sign = p.shown == Shown::AsInteger ? Sign::NeedsDigits : Sign::MayStandAlone;
        if (p.shown == Shown::AsText)
            field->onChange = [this] { m_site.setChanged(true); };
        else
            field->onChange = [this, field, sign] { validateNumber(*field, sign); };
        field->onGotFocus = [field] { field->selectAll(); };
    }
    // Each swatch opens the one dialog on its own colour.
    for (const SwatchProperty& p : swatchProperties(m_ui)) {
        PictureBox* swatch = &p.swatch;
        swatch->onClick = [this, swatch] { chooseColor(*swatch); };
    }
}

void PropertyPage1::SelectionChanged() {
    // With nothing selected there is nothing to show; the page keeps what it holds.
    if (!m_site.selectedControl(0))
        return;
    const NumberLocale& locale = m_site.numberLocale();
    // Item 0 is asked for afresh at each property: handlers the host runs during a get may
    // change the selection, and a load stops where it has nothing left to read from.
    for (const FieldProperty& p : fieldProperties(m_ui)) {
        SelectedObject* object = m_site.selectedControl(0);
        if (!object)
            return;
        // The put runs the field's change handling before the next property is read.
        p.field.setText(textOf(object->getProperty(p.property), p.shown, locale));
    }
    for (const SwatchProperty& p : swatchProperties(m_ui)) {
        SelectedObject* object = m_site.selectedControl(0);
        if (!object)
            return;
        p.swatch.setBackColor(object->getProperty(p.property).toColor(locale));
    }
    loadCaptions();
    m_ui.SSTab1.setTab(PageLayout::VariableTab);
    // The changed flag stays as the fields' change handling left it.
}

void PropertyPage1::ApplyChanges() {
    // Every property is written, edited or not, and nothing is read back; the host decides
    // what becomes of the changed flag.
    for (const FieldProperty& p : fieldProperties(m_ui)) {
        SelectedObject* object = m_site.selectedControl(0);
        if (!object)
            return;
        object->putProperty(p.property, Variant::text(p.field.text()));
    }
    for (const SwatchProperty& p : swatchProperties(m_ui)) {
        SelectedObject* object = m_site.selectedControl(0);
        if (!object)
            return;
        // Colours travel as 32-bit integers: the same bits, system-colour bit included.
        object->putProperty(p.property, Variant::longValue(std::int32_t(p.swatch.backColor())));
    }
}

void PropertyPage1::loadCaptions() {
    const std::int32_t language = m_site.resourceLanguage();
    auto caption = [language](int id) { return LoadResString(id, language); };
    m_ui.SSTab1.setTabCaption(PageLayout::VariableTab, caption(StringId::VariableDefinitionTab));
    m_ui.SSTab1.setTabCaption(PageLayout::AlarmTab, caption(StringId::AlarmSettingsTab));
    m_ui.SSTab1.setTabCaption(PageLayout::ColorTab, caption(StringId::ColorsTab));
    m_ui.lblVariableName.setCaption(caption(StringId::VariableName));
    m_ui.lblEngUnit.setCaption(caption(StringId::EngineeringUnit));
    m_ui.lblMaxValue.setCaption(caption(StringId::MaxValue));
    m_ui.lblMinValue.setCaption(caption(StringId::MinValue));
    m_ui.lblPrecision.setCaption(caption(StringId::DecimalDigits));
    m_ui.lblAlarmHigh.setCaption(caption(StringId::AlarmHigh));
    m_ui.lblWarningHigh.setCaption(caption(StringId::WarningHigh));
    m_ui.lblWarningLow.setCaption(caption(StringId::WarningLow));
    m_ui.lblAlarmLow.setCaption(caption(StringId::AlarmLow));
    // The swatch labels are property names and stay as laid out in every language.
}

void PropertyPage1::validateNumber(TextField& field, Sign sign) {
    const bool accepted = (sign == Sign::MayStandAlone && field.text() == LoneMinus) ||
                          convert::isNumeric(field.text(), m_site.numberLocale());
    if (!accepted)
        field.setText(std::string(RejectedText)); // runs this handling again, on an accepted text
    // A rejected text still leaves the page changed: the reset field differs from what was
    // loaded, and edits made in other fields before it must not look applied, or a host that
    // applies only a changed page would drop them.
    m_site.setChanged(true);
}

void PropertyPage1::chooseColor(PictureBox& swatch) {
    CommonDialog& dialog = m_ui.SceltaFontColor;
    dialog.setFlags(ColorDialogFlag::RgbInit);
    dialog.setColor(swatch.backColor());
    dialog.ShowColor();
    // A cancelled dialog still holds the swatch's colour, so the swatch keeps it; the page is
    // marked changed either way, chosen colour equal or not.
    swatch.setBackColor(dialog.Color());
    m_site.setChanged(true);
}

} // namespace merv
