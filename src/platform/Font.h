#pragma once

#include <string>

namespace merv {

// How an element writes its text; views render it as they can.
struct Font {
    std::string name = "Arial";
    double points = 8.25;
    int weight = 400; // normal
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int charset = 0;

    friend bool operator==(const Font&, const Font&) = default;
};

} // namespace merv
