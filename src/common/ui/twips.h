#pragma once

#include <QPoint>
#include <QSize>

namespace normativ {

/// Window geometry is designed in twips: 15 twips per device-independent pixel. Qt
/// scales device-independent pixels for high-DPI screens itself.
constexpr int twips(int t) {
    return (t + 7) / 15;
}
constexpr QPoint twipsPoint(int left, int top) {
    return {twips(left), twips(top)};
}
constexpr QSize twipsSize(int width, int height) {
    return {twips(width), twips(height)};
}

}  // namespace normativ
