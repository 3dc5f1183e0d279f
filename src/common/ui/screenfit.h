#pragma once

#include <QSize>

class QWidget;

namespace normativ {

/// Sets the size a window is designed at (in place of setFixedSize). Where the screen's
/// available area has room for the window and its frame, the window takes exactly that
/// size, as designed. Where it has not - a small screen, a large scaling - the window
/// opens at the available size with its controls on a page of the designed size that
/// scrolls, so that no control is out of reach. Checked each time the window is shown.
void setDesignedSize(QWidget* window, QSize size);

/// The frame a window manager puts around a window, as far as it is known (assumed
/// before the window was first shown).
QSize frameAllowance(const QWidget* window);

}  // namespace normativ
