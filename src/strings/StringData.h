#pragma once

#include <string_view>

namespace merv {

// The string table as built in from src/strings/strings.tsv: the raw UTF-8 text of the file,
// parsed by StringTable.
extern const std::string_view StringTableData;

} // namespace merv
