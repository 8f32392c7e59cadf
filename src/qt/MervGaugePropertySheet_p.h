#pragma once

#include <mervgauge/MervGaugePropertySheet.h>
#include <mervgauge/mervgauge_qt_export.h>

#include <vector>

class MervGaugePropertyPage;

namespace merv {
class ColorDialog;
class SelectedObject;
} // namespace merv

// The sheet over the core's own objects, for the in-tree tests and hosts that link the
// widget's static build.
struct MERVGAUGE_QT_NO_EXPORT MervGaugePropertySheetAccess {
    // The objects the sheet edits, item 0 first, reached by property name; the caller keeps
    // them alive while they are selected. A shown sheet loads item 0 at once.
    static void setSelection(MervGaugePropertySheet& sheet,
                             std::vector<merv::SelectedObject*> selection);
    // The colour chooser the swatches open instead of a QColorDialog, kept by the caller; null
    // for the dialog again.
    static void setColorChooser(MervGaugePropertySheet& sheet, merv::ColorDialog* chooser);
    static MervGaugePropertyPage& page(MervGaugePropertySheet& sheet);
};
