#pragma once
// The main program's shell: runs the start-up sequence with this program's real
// windows and libraries, the event loop, and the shut-down when the library window closes.

namespace mvx {

// Whole life of the main program; returns the process exit code.
int RunMainProgram(int argc, char *argv[]);

} // namespace mvx
