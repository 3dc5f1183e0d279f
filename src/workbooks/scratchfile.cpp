#include "scratchfile.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace normativ {

std::FILE* openScratchFile(const QString& folder) {
    const QByteArray dir = QFile::encodeName(folder);
    int fd = ::open(dir.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    // Some file systems have no unnamed files: a named one, removed at once.
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        const QByteArray name =
            dir + QFile::encodeName(QStringLiteral("/.~scratch.%1.tmp")
                                        .arg(QRandomGenerator::global()->generate() & 0xFFFFFFu, 6,
                                             16, QChar(u'0')));
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::unlink(name.constData());
        } else if (errno != EEXIST) {
            return nullptr;
        }
    }
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "w+b");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

}  // namespace normativ
