// The CSV a spreadsheet opens: a name that looks like a formula is shown as text, never run,
// while values, negative ones too, stay numbers.
#include "panel/AlarmHistory.h"

#include <gtest/gtest.h>

#include <sstream>

namespace merv::panel {
namespace {

struct Cell {
    const char* station;
    const char* written;
};
void PrintTo(const Cell& value, std::ostream* out) {
    *out << value.station;
}

class AStationName : public ::testing::TestWithParam<Cell> {};

TEST_P(AStationName, IsWrittenAsASpreadsheetTakesItForText) {
    const std::vector<AlarmTransition> rows{
        {1000, GetParam().station, "Drum level", AlarmKind::AlarmLow, Transition::Raised, -85}};
    std::ostringstream csv;
    writeCsv(csv, rows);
    EXPECT_EQ(csv.str(), std::string("time,station,variable,kind,transition,value,tag,operator\n"
                                     "1970-01-01T00:00:01.000Z,") +
                             GetParam().written + ",Drum level,OnAlarmLow,raised,-85,,\n");
}

INSTANTIATE_TEST_SUITE_P(AlarmCsv, AStationName,
                         ::testing::Values(Cell{"north", "north"},
                                           Cell{"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
                                           Cell{"+1", "\"'+1\""}, Cell{"-2+3", "\"'-2+3\""},
                                           Cell{"@SUM(A1:A9)", "\"'@SUM(A1:A9)\""},
                                           Cell{"=a,b", "\"'=a,b\""}, Cell{"a=b", "a=b"},
                                           Cell{"ops, A", "\"ops, A\""}));

TEST(AlarmCsv, AVariableLikeAFormulaIsGuardedAndNegativeValuesStayNumbers) {
    const std::vector<AlarmTransition> rows{
        {0, "A", "-Drum level", AlarmKind::WarningLow, Transition::Returned, -0.5},
        {0, "A", "@pump", AlarmKind::AlarmHigh, Transition::Raised, -1e-7}};
    std::ostringstream csv;
    writeCsv(csv, rows);
    EXPECT_EQ(csv.str(),
              "time,station,variable,kind,transition,value,tag,operator\n"
              "1970-01-01T00:00:00.000Z,A,\"'-Drum level\",OnWarningLow,returned,-0.5,,\n"
              "1970-01-01T00:00:00.000Z,A,\"'@pump\",OnAlarmHigh,raised,-1e-07,,\n");
}

} // namespace
} // namespace merv::panel
