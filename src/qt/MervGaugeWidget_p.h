#pragma once

#include <mervgauge/MervGaugeWidget.h>

#include <mervgauge/control/MERV_Gauge.h>

// The control a widget hosts, for the in-tree tests and benchmarks that link the widget's
// static build. A gauge waiting for its first observer is restored first. What a caller
// changes behind the widget's back reaches the view from the event loop.
merv::MERV_Gauge& mervGaugeControl(MervGaugeWidget& widget);
// The same for a widget seen as const: restoring a waiting gauge is no change of its value.
const merv::MERV_Gauge& mervGaugeControl(const MervGaugeWidget& widget);
