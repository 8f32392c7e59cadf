#include <mervgauge/dial/DialGeometry.h>

#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/RuntimeError.h>

#include <cmath>

namespace merv::dial {

double checked(double result) {
    if (!std::isfinite(result))
        throw RuntimeError(ErrorNumber::Overflow);
    return result;
}

double checkedDivide(double numerator, double denominator) {
    if (denominator == 0.0)
        throw RuntimeError(numerator == 0.0 ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero);
    return checked(numerator / denominator);
}

double toRadians(double degrees) noexcept {
    return degrees * Pi / 180.0;
}

float arcRadians(float degrees) noexcept {
    return static_cast<float>(toRadians(degrees));
}

Point pointAt(float degrees, double radius) noexcept {
    return {static_cast<float>(CentreX + radius * std::cos(toRadians(degrees))),
            static_cast<float>(CentreY - radius * std::sin(toRadians(degrees)))};
}

float valueToAngle(double value, double minimum, double maximum) {
    const float offset = convert::toSingle(checked(value - minimum));
    const float scaled = convert::toSingle(checked(double(offset) * ScaleSweep));
    const float span = convert::toSingle(checked(maximum - minimum));
    return convert::toSingle(checked(ScaleSweep - checkedDivide(scaled, span)));
}

BandEnds computeBandEnds(float p, float q) noexcept {
    return {pointAt(p, BandOuterRadius), pointAt(p, BandInnerRadius), pointAt(q, BandOuterRadius),
            pointAt(q, BandInnerRadius)};
}

Point computeBandSeed(float p, float q) noexcept {
    const double mean = toRadians((double(p) + double(q)) / 2.0);
    return {static_cast<float>(CentreX + SeedRadiusX * std::cos(mean)),
            static_cast<float>(CentreY - SeedRadiusY * std::sin(mean))};
}

std::int32_t roundHalfEven(double value) {
    return convert::toLong(value);
}

} // namespace merv::dial
