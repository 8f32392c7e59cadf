#pragma once

// The gauge's 21 properties, each declared once. Every place that lists them expands this
// list: the control's accessor declarations, the property table (GaugeProperties.cpp), the Qt
// widget's properties, accessors and change signals, and through the table the Designer
// plugin's tooltips. A property's behaviour (its getter and setter) stays in MERV_Gauge.cpp.
//
// X(Kind, Name, HelpString, Browsable, StoreOrder, BagDefault, QtColor, setQtColor)
//   Kind        Text, Integer, Boolean (the read-only status flags), Single or Color: the
//               control's type of the property and the type its Qt property takes
//   Name        the property's name, its getter's; the setter is setName
//   HelpString  what a property browser shows, "" where the property has none
//   Browsable   whether a property browser lists it
//   StoreOrder  its place in the property bag, 1 to 17; 0 when not stored
//   BagDefault  the default handed to the bag (a merv::Variant), unused when not stored
//   QtColor, setQtColor
//               for a colour, the Qt property that shows it as a QColor and its setter; other
//               kinds name none (moc takes no empty macro arguments)
//
// The rows are in DISPID order: a new property goes at the end, after AlarmColor.
// clang-format off
#define MERV_GAUGE_PROPERTIES(X)                                                                  \
    X(Text, VariableName, "Variable name", true, 6, Variant::text("Var"), none, none)            \
    X(Text, EngUnit, "Engineering unit", true, 5, Variant::text("EU"), none, none)               \
    X(Integer, Precision, "Display precision (0-5)", true, 4, Variant::integer(0), none, none)   \
    X(Boolean, AlarmHighStatus, "", false, 0, Variant(), none, none)                             \
    X(Boolean, AlarmLowStatus, "", false, 0, Variant(), none, none)                              \
    X(Boolean, WarningHighStatus, "", false, 0, Variant(), none, none)                           \
    X(Boolean, WarningLowStatus, "", false, 0, Variant(), none, none)                            \
    X(Single, AlarmHighVal, "Value of alarm high", true, 10, Variant::integer(80), none, none)   \
    X(Single, AlarmLowVal, "Value of alarm low", true, 9, Variant::integer(20), none, none)     \
    X(Single, WarningHighVal, "Value of warning high", true, 8, Variant::integer(65), none, none) \
    X(Single, WarningLowVal, "Value of warning low", true, 7, Variant::integer(35), none, none)  \
    X(Single, Value, "Value to be displayed", true, 3, Variant::integer(0), none, none)          \
    X(Single, MinValue, "Minimum display value", true, 2, Variant::integer(0), none, none)       \
    X(Single, MaxValue, "", true, 1, Variant::integer(100), none, none)                          \
    X(Color, BackColorText, "", true, 17, Variant::longValue(16777215),                          \
      backColorTextQColor, setBackColorTextQColor)                                                \
    X(Color, BackColorGraphic, "", true, 16, Variant::longValue(12632256),                       \
      backColorGraphicQColor, setBackColorGraphicQColor)                                          \
    X(Color, TextColor, "", true, 15, Variant::longValue(0), textQColor, setTextQColor)          \
    X(Color, BordersColor, "", true, 14, Variant::longValue(0), bordersQColor, setBordersQColor) \
    X(Color, NormalColor, "", true, 13, Variant::longValue(65280), normalQColor, setNormalQColor) \
    X(Color, WarningColor, "", true, 12, Variant::longValue(65535), warningQColor,               \
      setWarningQColor)                                                                           \
    X(Color, AlarmColor, "", true, 11, Variant::longValue(255), alarmQColor, setAlarmQColor)
// clang-format on
