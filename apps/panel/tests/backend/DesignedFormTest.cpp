// A screen drawn in a form designer as a panel form: its gauges and their bindings are read
// from the .ui, a bad one is refused naming the file, the gauge and the property, a save
// rewrites only the properties that changed, and a grid form converts to an equivalent .ui.
#include "panel/DesignedForm.h"
#include "panel/HeadlessSite.h"

#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/MERV_Gauge.h>

#include "DesignedUi.h"
#include "TempFolder.h"

#include <QString>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace merv::panel {
namespace {

// A designed screen as Designer writes one: a group box with a grid layout of two gauges, a
// label, and a gauge placed freely on the top-level widget.
const std::string Screen =
    merv::test::designedUi("Boiler", R"( <widget class="QWidget" name="Boiler">
  <property name="windowTitle">
   <string>Boiler house</string>
  </property>
  <property name="source" stdset="0">
   <string>mqtt://127.0.0.1:1883/site</string>
  </property>
  <property name="sourceCaFile" stdset="0">
   <string>ca.pem</string>
  </property>
  <widget class="QGroupBox" name="drum">
   <property name="title">
    <string>Drum</string>
   </property>
   <layout class="QGridLayout" name="drumGrid">
    <item row="0" column="0">
     <widget class="MervGaugeWidget" name="drumPressure">
      <property name="tag" stdset="0">
       <string>drum/pressure</string>
      </property>
      <property name="staleMs" stdset="0">
       <number>2500</number>
      </property>
      <property name="VariableName">
       <string>Drum pressure</string>
      </property>
      <property name="AlarmHighVal">
       <double>48.000000000000000</double>
      </property>
      <property name="MaxValue">
       <double>60.000000000000000</double>
      </property>
      <property name="alarmQColor">
       <color>
        <red>0</red>
        <green>0</green>
        <blue>192</blue>
       </color>
      </property>
     </widget>
    </item>
    <item row="0" column="1">
     <widget class="MervGaugeWidget" name="drumLevel">
      <property name="VariableName">
       <string>Drum level</string>
      </property>
      <property name="NormalColor">
       <UInt>16744448</UInt>
      </property>
      <property name="normalQColor">
       <color>
        <red>0</red>
        <green>128</green>
        <blue>255</blue>
       </color>
      </property>
     </widget>
    </item>
    <item row="1" column="0">
     <widget class="QLabel" name="note">
      <property name="text">
       <string>Steam &amp; water</string>
      </property>
     </widget>
    </item>
   </layout>
  </widget>
  <widget class="MervGaugeWidget" name="flueOxygen">
   <property name="geometry">
    <rect>
     <x>400</x>
     <y>10</y>
     <width>170</width>
     <height>147</height>
    </rect>
   </property>
   <property name="tag" stdset="0">
    <string>flue/o2</string>
   </property>
   <property name="alarmId" stdset="0">
    <string>flue/o2/stack</string>
   </property>
  </widget>
 </widget>
)");

// What a restored control shows of one property, as English text.
std::string restored(const FormGauge& gauge, const char* name) {
    MemoryPropertyBag bag = gauge.bag;
    HeadlessGauge control(bag);
    return findProperty(std::string_view(name))
        ->get(control.control())
        .toText(NumberLocale::english());
}

QString replaced(QString text, const QString& from, const QString& to) {
    EXPECT_TRUE(text.contains(from)) << from.toStdString();
    return text.replace(from, to);
}

TEST(DesignedForm, ReadsEachGaugeWithItsBindingInTheOrderTheFileListsThem) {
    const DesignedForm designed = readDesignedForm(QString::fromUtf8(Screen), "boiler.ui");
    const Form& form = designed.form;
    EXPECT_EQ(form.title, "Boiler house");
    EXPECT_EQ(form.source, "mqtt://127.0.0.1:1883/site");
    EXPECT_EQ(form.sourceSecurity.caFile, "ca.pem");
    ASSERT_EQ(form.gauges.size(), 3u);
    EXPECT_EQ(form.gauges[0].objectName, "drumPressure");
    EXPECT_EQ(form.gauges[0].tag, "drum/pressure");
    EXPECT_EQ(form.gauges[0].staleMs, 2500);
    EXPECT_EQ(restored(form.gauges[0], "AlarmHighVal"), "48");
    EXPECT_EQ(restored(form.gauges[0], "AlarmColor"), std::to_string(0xC00000))
        << "a colour given only as a QColor";
    EXPECT_EQ(form.gauges[1].tag, "Drum level") << "no tag: the variable name";
    EXPECT_EQ(form.gauges[1].staleMs, DefaultStaleMs);
    EXPECT_EQ(restored(form.gauges[1], "NormalColor"), std::to_string(16744448))
        << "the stored value wins over the QColor beside it";
    EXPECT_EQ(form.gauges[2].objectName, "flueOxygen");
    EXPECT_EQ(form.gauges[2].identity(), "flue/o2/stack");
}

TEST(DesignedForm, ABadFormIsRefusedNamingTheGaugeAndTheProperty) {
    const QString screen = QString::fromUtf8(Screen);
    struct Case {
        const char* name;
        QString text;
        const char* key;
        const char* problemPart;
    };
    const Case cases[] = {
        {"no XML", QStringLiteral("{\"title\": \"a JSON form\"}"), "", "not a form designer's"},
        {"another root", QStringLiteral("<form/>"), "", "<form>, not <ui>"},
        {"cut short", screen.left(screen.indexOf(QStringLiteral("</ui>")) - 200), "line",
         "not a well-formed"},
        {"a value the gauge refuses",
         replaced(screen, QStringLiteral("<double>48.000000000000000</double>"),
                  QStringLiteral("<double>1e40</double>")),
         "gauge drumPressure (Drum pressure): AlarmHighVal", "refuses"},
        {"a value of the wrong type",
         replaced(screen, QStringLiteral("<double>60.000000000000000</double>"),
                  QStringLiteral("<string>sixty</string>")),
         "gauge drumPressure: MaxValue", "expected <double>"},
        {"a status set",
         replaced(screen, QStringLiteral("<property name=\"MaxValue\">"),
                  QStringLiteral("<property name=\"AlarmHighStatus\"><bool>true</bool></property>"
                                 "<property name=\"MaxValue\">")),
         "gauge drumPressure: AlarmHighStatus", "cannot set"},
        {"two gauges of one tag",
         replaced(replaced(screen, QStringLiteral("<string>flue/o2</string>"),
                           QStringLiteral("<string>drum/pressure</string>")),
                  QStringLiteral("   <property name=\"alarmId\" stdset=\"0\">\n    "
                                 "<string>flue/o2/stack</string>\n   </property>\n"),
                  {}),
         "gauge flueOxygen: tag", "need an \"alarmId\""},
        {"two gauges of one name",
         replaced(screen, QStringLiteral("name=\"flueOxygen\""),
                  QStringLiteral("name=\"drumLevel\"")),
         "gauge drumLevel", "same name"},
        {"a stale time of none",
         replaced(screen, QStringLiteral("<number>2500</number>"),
                  QStringLiteral("<number>0</number>")),
         "gauge drumPressure (Drum pressure): staleMs", "at least 1"},
        {"the stations' own tag",
         replaced(screen, QStringLiteral("<string>flue/o2</string>"),
                  QStringLiteral("<string>mervgauge/ack</string>")),
         "gauge flueOxygen: tag", "acknowledgements"},
        {"a password in the form",
         replaced(screen, QStringLiteral("<property name=\"sourceCaFile\""),
                  QStringLiteral("<property name=\"sourcePassword\" stdset=\"0\"><string>x"
                                 "</string></property><property name=\"sourceCaFile\"")),
         "sourcePassword", "never stands in a form"},
    };
    for (const Case& c : cases) {
        try {
            readDesignedForm(c.text, "boiler.ui");
            ADD_FAILURE() << c.name << ": read";
        } catch (const BagError& error) {
            EXPECT_EQ(error.file(), "boiler.ui") << c.name;
            EXPECT_TRUE(error.key().starts_with(c.key)) << c.name << ": " << error.what();
            EXPECT_NE(error.problem().find(c.problemPart), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

// The designed gauges with the values an operator gave them.
Form changed(const DesignedForm& designed,
             std::initializer_list<std::tuple<int, const char*, Variant>> changes) {
    Form now = designed.form;
    for (const auto& [index, key, value] : changes)
        now.gauges[std::size_t(index)].bag.set(key, value);
    return now;
}

TEST(DesignedForm, ASaveRewritesOnlyTheChangedPropertiesAndKeepsEveryOtherCharacter) {
    const DesignedForm designed = readDesignedForm(QString::fromUtf8(Screen), "boiler.ui");
    EXPECT_EQ(designedFormText(designed, designed.form, "boiler.ui"), designed.text)
        << "nothing changed, nothing written";
    // A live value is no design change.
    EXPECT_EQ(designedFormText(designed, changed(designed, {{0, "Value", Variant::single(47.5f)}}),
                               "boiler.ui"),
              designed.text);

    const Form now = changed(designed, {{0, "AlarmHighVal", Variant::single(50.5f)},
                                        {0, "AlarmColor", Variant::longValue(0x0000FF)},
                                        {1, "WarningLowVal", Variant::single(10)}});
    const QString saved = designedFormText(designed, now, "boiler.ui");
    // The one value in its place; the QColor beside the colour's new value is gone; the new
    // one after the gauge's last property, at Designer's indent.
    QString expected = designed.text;
    expected.replace(QStringLiteral("<double>48.000000000000000</double>"),
                     QStringLiteral("<double>50.500000000000000</double>"));
    const qsizetype colorAt =
        expected.indexOf(QStringLiteral("      <property name=\"alarmQColor\">"));
    const qsizetype colorEnd = expected.indexOf(QStringLiteral("</property>\n"), colorAt) +
                               qsizetype(strlen("</property>\n"));
    expected.remove(colorAt, colorEnd - colorAt);
    expected.replace(QStringLiteral("      <property name=\"MaxValue\">\n       "
                                    "<double>60.000000000000000</double>\n      </property>\n"),
                     QStringLiteral("      <property name=\"MaxValue\">\n       "
                                    "<double>60.000000000000000</double>\n      </property>\n"
                                    "      <property name=\"AlarmColor\">\n       "
                                    "<UInt>255</UInt>\n      </property>\n"));
    expected.replace(QStringLiteral("       </color>\n      </property>\n     </widget>\n    "
                                    "</item>\n    <item row=\"1\""),
                     QStringLiteral("       </color>\n      </property>\n"
                                    "      <property name=\"WarningLowVal\">\n       "
                                    "<double>10.000000000000000</double>\n      </property>\n"
                                    "     </widget>\n    </item>\n    <item row=\"1\""));
    EXPECT_EQ(saved.toStdString(), expected.toStdString());

    // And it reads back with the new values.
    const DesignedForm again = readDesignedForm(saved, "boiler.ui");
    EXPECT_EQ(restored(again.form.gauges[0], "AlarmHighVal"), "50.5");
    EXPECT_EQ(restored(again.form.gauges[0], "AlarmColor"), "255");
    EXPECT_EQ(restored(again.form.gauges[1], "WarningLowVal"), "10");
    EXPECT_EQ(restored(again.form.gauges[2], "WarningLowVal"), "35") << "untouched";
}

TEST(DesignedForm, AGaugeWrittenAsAnEmptyElementTakesItsFirstProperties) {
    QString text = QString::fromUtf8(Screen);
    const qsizetype begin =
        text.indexOf(QStringLiteral("  <widget class=\"MervGaugeWidget\" name=\"flueOxygen\">"));
    const qsizetype end = text.indexOf(QStringLiteral(" </widget>\n <customwidgets>"));
    text.replace(begin, end - begin,
                 QStringLiteral("  <widget class=\"MervGaugeWidget\" name=\"flueOxygen\"/>\n"));
    const DesignedForm designed = readDesignedForm(text, "boiler.ui");
    const QString saved = designedFormText(
        designed, changed(designed, {{2, "EngUnit", Variant::text("%")}}), "boiler.ui");
    EXPECT_TRUE(saved.contains(
        QStringLiteral("  <widget class=\"MervGaugeWidget\" name=\"flueOxygen\">\n   <property "
                       "name=\"EngUnit\">\n    <string>%</string>\n   </property>\n  "
                       "</widget>\n")))
        << saved.toStdString();
    EXPECT_EQ(restored(readDesignedForm(saved, "boiler.ui").form.gauges[2], "EngUnit"), "%");
}

TEST(DesignedForm, AValueDesignerWouldRoundIsWrittenSoThatItReadsBackExactly) {
    const DesignedForm designed = readDesignedForm(QString::fromUtf8(Screen), "boiler.ui");
    const float tiny = 1.25e-20f;
    const QString saved = designedFormText(
        designed, changed(designed, {{0, "MinValue", Variant::single(-tiny)}}), "boiler.ui");
    const DesignedForm again = readDesignedForm(saved, "boiler.ui");
    MemoryPropertyBag bag = again.form.gauges[0].bag;
    HeadlessGauge control(bag);
    EXPECT_EQ(control.control().MinValue(), -tiny);
}

TEST(DesignedForm, AGridFormConvertsToADesignedFormOfTheSameGaugesAndBindings) {
    Form grid = defaultForm();
    grid.gauges[1].id = "feedwater/temperature/local";
    grid.gauges[2].staleMs = 1500;
    grid.sourceSecurity.user = "panel";
    const DesignedForm designed = readDesignedForm(designedFormOf(grid), "plant.ui");
    const Form& form = designed.form;
    EXPECT_EQ(form.title, grid.title);
    EXPECT_EQ(form.source, grid.source);
    EXPECT_EQ(form.sourceSecurity, grid.sourceSecurity);
    ASSERT_EQ(form.gauges.size(), grid.gauges.size());
    for (std::size_t i = 0; i < grid.gauges.size(); ++i) {
        SCOPED_TRACE(grid.gauges[i].tag);
        EXPECT_EQ(form.gauges[i].tag, grid.gauges[i].tag);
        EXPECT_EQ(form.gauges[i].id, grid.gauges[i].id);
        EXPECT_EQ(form.gauges[i].staleMs, grid.gauges[i].staleMs);
        for (const PropertyInfo* property : persistedProperties())
            EXPECT_EQ(restored(form.gauges[i], property->name.data()),
                      restored(grid.gauges[i], property->name.data()))
                << property->name;
    }
    EXPECT_EQ(form.gauges[0].objectName, "boilerDrumPressure");
    // Each gauge in its grid cell.
    EXPECT_TRUE(designedFormOf(grid).contains(
        QStringLiteral("<item row=\"1\" column=\"2\">\n    <widget class=\"MervGaugeWidget\" "
                       "name=\"boilerFluegasOxygen\">")));
}

TEST(DesignedForm, SavingWritesTheFileWholeAndReadsBackAsSaved) {
    test::TempFolder folder;
    const auto path = folder / "boiler.ui";
    std::ofstream(path) << Screen;
    const DesignedForm designed = loadDesignedForm(path);
    const DesignedForm saved = saveDesignedForm(
        path, designed, changed(designed, {{1, "Precision", Variant::integer(2)}}));
    std::stringstream written;
    written << std::ifstream(path).rdbuf();
    EXPECT_EQ(QString::fromStdString(written.str()), saved.text);
    EXPECT_EQ(restored(loadDesignedForm(path).form.gauges[1], "Precision"), "2");
    // The saved form is what the next save compares with: saving it again changes nothing.
    EXPECT_EQ(designedFormText(saved, saved.form, path.string()), saved.text);
}

} // namespace
} // namespace merv::panel
