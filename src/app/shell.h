#pragma once

namespace vortel {

// The whole program: reads the command line, then either runs one of the
// offline commands or opens the window and plays the show. Returns the
// process exit code.
int runShell(int argc, char** argv);

}  // namespace vortel
