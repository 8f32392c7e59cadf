#pragma once

// The widget's public name for applications: #include <mervgauge/MervGaugeWidget.h>. The
// header itself stays beside its sources, where the library and forms designed in Qt Designer
// include it as "qt/MervGaugeWidget.h".
#include "qt/MervGaugeWidget.h"
