#include "panel/Form.h"

namespace merv::panel {
namespace {

// One process variable of the built-in form, with its normal operating value.
struct PlantVariable {
    const char* tag;
    const char* name;
    const char* unit;
    std::int16_t precision;
    float minimum, maximum;
    float alarmLow, warningLow, warningHigh, alarmHigh;
    float normal;
};

// A small water-tube boiler making saturated steam at about 40 bar for a process plant.
constexpr PlantVariable SteamPlant[] = {
    {"boiler/drum/pressure", "Drum pressure", "bar", 1, 0, 60, 25, 32, 44, 48, 40},
    {"boiler/feedwater/temperature", "Feedwater temp", "\u00b0C", 0, 0, 200, 80, 95, 130, 145, 105},
    {"boiler/steam/flow", "Steam flow", "t/h", 1, 0, 30, 2, 4, 22, 26, 14},
    {"boiler/drum/level", "Drum level", "mm", 0, -200, 200, -150, -80, 80, 150, 0},
    {"boiler/steam/temperature", "Steam temp", "\u00b0C", 0, 300, 500, 360, 380, 440, 460, 420},
    {"boiler/fluegas/oxygen", "Flue gas O2", "%", 1, 0, 10, 1.5f, 2.5f, 6, 8, 3.5f},
};

constexpr int FormColumns = 3; // two rows of three gauges

} // namespace

Form defaultForm() {
    Form form;
    form.title = "Boiler 1 - steam plant overview";
    form.source = DefaultSource;
    int index = 0;
    for (const PlantVariable& v : SteamPlant) {
        FormGauge gauge;
        // Keys in the order the control stores them, as a saved bag has them.
        gauge.bag.set("MaxValue", Variant::single(v.maximum));
        gauge.bag.set("MinValue", Variant::single(v.minimum));
        gauge.bag.set("Value", Variant::single(v.normal));
        gauge.bag.set("Precision", Variant::integer(v.precision));
        gauge.bag.set("EngUnit", Variant::text(v.unit));
        gauge.bag.set("VariableName", Variant::text(v.name));
        gauge.bag.set("WarningLowVal", Variant::single(v.warningLow));
        gauge.bag.set("WarningHighVal", Variant::single(v.warningHigh));
        gauge.bag.set("AlarmLowVal", Variant::single(v.alarmLow));
        gauge.bag.set("AlarmHighVal", Variant::single(v.alarmHigh));
        gauge.tag = v.tag;
        gauge.row = index / FormColumns;
        gauge.col = index % FormColumns;
        form.gauges.push_back(std::move(gauge));
        ++index;
    }
    return form;
}

} // namespace merv::panel
