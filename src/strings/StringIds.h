#pragma once

// The ids of the localised captions in the string table.
namespace merv::StringId {

// Threshold captions: the editor labels of the control and the property page's threshold labels.
inline constexpr int AlarmHigh = 201;
inline constexpr int WarningHigh = 202;
inline constexpr int WarningLow = 203;
inline constexpr int AlarmLow = 204;

// Property page: the three tab captions and the labels of the first tab.
inline constexpr int VariableDefinitionTab = 501;
inline constexpr int AlarmSettingsTab = 502;
inline constexpr int VariableName = 503;
inline constexpr int EngineeringUnit = 504;
inline constexpr int MaxValue = 505;
inline constexpr int MinValue = 506;
inline constexpr int DecimalDigits = 507;
inline constexpr int ColorsTab = 508;

} // namespace merv::StringId
