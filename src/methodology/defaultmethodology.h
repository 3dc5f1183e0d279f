#pragma once

#include "methodology.h"

#include <QString>
#include <memory>

namespace normativ {

/// The methodology a program starts with.
struct DefaultMethodology {
    std::shared_ptr<const Methodology> methodology;
    /// The workbook it was read from; empty for the built-in example.
    QString path;
    /// Why the deployed workbook was refused (the example is used then); empty otherwise.
    QString error;
};

/// The first "normativ/methodology.xlsx" in the standard configuration places (the user's
/// own, e.g. ~/.config, then the system-wide ones, e.g. /etc/xdg), so that an administrator
/// can deploy a district's methodology to every computer; the built-in example when there
/// is none. A deployed workbook that is refused is reported, never skipped silently for
/// another one.
DefaultMethodology loadDefaultMethodology();

}  // namespace normativ
