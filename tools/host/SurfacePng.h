#pragma once

#include <string>

namespace merv {
class Surface;
} // namespace merv

namespace merv::host {

// Writes the surface as an 8-bit RGB PNG. Throws std::runtime_error naming the path when the
// file cannot be written; no partial file is left behind.
void writeSurfacePng(const Surface& surface, const std::string& path);

} // namespace merv::host
