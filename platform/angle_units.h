// Angle units. Drawings store most angles in degrees and geometry works in radians; every layer
// converts with these, so a rounding choice is made once.
#pragma once

#include <numbers>

namespace platform {

inline constexpr double kTwoPi = 2.0 * std::numbers::pi;
inline constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

constexpr double degreesToRadians(double degrees) noexcept {
    return degrees * std::numbers::pi / 180.0;
}

constexpr double radiansToDegrees(double radians) noexcept {
    return radians * 180.0 / std::numbers::pi;
}

} // namespace platform
