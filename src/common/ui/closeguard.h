#pragma once

namespace normativ {

/// Ends the whole program at once, with nothing saved: what closing the welcome, main or
/// distribution windows by their close box does.
void endProgram();

/// How many times the program was asked to end (tests read it; the event loop has
/// already been told to quit).
int endProgramRequests();
void resetEndProgramRequests();

}  // namespace normativ
