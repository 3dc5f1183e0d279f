#pragma once

#include <array>
#include <optional>

namespace normativ {

/// The weights of one weighting pass: one weight per item of the age classes, the
/// length-of-stay modes (a set may have none) and the orientations, in item order.
/// Every weight is a single-precision value; the pass widens it to double.
struct WeightSet {
    std::array<float, 3> age;
    std::optional<std::array<float, 9>> stay;
    std::array<float, 6> orientation;
};

/// Education load.
inline constexpr WeightSet kWeightSetE1{
    {1.7009844f, 1.3351507f, 1.0f},
    std::array<float, 9>{0.24256563f, 0.32342082f, 0.40427604f, 0.48513126f, 0.64684165f,
                         0.83828956f, 1.0f, 1.1617104f, 1.1617104f},
    {1.0f, 1.3333334f, 3.5771124f, 4.4713902f, 5.961854f, 7.154225f},
};

/// Education support load.
inline constexpr WeightSet kWeightSetE2{
    {0.5838196f, 0.7439209f, 1.0f},
    std::nullopt,
    {1.0f, 0.92142856f, 0.47786623f, 0.42515013f, 0.37243402f, 0.34607598f},
};

/// Maintenance payroll, part A.
inline constexpr WeightSet kWeightSetM1{
    {2.0f, 1.3333334f, 1.0f},
    std::array<float, 9>{0.24f, 0.32f, 0.4f, 0.48f, 0.64f, 0.84f, 1.0f, 1.16f, 2.04f},
    {1.0f, 1.5201677f, 2.0522263f, 2.8503144f, 3.4203773f, 4.560503f},
};

/// Maintenance payroll, part B.
inline constexpr WeightSet kWeightSetM2{
    {2.0f, 1.3333334f, 1.0f},
    std::nullopt,
    {1.0f, 1.3333334f, 2.0f, 2.5f, 3.3333333f, 4.0f},
};

/// The standard service items of the maintenance normative.
inline constexpr WeightSet kWeightSetM3{
    {1.0f, 1.0f, 1.0f},
    std::array<float, 9>{0.234008f, 0.234008f, 0.234008f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.3217875f},
    {1.0f, 1.490201f, 1.490201f, 1.490201f, 1.490201f, 1.490201f},
};

inline constexpr int kServiceItemCount = 8;

/// Standard per-pupil yearly amount of each service item, roubles (items 1..8 at
/// index 0..7). Item 1 is the service staff.
inline constexpr std::array<float, kServiceItemCount> kServiceItemBase{
    10888.009f, 7397.7026f, 251.46869f, 16191.369f, 22.206137f, 2400.715f, 936.28345f, 3564.1536f,
};

/// The coefficient for the number of groups: a whole number of groups from 1 to 30 has
/// its own value, more than 30 share one; any other number (0, negative, fractional)
/// has none.
std::optional<float> groupCountCoefficient(double groupCount);

}  // namespace normativ
