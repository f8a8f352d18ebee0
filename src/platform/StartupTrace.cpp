#include "platform/StartupTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace quorvel::platform {

namespace {
long long nanoseconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}
}  // namespace

void traceStartup(const char* step) {
  static const bool enabled = [] {
    const char* value = std::getenv("QUORVEL_TRACE_STARTUP");
    return value != nullptr && *value != '\0';
  }();
  if (!enabled) return;
  std::fprintf(stderr, "quorvel-trace %lld %lld %s\n", nanoseconds(CLOCK_REALTIME),
               nanoseconds(CLOCK_PROCESS_CPUTIME_ID), step);
  std::fflush(stderr);
}

bool startupTraceQuits() {
  const char* value = std::getenv("QUORVEL_TRACE_STARTUP");
  return value != nullptr && std::strcmp(value, "quit") == 0;
}

}  // namespace quorvel::platform
