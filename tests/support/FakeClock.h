#pragma once
// A clock that stands still until a test moves it.
#include <chrono>

#include "platform/Clock.h"

namespace quorvel::testing {

class FakeClock : public platform::Clock {
 public:
  platform::TimePoint now() const override { return time; }
  void advance(std::chrono::seconds s) { time += s; }
  // Local-time independent: a fixed day counted from the epoch plus a time of day.
  void set(int day, int hour, int minute, int second) {
    using namespace std::chrono;
    time = platform::TimePoint{} + days{day} + hours{hour} + minutes{minute} + seconds{second};
  }
  platform::TimePoint time =
      platform::TimePoint{} + std::chrono::days{20000} + std::chrono::hours{9};
};

// Caps Lock and Num Lock as a test sets them.
class FakeLocks : public platform::LockKeys {
 public:
  bool capsLock() const override { return caps; }
  bool numLock() const override { return num; }
  bool caps = false;
  bool num = true;
};

}  // namespace quorvel::testing
