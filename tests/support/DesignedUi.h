#pragma once

#include <string>
#include <string_view>

namespace merv::test {

// A .ui document as Qt Designer writes one: the form's class, its top-level widget as given (a
// whole element, indented by one space, ending in a newline), and the gauge's custom-widget
// entry, which every form holding a gauge carries.
inline std::string designedUi(std::string_view formClass, std::string_view topLevelWidget) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n <class>";
    text += formClass;
    text += "</class>\n";
    text += topLevelWidget;
    text += R"( <customwidgets>
  <customwidget>
   <class>MervGaugeWidget</class>
   <extends>QWidget</extends>
   <header location="global">mervgauge/MervGaugeWidget.h</header>
  </customwidget>
 </customwidgets>
 <resources/>
 <connections/>
</ui>
)";
    return text;
}

} // namespace merv::test
