#include "panel/AlarmSummaryModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

// Records every transition as "variable kind transition station value" and the model's rows as
// "variable kind state". Qt's model tester checks every change the model announces on the way,
// aborting at the first that breaks the rules views rely on.
struct Recorder {
    explicit Recorder(AlarmSummaryModel& model)
        : model(model), tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal) {
        QObject::connect(&model, &AlarmSummaryModel::transitioned,
                         [this](const AlarmTransition& t) {
                             log.push_back(t.variable + " " + std::string(nameOf(t.kind)) + " " +
                                           std::string(nameOf(t.transition)) + " " + t.station +
                                           " " + QString::number(t.value).toStdString());
                         });
    }
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (int r = 0; r < model.rowCount(); ++r) {
            out.push_back(
                model.data(model.index(r, AlarmSummaryModel::VariableColumn))
                    .toString()
                    .toStdString() +
                " " +
                model.data(model.index(r, AlarmSummaryModel::KindColumn)).toString().toStdString() +
                " " +
                model.data(model.index(r, AlarmSummaryModel::StateColumn))
                    .toString()
                    .toStdString());
        }
        return out;
    }
    AlarmSummaryModel& model;
    QAbstractItemModelTester tester;
    std::vector<std::string> log;
};

using Rows = std::vector<std::string>;

TEST(AlarmSummaryModel, AnAlarmGoesThroughTheStatesAndLeavesWhenReturnedAndAcknowledged) {
    AlarmSummaryModel model("north");
    Recorder rec(model);
    model.raise("PT", AlarmKind::AlarmHigh, 49.5, 1000);
    EXPECT_EQ(rec.rows(), Rows{"PT OnAlarmHigh Active, unacknowledged"});
    EXPECT_EQ(model.unacknowledgedCount(), 1);
    EXPECT_TRUE(model.acknowledge("PT", AlarmKind::AlarmHigh, 2000, "north"));
    EXPECT_EQ(rec.rows(), Rows{"PT OnAlarmHigh Active, acknowledged"});
    EXPECT_EQ(model.unacknowledgedCount(), 0);
    EXPECT_FALSE(model.acknowledge("PT", AlarmKind::AlarmHigh, 2100, "north"))
        << "acknowledged twice";
    model.returnToNormal("PT", AlarmKind::AlarmHigh, 41, 3000);
    EXPECT_EQ(rec.rows(), Rows{});
    EXPECT_EQ(rec.log,
              (Rows{"PT OnAlarmHigh raised north 49.5", "PT OnAlarmHigh acknowledged north 49.5",
                    "PT OnAlarmHigh returned north 41"}));
}

TEST(AlarmSummaryModel, AReturnedAlarmStaysUntilAcknowledgedAndARaiseRenewsIt) {
    AlarmSummaryModel model("north");
    Recorder rec(model);
    model.raise("LT", AlarmKind::WarningLow, -85, 1000);
    model.returnToNormal("LT", AlarmKind::WarningLow, -10, 2000);
    EXPECT_EQ(rec.rows(), Rows{"LT OnWarningLow Returned, unacknowledged"});
    EXPECT_EQ(model.unacknowledgedCount(), 1);
    model.returnToNormal("LT", AlarmKind::WarningLow, -5, 2500); // a second return changes nothing
    model.raise("LT", AlarmKind::WarningLow, -90, 3000);
    EXPECT_EQ(rec.rows(), Rows{"LT OnWarningLow Active, unacknowledged"});
    model.returnToNormal("LT", AlarmKind::WarningLow, 0, 4000);
    EXPECT_TRUE(model.acknowledge("LT", AlarmKind::WarningLow, 5000, "south"));
    EXPECT_EQ(rec.rows(), Rows{});
    EXPECT_EQ(rec.log.back(), "LT OnWarningLow acknowledged south -90");
    EXPECT_EQ(rec.log.size(), 5u);
}

