#include "weightingpass.h"

#include <cmath>

namespace normativ {

namespace {

double cellValue(const Store& store, int record, Kind kind, int item) {
    return store.distribution.cell(record, kind, item).toDouble();
}

/// Each term is taken to currency before it is added, so a weight counts as rounded to
/// four decimals (1.3333334 as 1.3333).
std::optional<double> orientationSum(const Store& store, int record, const WeightSet& set) {
    Currency sum;
    for (int i = 1; i <= 6; ++i) {
        const double term = cellValue(store, record, Kind::Orientation, i) *
                            static_cast<double>(set.orientation[i - 1]);
        const auto termCurrency = Currency::fromDouble(term);
        if (!termCurrency) return std::nullopt;
        const auto next = sum.plus(*termCurrency);
        if (!next) return std::nullopt;
        sum = *next;
    }
    return sum.toDouble();
}

double staySum(const Store& store, int record, const std::array<float, 9>& weights) {
    auto term = [&](int i) {
        return cellValue(store, record, Kind::StayMode, i) * static_cast<double>(weights[i - 1]);
    };
    double sum = term(2) + term(1);
    for (int i = 3; i <= 9; ++i) sum += term(i);
    return sum;
}

double ageSum(const Store& store, int record, const WeightSet& set) {
    auto term = [&](int i) {
        return cellValue(store, record, Kind::AgeClass, i) * static_cast<double>(set.age[i - 1]);
    };
    return (term(1) + term(2)) + term(3);
}

}  // namespace

std::optional<double> weightingPass(const Store& store, const WeightSet& set,
                                    GroupWeights& weights) {
    const double pupilCount = store.record[Answer::PupilCount].toDouble(store.locale);
    double loadFactor = 0.0;
    for (int r = 1; r <= store.distribution.usedRecords(); ++r) {
        const auto orientation = orientationSum(store, r, set);
        if (!orientation) return std::nullopt;
        double product = ageSum(store, r, set);
        if (set.stay) product *= staySum(store, r, *set.stay);
        product *= *orientation;
        const auto groupWeight = Currency::fromDouble(product);
        if (!groupWeight) return std::nullopt;
        weights[static_cast<std::size_t>(r - 1)] = *groupWeight;
        const auto weighted = store.distribution.pupils(r).times(*groupWeight);
        if (!weighted) return std::nullopt;
        loadFactor += weighted->toDouble() / pupilCount;
    }
    if (!std::isfinite(loadFactor)) return std::nullopt;
    return loadFactor;
}

std::optional<double> runWeightingPass(Store& store, const WeightSet& set) {
    GroupWeights weights = store.coefficients.groupWeightTable;
    const auto loadFactor = weightingPass(store, set, weights);
    if (loadFactor) store.coefficients.groupWeightTable = weights;
    return loadFactor;
}

}  // namespace normativ
