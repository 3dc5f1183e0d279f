#include "closeguard.h"

#include <QCoreApplication>

namespace normativ {

namespace {
int requests = 0;
}

void endProgram() {
    ++requests;
    // main() returns from its event loop and destroys every window with the run.
    QCoreApplication::exit(0);
}

int endProgramRequests() {
    return requests;
}

void resetEndProgramRequests() {
    requests = 0;
}

}  // namespace normativ
