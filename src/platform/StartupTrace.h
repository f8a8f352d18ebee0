#pragma once
// Marks along the way to the main window, for finding where start-up time
// goes. Silent unless QUORVEL_TRACE_STARTUP is set in the environment; then
// each mark writes one line to stderr:
//   quorvel-trace <wall clock ns> <process CPU ns> <step>
// bench/startup.sh (PROFILE=1) subtracts its own launch time from the wall
// clock, so the first steps count the program's loading too.

namespace quorvel::platform {

void traceStartup(const char* step);

// True when QUORVEL_TRACE_STARTUP=quit: the program ends once its main
// window has painted, so a profiler sees start-up alone.
bool startupTraceQuits();

}  // namespace quorvel::platform
