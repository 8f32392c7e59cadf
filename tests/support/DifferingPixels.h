#pragma once

#include <QImage>

#include <algorithm>

namespace merv::test {

// The pixels in which two images differ (all of them where the sizes differ).
inline int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return std::max(a.width() * a.height(), b.width() * b.height());
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

} // namespace merv::test
