#pragma once

#include <QString>
#include <cstdio>

namespace normativ {

/// A file without a name for scratch data in `folder` (one the caller writes to anyway,
/// so known to be writable, and on the disk rather than in memory), gone when closed;
/// null, with errno set, when none can be made.
std::FILE* openScratchFile(const QString& folder);

}  // namespace normativ