TEST(AlarmSummaryModel, NewestFirstAndAlarmsRankAboveWarnings) {
    AlarmSummaryModel model("north");
    Recorder rec(model);
    model.raise("PT", AlarmKind::WarningHigh, 45, 1000);
    model.raise("FT", AlarmKind::AlarmLow, 1, 2000);
    EXPECT_EQ(rec.rows(), (Rows{"FT OnAlarmLow Active, unacknowledged",
                                "PT OnWarningHigh Active, unacknowledged"}));
    const auto priority = [&](int row) {
        return model
            .data(model.index(row, AlarmSummaryModel::PriorityColumn), AlarmSummaryModel::SortRole)
            .toInt();
    };
    EXPECT_LT(priority(0), priority(1));
    EXPECT_EQ(model.data(model.index(0, AlarmSummaryModel::PriorityColumn)).toString(), "High");
    EXPECT_EQ(model.data(model.index(1, AlarmSummaryModel::TimeColumn), AlarmSummaryModel::SortRole)
                  .toLongLong(),
              1000);
}

TEST(AlarmSummaryModel, AcknowledgesTheSelectedRowsOrAll) {
    AlarmSummaryModel model("north");
    Recorder rec(model);
    int lastCount = -1;
    QObject::connect(&model, &AlarmSummaryModel::unacknowledgedCountChanged,
                     [&](int n) { lastCount = n; });
    model.raise("A", AlarmKind::AlarmHigh, 1, 1);
    model.raise("B", AlarmKind::AlarmHigh, 2, 2);
    model.raise("C", AlarmKind::AlarmHigh, 3, 3);
    model.returnToNormal("B", AlarmKind::AlarmHigh, 0, 4); // rows: C, B (returned), A
    model.acknowledgeRows({0, 1}, 5);
    EXPECT_EQ(rec.rows(),
              (Rows{"C OnAlarmHigh Active, acknowledged", "A OnAlarmHigh Active, unacknowledged"}));
    EXPECT_EQ(lastCount, 1);
    model.acknowledgeAll(6);
    EXPECT_EQ(rec.rows(),
              (Rows{"C OnAlarmHigh Active, acknowledged", "A OnAlarmHigh Active, acknowledged"}));
    EXPECT_EQ(lastCount, 0);
    EXPECT_FALSE(model.acknowledge("Z", AlarmKind::AlarmHigh, 7, "south")) << "no such alarm";
}

TEST(AlarmSummaryModel, TheTimeColumnShowsAndNamesTheChosenZoneAndTellsViewsOnce) {
    AlarmSummaryModel model("A");
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.raise("Drum level", AlarmKind::AlarmLow, -160, 1000);
    QSignalSpy headers(&model, &AlarmSummaryModel::headerDataChanged);
    QSignalSpy cells(&model, &AlarmSummaryModel::dataChanged);
    model.setZone(DisplayZone::utc());
    EXPECT_EQ(model.headerData(AlarmSummaryModel::TimeColumn, Qt::Horizontal).toString(),
              QStringLiteral("Time (UTC)"));
    EXPECT_EQ(model.data(model.index(0, AlarmSummaryModel::TimeColumn)).toString(),
              QStringLiteral("1970-01-01 00:00:01.000"));
    // The tooltip holds the whole text of a cell too narrow for it.
    EXPECT_EQ(model.data(model.index(0, AlarmSummaryModel::StateColumn), Qt::ToolTipRole),
              model.data(model.index(0, AlarmSummaryModel::StateColumn)));
    EXPECT_EQ(headers.count(), 1);
    ASSERT_EQ(cells.count(), 1);
    EXPECT_EQ(cells[0][0].toModelIndex().column(), AlarmSummaryModel::TimeColumn);
    model.setZone(DisplayZone::utc()); // the same zone again: nothing to tell
    EXPECT_EQ(headers.count(), 1);
    EXPECT_EQ(cells.count(), 1);
}

} // namespace
} // namespace merv::panel
