// The sample forms and the forms in docs/forms.md load as they are, and what the documentation
// lists of the bag is what the gauge stores.
#include "panel/Form.h"

#include "panel/DataSource.h"
#include "panel/DesignedForm.h"
#include "panel/ModbusTag.h"
#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagJson.h>
#include <mervgauge/control/GaugeProperties.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

const fs::path SourceDir = MERVGAUGE_SOURCE_DIR;

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The bodies of the fenced blocks of a Markdown text whose info string is exactly info.
std::vector<std::string> fencedBlocks(const std::string& markdown, const std::string& info) {
    std::vector<std::string> blocks;
    std::istringstream lines(markdown);
    std::string line, body;
    bool inside = false, wanted = false;
    while (std::getline(lines, line)) {
        if (line.starts_with("```")) {
            if (inside && wanted)
                blocks.push_back(body);
            wanted = !inside && line.substr(3) == info;
            inside = !inside;
            body.clear();
        } else if (inside) {
            body += line + "\n";
        }
    }
    EXPECT_FALSE(inside) << "a fenced block is not closed";
    return blocks;
}

// Loads a form as the panel does, then opens its source without starting it, which reads the
// address; a Modbus form's tags are read as the source reads them at start.
Form loadAndOpen(const fs::path& path) {
    Form form = loadPagedForm(path).form;
    SourceOptions options;
    options.manualClock = true;
    openSource(form.source, options);
    if (form.source.starts_with("modbus-tcp://"))
        for (const FormGauge& gauge : form.gauges)
            readModbusTag(gauge.tag);
    return form;
}

TEST(FormDocumentation, EverySampleFormLoadsAndItsSourceOpens) {
    std::set<std::string> sources;
    for (const char* folder : {"examples/forms", "examples/designed-panel"})
        for (const auto& entry : fs::directory_iterator(SourceDir / folder)) {
            if (entry.path().extension() != ".json")
                continue;
            try {
                const Form form = loadAndOpen(entry.path());
                sources.insert(form.source.substr(0, form.source.find(':')));
            } catch (const std::exception& error) {
                ADD_FAILURE() << error.what();
            }
        }
    EXPECT_EQ(sources, (std::set<std::string>{"sim", "mqtt", "modbus-tcp"}));
}

TEST(FormDocumentation, TheSteamPlantSampleIsTheBuiltInForm) {
    const Form file = loadForm(SourceDir / "examples/forms/steam-plant.json");
    const Form builtIn = defaultForm();
    EXPECT_EQ(file.title, builtIn.title);
    EXPECT_EQ(file.source, builtIn.source);
    ASSERT_EQ(file.gauges.size(), builtIn.gauges.size());
    for (std::size_t i = 0; i < file.gauges.size(); ++i) {
        const FormGauge &a = file.gauges[i], &b = builtIn.gauges[i];
        EXPECT_EQ(bagToJson(a.bag), bagToJson(b.bag)) << b.tag;
        EXPECT_EQ(std::tie(a.tag, a.staleMs, a.row, a.col),
                  std::tie(b.tag, b.staleMs, b.row, b.col))
            << b.tag;
    }
}

TEST(FormDocumentation, EveryJsonExampleInTheGuideIsAFormThatLoads) {
    const auto blocks = fencedBlocks(readText(SourceDir / "docs/forms.md"), "json");
    EXPECT_GE(blocks.size(), 3u) << "the guide's examples were not found";
    test::TempFolder folder;
    // The screen the guide's designed page names, beside its form.
    fs::copy_file(SourceDir / "examples/designed-panel/steam-plant.ui", folder / "steam-plant.ui");
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const fs::path path = folder / ("example-" + std::to_string(i + 1) + ".json");
        std::ofstream(path, std::ios::binary) << blocks[i];
        try {
            loadAndOpen(path);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "docs/forms.md, JSON example " << i + 1 << ": " << error.what() << "\n"
                          << blocks[i];
        }
    }
}

TEST(FormDocumentation, TheGuideStatesTheBoundsTheLoaderKeeps) {
    const std::string guide = readText(SourceDir / "docs/forms.md");
    const std::string gauges = std::to_string(MaxGauges), places = std::to_string(LastGridPlace);
    const std::string side = std::to_string(LastGridPlace + 1);
    for (const std::string& part :
         {"at least one gauge and at most " + gauges + " |", "from 0 to " + places + ";",
          "at most " + gauges + " gauges on a grid of at most " + side + " rows and " + side +
              " columns",
          "`" + std::string(AcknowledgementTag) + "` is where stations share acknowledgements"})
        EXPECT_NE(guide.find(part), std::string::npos) << part;
}

TEST(FormDocumentation, TheGuidesBagTableIsWhatTheGaugeStoresInItsOrderWithItsDefaults) {
    // Rows "| `Name` | `default` | ...".
    const std::regex row(R"(^\| `([A-Za-z]+)` \| `([^`]*)` \|)");
    std::vector<std::pair<std::string, std::string>> documented;
    std::istringstream lines(readText(SourceDir / "docs/forms.md"));
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, row))
            documented.emplace_back(match[1], match[2]);
    }
    std::vector<std::pair<std::string, std::string>> stored;
    for (const PropertyInfo* property : persistedProperties())
        stored.emplace_back(std::string(property->name),
                            variantToJson(property->bagDefault).dump());
    EXPECT_EQ(documented, stored);
}

} // namespace
} // namespace merv::panel
