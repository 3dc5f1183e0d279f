#include "methodologynumbers.h"

#include <charconv>

namespace normativ::methodologynumbers {

std::string shortestText(float value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string shortestText(double value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

double cellNumberOf(float value) {
    const std::string text = shortestText(value);
    double number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    // Decimal to double to float may round twice and land on a neighbour.
    if (ec != std::errc() || static_cast<float>(number) != value) return double(value);
    return number;
}

}  // namespace normativ::methodologynumbers
