// A page of a form may be a screen drawn in a form designer: its gauges come from the .ui beside
// the form, a save writes both files and the form reopens the same, and a fault names the file
// it is in: the form for what is between the pages, the .ui for what is in the screen.
#include "panel/DesignedForm.h"

#include <mervgauge/bagfile/BagError.h>

#include "DesignedUi.h"
#include "FileText.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

// The feedwater screen: one gauge in a group box, one label beside it.
const std::string FeedScreen =
    merv::test::designedUi("Feed", R"( <widget class="QWidget" name="Feed">
  <layout class="QHBoxLayout" name="feedRow">
   <item>
    <widget class="QGroupBox" name="feedBox">
     <property name="title">
      <string>Feedwater</string>
     </property>
     <layout class="QVBoxLayout" name="feedBoxLayout">
      <item>
       <widget class="MervGaugeWidget" name="feedFlow">
        <property name="tag" stdset="0">
         <string>feed/flow</string>
        </property>
        <property name="VariableName">
         <string>Feed flow</string>
        </property>
        <property name="AlarmHighVal">
         <double>40.000000000000000</double>
        </property>
       </widget>
      </item>
     </layout>
    </widget>
   </item>
   <item>
    <widget class="QLabel" name="feedNote">
     <property name="text">
      <string>From the deaerator</string>
     </property>
    </widget>
   </item>
  </layout>
 </widget>
)");

// A grid page of the drum's two gauges, then the feedwater screen.
constexpr auto House = R"({"title": "Boiler house", "pages": [
    {"title": "Drum", "gauges": [
        {"bag": {"VariableName": "Drum pressure"}, "tag": "drum/pressure", "row": 0, "col": 0},
        {"bag": {"VariableName": "Drum level"}, "tag": "drum/level", "row": 0, "col": 1}]},
    {"title": "Feedwater", "ui": "feed.ui"}]})";

void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Each gauge as "page tag objectName".
std::vector<std::string> gauges(const Form& form) {
    std::vector<std::string> out;
    for (const FormGauge& g : form.gauges)
        out.push_back(std::to_string(g.page) + " " + g.tag + " " + g.objectName);
    return out;
}

// The form and its screen written into a fresh folder.
struct HouseFiles {
    HouseFiles(const std::string& form = House, const std::string& screen = FeedScreen) {
        write(folder / "house.json", form);
        write(folder / "feed.ui", screen);
    }
    test::TempFolder folder;
};

FormGauge& gaugeTagged(Form& form, const std::string& tag) {
    for (FormGauge& gauge : form.gauges)
        if (gauge.tag == tag)
            return gauge;
    throw std::logic_error("no gauge reads " + tag);
}

double alarmHigh(Form form, const std::string& tag) {
    return gaugeTagged(form, tag)
        .bag.readProperty("AlarmHighVal", {})
        .toDouble(NumberLocale::english());
}

TEST(DesignedPage, ADesignedPagesGaugesAreTheScreensOnItsPage) {
    HouseFiles files;
    const PagedForm paged = loadPagedForm(files.folder / "house.json");
    EXPECT_EQ(paged.form.pages, (std::vector<FormPage>{{"Drum", ""}, {"Feedwater", "feed.ui"}}));
    EXPECT_EQ(gauges(paged.form), (std::vector<std::string>{"0 drum/pressure ", "0 drum/level ",
                                                            "1 feed/flow feedFlow"}));
    ASSERT_EQ(paged.designedPages.size(), 2u);
    EXPECT_FALSE(paged.designedPages[0]);
    ASSERT_TRUE(paged.designedPages[1]);
    EXPECT_EQ(paged.designedPages[1]->text.toStdString(), FeedScreen);
}

TEST(DesignedPage, ASaveWritesTheScreenAndTheFormAndBothReopenTheSame) {
    HouseFiles files;
    const fs::path formPath = files.folder / "house.json";
    const PagedForm opened = loadPagedForm(formPath);
    Form now = opened.form;
    gaugeTagged(now, "feed/flow").bag.set("AlarmHighVal", Variant::doubleValue(45));
    gaugeTagged(now, "drum/level").bag.set("AlarmHighVal", Variant::doubleValue(80));
    const PagedForm saved = savePagedForm(formPath, opened.designedPages, now);

    // The screen changed in the one property: everything drawn stays as it was.
    std::string expected = FeedScreen;
    const std::string was = "<double>40.000000000000000</double>";
    expected.replace(expected.find(was), was.size(), "<double>45.000000000000000</double>");
    EXPECT_EQ(test::fileText(files.folder / "feed.ui"), expected);
    EXPECT_EQ(saved.designedPages[1]->text.toStdString(), expected);
    // The form names its screen and keeps its gauges out of the grid pages.
    const std::string form = test::fileText(formPath);
    EXPECT_NE(form.find("\"ui\": \"feed.ui\""), std::string::npos) << form;
    EXPECT_EQ(form.find("feed/flow"), std::string::npos) << form;

    const PagedForm again = loadPagedForm(formPath);
    EXPECT_EQ(again.form.pages, opened.form.pages);
    EXPECT_EQ(gauges(again.form), gauges(opened.form));
    EXPECT_EQ(alarmHigh(again.form, "feed/flow"), 45);
    EXPECT_EQ(alarmHigh(again.form, "drum/level"), 80);
}

