#pragma once

#include "panel/MqttSecurity.h"

#include <mervgauge/MervGaugeBinding.h>

#include <mervgauge/platform/PropertyBag.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A panel form: a titled grid of gauges, each restored from its property bag and fed from one
// tag of the data source.
namespace merv::panel {

// How long a tag may go without an update before its gauge shows the value as stale.
inline constexpr int DefaultStaleMs = MervGaugeBinding::DefaultStaleMs;
// The source a form uses when it names none: the built-in process simulator.
inline constexpr const char* DefaultSource = "sim";
// A gauge's row and column run from 0 to this: a grid far beyond any screen is a mistake.
inline constexpr int LastGridPlace = 255;
// The most gauges a form holds; a larger one is refused before any gauge is built.
inline constexpr std::size_t MaxGauges = 10000;
// The tag of the topic stations share acknowledgements on; no gauge may read it, or its values
// would be taken for acknowledgements.
inline constexpr const char* AcknowledgementTag = "mervgauge/ack";
// The tags below this are the stations' own (acknowledgements, the acknowledgement state kept on
// a broker, each station's presence); no gauge may read one.
inline constexpr std::string_view StationTagPrefix = MervGaugeBinding::StationTagPrefix;

struct FormGauge {
    MemoryPropertyBag bag;
    std::string tag; // never empty: a form without one takes the gauge's VariableName
    // Names the gauge's alarms in the summary, the history and acknowledgements when it is not
    // its tag, as for two gauges that read one tag; empty when the tag does.
    std::string id;
    int staleMs = DefaultStaleMs;
    int row = 0;
    int col = 0;
    // The gauge's object name in a designed form, where it stands as drawn and has no row or
    // column; empty in a grid form.
    std::string objectName;
    // The page the gauge is on, an index into Form::pages; 0 in a form of one page.
    int page = 0;

    // The gauge's identity: its id, or its tag. No two gauges of a form share one.
    const std::string& identity() const { return id.empty() ? tag : id; }
};

// The TLS files and login of a form's MQTT source: the key of each in a grid form's "source"
// object, the dynamic property of a designed form's top-level widget, and the field it fills.
struct SourceSecurityKey {
    const char* jsonKey;
    const char* uiProperty;
    std::string MqttSecurity::*field;
};
inline constexpr SourceSecurityKey SourceSecurityKeys[] = {
    {"ca_file", "sourceCaFile", &MqttSecurity::caFile},
    {"cert_file", "sourceCertFile", &MqttSecurity::certFile},
    {"key_file", "sourceKeyFile", &MqttSecurity::keyFile},
    {"user", "sourceUser", &MqttSecurity::user},
    {"password_file", "sourcePasswordFile", &MqttSecurity::passwordFile},
};

// A page of a form: a grid of its own ("gauges"), or a screen drawn in a form designer ("ui").
struct FormPage {
    std::string title;
    // The designed page's .ui file as the form names it, beside the form where it is relative;
    // empty for a grid page. The page's gauges are the designed ones of that file.
    std::string ui;

    bool operator==(const FormPage&) const = default;
};

struct Form {
    std::string title;
    std::string source = DefaultSource;
    // An MQTT source's TLS files and login, as the form names them (relative paths are beside
    // the form).
    MqttSecurity sourceSecurity;
    // Every gauge of every page, page by page.
    std::vector<FormGauge> gauges;
    // The form's pages ("pages" in the file), each a tab of the window with its own grid or
    // designed screen; empty for a form of one page ("gauges").
    std::vector<FormPage> pages;

    // Whether a page of the form is drawn in a form designer: its gauges come from its .ui.
    bool hasDesignedPages() const;
};

// Reads and checks a whole form: every gauge's bag is restored into a control that is thrown
// away, so a bag the control refuses is found before anything is shown. Every fault throws
// BagError naming the file, the gauge ("gauge 2 (Drum level): AlarmHighVal") and what was
// wrong; nothing of a bad form is returned.
Form loadForm(const std::filesystem::path& path);
// Reads and checks a form's text the same way; file is only used in the messages. The gauges
// of designed pages are not read here (loadPagedForm reads them from their .ui files): how
// many gauges the form holds, and whether their identities clash with those, is checked once
// they are in.
Form readForm(std::string_view text, const std::string& file);

// Checks a form built in memory the same way; the file name is only used in the messages.
void checkForm(const Form& form, const std::string& file = {});
// Checks what holds between the form's gauges (their count, pages, places, tags and
// identities), their bags having been checked as they were read.
void checkFormGauges(const Form& form, const std::string& file);
// How the messages name gauge index of the form: "gauge 2 (Drum level)", on a page of a form of
// pages "page 1 (Boiler): gauge 2 (Drum level)", or by its object name in a designed form,
// "gauge drumLevel (Drum level)".
std::string gaugeName(const Form& form, std::size_t index);
// Why the tag is one no gauge may read; empty when it may.
std::string tagProblem(const std::string& tag);

// Writes the form atomically; the old file stays whole when the save fails. A designed page is
// written as its title and its .ui file's name: its gauges are saved in that file
// (savePagedForm).
void saveForm(const std::filesystem::path& path, const Form& form);

// The form used when none is given: six process variables of a small steam boiler.
Form defaultForm();

} // namespace merv::panel
