#pragma once

#include <mervgauge/platform/PropertyBag.h>

#include <filesystem>
#include <string>
#include <vector>

// A panel form: a titled grid of gauges, each restored from its property bag and fed from one
// tag of the data source.
namespace merv::panel {

// How long a tag may go without an update before its gauge shows the value as stale.
inline constexpr int DefaultStaleMs = 10000;
// The source a form uses when it names none: the built-in process simulator.
inline constexpr const char* DefaultSource = "sim";

struct FormGauge {
    MemoryPropertyBag bag;
    std::string tag; // never empty: a form without one takes the gauge's VariableName
    int staleMs = DefaultStaleMs;
    int row = 0;
    int col = 0;
};

struct Form {
    std::string title;
    std::string source = DefaultSource;
    std::vector<FormGauge> gauges;
};

// Reads and checks a whole form: every gauge's bag is restored into a control that is thrown
// away, so a bag the control refuses is found before anything is shown. Every fault throws
// BagError naming the file, the gauge ("gauge 2 (Drum level): AlarmHighVal") and what was
// wrong; nothing of a bad form is returned.
Form loadForm(const std::filesystem::path& path);

// Checks a form built in memory the same way; the file name is only used in the messages.
void checkForm(const Form& form, const std::string& file = {});

// Writes the form atomically; the old file stays whole when the save fails.
void saveForm(const std::filesystem::path& path, const Form& form);

// The form used when none is given: six process variables of a small steam boiler.
Form defaultForm();

} // namespace merv::panel