TEST(DesignedPage, SavedElsewhereTheFormTakesItsScreenAlong) {
    HouseFiles files;
    const PagedForm opened = loadPagedForm(files.folder / "house.json");
    const fs::path elsewhere = files.folder / "copy";
    fs::create_directory(elsewhere);
    savePagedForm(elsewhere / "house.json", opened.designedPages, opened.form);
    EXPECT_EQ(test::fileText(elsewhere / "feed.ui"), FeedScreen);
    EXPECT_EQ(gauges(loadPagedForm(elsewhere / "house.json").form), gauges(opened.form));
}

TEST(DesignedPage, AFormOfPagesIsNotExportedAsOneScreen) {
    HouseFiles files;
    const PagedForm opened = loadPagedForm(files.folder / "house.json");
    EXPECT_THROW(exportDesignedForm(files.folder / "house.ui", opened.form), BagError);
    EXPECT_FALSE(fs::exists(files.folder / "house.ui"));
}

TEST(DesignedPage, AFaultIsNamedInTheFileItIsIn) {
    const std::string drumPage = R"({"title": "Drum", "gauges": [
        {"bag": {"VariableName": "Drum pressure"}, "tag": "drum/pressure", "row": 0, "col": 0}]})";
    auto formWith = [&](const std::string& page) {
        return R"({"title": "House", "pages": [)" + drumPage + ", " + page + "]}";
    };
    std::string refused = FeedScreen;
    refused.replace(refused.find("<double>40"), 10, "<string>high");
    refused.replace(refused.find("</double>"), 9, "</string>");
    std::string sameTag = FeedScreen;
    sameTag.replace(sameTag.find("feed/flow"), 9, "drum/pressure");
    std::string noGauge = FeedScreen;
    noGauge.replace(noGauge.find("MervGaugeWidget\" name"), 15, "QLabel");

    struct Case {
        const char* name;
        std::string form, screen;
        const char* file; // the file the message names
        const char* key;
        const char* problemPart;
    };
    const Case cases[] = {
        {"no screen file", formWith(R"({"title": "Feed", "ui": "missing.ui"})"), FeedScreen,
         "house.json", "page 2 (Feed): ui", "\"missing.ui\""},
        {"gauges beside the screen",
         formWith(R"({"title": "Feed", "ui": "feed.ui", "gauges": []})"), FeedScreen, "house.json",
         "page 2 (Feed): gauges", "not both"},
        {"an empty file name", formWith(R"({"title": "Feed", "ui": ""})"), FeedScreen, "house.json",
         "page 2 (Feed): ui", "empty"},
        {"a screen that is no .ui", formWith(R"({"title": "Feed", "ui": "feed.ui"})"),
         "{\"title\": 1}", "feed.ui", "", "not a form designer's .ui file"},
        {"a property the gauge refuses", formWith(R"({"title": "Feed", "ui": "feed.ui"})"), refused,
         "feed.ui", "gauge feedFlow: AlarmHighVal", "expected <double>"},
        {"a screen without a gauge", formWith(R"({"title": "Feed", "ui": "feed.ui"})"), noGauge,
         "feed.ui", "gauges", "at least one gauge"},
        {"one tag on a grid page and a screen", formWith(R"({"title": "Feed", "ui": "feed.ui"})"),
         sameTag, "house.json", "page 2 (Feed): gauge feedFlow (Feed flow): tag",
         "already names page 1 (Drum): gauge 1 (Drum pressure)"},
    };
    for (const Case& c : cases) {
        HouseFiles files(c.form, c.screen);
        try {
            loadPagedForm(files.folder / "house.json");
            ADD_FAILURE() << c.name << ": loaded";
        } catch (const BagError& error) {
            EXPECT_EQ(fs::path(error.file()).filename(), c.file) << c.name << ": " << error.what();
            EXPECT_EQ(error.key(), c.key) << c.name << ": " << error.what();
            EXPECT_NE(error.problem().find(c.problemPart), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

} // namespace
} // namespace merv::panel
