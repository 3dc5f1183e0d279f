#include "weightsets.h"

#include <cmath>

namespace normativ {

namespace {

// Index g-1 holds the coefficient of g groups.
constexpr std::array<float, 30> kGroupCountCoefficients{
    3.0f,        1.5f,        1.0f,        1.0012316f,  1.0581281f,  0.9408867f,
    0.80647433f, 0.7869458f,  0.6995074f,  0.68719214f, 0.6247201f,  0.5825123f,
    0.5377037f,  0.49929628f, 0.46600986f, 0.48860836f, 0.4598667f,  0.43431854f,
    0.41145968f, 0.45591134f, 0.43420127f, 0.44066277f, 0.42150354f, 0.4039409f,
    0.38778326f, 0.3728685f,  0.35905856f, 0.39690357f, 0.38321725f, 0.37044334f,
};
constexpr float kManyGroupsCoefficient = 0.35849357f;

}  // namespace

std::optional<float> groupCountCoefficient(double groupCount) {
    if (!std::isfinite(groupCount) || groupCount != std::floor(groupCount)) return std::nullopt;
    if (groupCount > 30) return kManyGroupsCoefficient;
    if (groupCount < 1) return std::nullopt;
    return kGroupCountCoefficients[static_cast<std::size_t>(groupCount) - 1];
}

}  // namespace normativ
