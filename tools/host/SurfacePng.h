#pragma once

#include <string>

namespace merv {
class ContainerSite;
class Surface;
} // namespace merv

namespace merv::host {

// Writes the surface as an 8-bit RGB PNG, its system colours as the site resolves them (the
// desktop's defaults without one). Throws std::runtime_error naming the path when the file
// cannot be written; no partial file is left behind.
void writeSurfacePng(const Surface& surface, const std::string& path,
                     const ContainerSite* site = nullptr);

} // namespace merv::host
