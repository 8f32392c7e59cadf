#pragma once

// How a designed form binds each gauge to its data. These are not the control's properties: a
// form designer stores them with each gauge as dynamic properties, and an operator panel reads
// them to feed the gauge. Plain constants, so both sides and the panel's own forms share them.
namespace MervGaugeBinding {

// Where the gauge's value comes from in the panel's data source (a topic below the source's
// prefix, a simulator or Modbus tag); empty takes the gauge's VariableName.
inline constexpr char TagProperty[] = "tag";
// How long the tag may stay quiet, in milliseconds, before the gauge's value shows as stale.
inline constexpr char StaleMsProperty[] = "staleMs";
inline constexpr int DefaultStaleMs = 10000;
// The shortest stale time a binding may give: a gauge that is stale at once shows nothing.
inline constexpr int LeastStaleMs = 1;
// The tags below this are the stations' own (acknowledgements, their state, each station's
// presence); no gauge may read one, or its values would be taken for theirs.
inline constexpr char StationTagPrefix[] = "mervgauge/";
// Names the gauge's alarms where its tag cannot, as for two gauges that read one tag; empty
// leaves that to the tag.
inline constexpr char AlarmIdProperty[] = "alarmId";

} // namespace MervGaugeBinding
