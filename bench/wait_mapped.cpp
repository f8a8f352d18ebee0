// Waits on an X display for the first top-level window at least WIDTH
// pixels wide to be mapped, and prints the wall-clock time of that moment in
// nanoseconds. Started before the program it watches, it prints "ready" once
// it listens, so bench/startup.sh can launch the program then; it does not
// poll, so it adds nothing to the time it measures.
//
//   quorvel_wait_mapped WIDTH TIMEOUT_MS
#include <X11/Xlib.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
long long now() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s WIDTH TIMEOUT_MS\n", argv[0]);
    return 2;
  }
  const int minWidth = std::atoi(argv[1]);
  const long long deadline = now() + std::atoll(argv[2]) * 1000000LL;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "cannot open the display\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  std::printf("ready\n");
  std::fflush(stdout);
  pollfd fd{ConnectionNumber(display), POLLIN, 0};
  while (true) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != MapNotify || event.xmap.event != root) continue;
      const long long mapped = now();
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display, event.xmap.window, &attributes) &&
          attributes.width >= minWidth) {
        std::printf("%lld\n", mapped);
        return 0;
      }
    }
    const long long left = (deadline - now()) / 1000000LL;
    if (left <= 0) return 1;
    poll(&fd, 1, static_cast<int>(left));
  }
}
