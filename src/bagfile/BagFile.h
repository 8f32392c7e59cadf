#pragma once

#include <mervgauge/platform/PropertyBag.h>

#include <filesystem>

// Property bags kept in files, in their JSON form (see BagJson.h).
namespace merv {

// Reads a bag file. Every fault throws BagError naming the file, the key where one is at
// fault, and what was wrong: missing or unreadable, empty or truncated, not JSON, not an
// object, a value of the wrong type.
MemoryPropertyBag loadBag(const std::filesystem::path& path,
                          NumberLocale locale = NumberLocale::english());

// Writes the bag atomically (the old file stays whole when the save fails), as one indented
// object with a final newline. A failed save throws BagError naming the file.
void saveBag(const std::filesystem::path& path, const MemoryPropertyBag& bag);

} // namespace merv
