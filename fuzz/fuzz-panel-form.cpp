// Reads fuzzed texts as panel forms. A text either is a form or is refused with the one error
// that names file, gauge and key; any other exception, a crash or a hang is a fault.
#include "panel/Form.h"
#include <mervgauge/bagfile/BagError.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace merv::panel;
    try {
        const Form form =
            readForm(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
        // What loaded is within the bounds every later step relies on. A designed page's
        // gauges come from its screen, which is not read here.
        if ((form.gauges.empty() && !form.hasDesignedPages()) || form.gauges.size() > MaxGauges)
            __builtin_trap();
        for (const FormGauge& gauge : form.gauges)
            if (gauge.page < 0 ||
                (!form.pages.empty() && (std::size_t(gauge.page) >= form.pages.size() ||
                                         !form.pages[std::size_t(gauge.page)].ui.empty())))
                __builtin_trap();
        for (const FormGauge& gauge : form.gauges)
            if (gauge.row < 0 || gauge.row > LastGridPlace || gauge.col < 0 ||
                gauge.col > LastGridPlace || gauge.staleMs < 1 || gauge.tag.empty() ||
                gauge.tag == AcknowledgementTag)
                __builtin_trap();
    } catch (const merv::BagError&) {
    }
    return 0;
}
