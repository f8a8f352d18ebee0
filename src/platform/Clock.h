#pragma once
// Injectable time and randomness, so tests can drive a drill with a fake clock
// and a fixed draw.
#include <chrono>
#include <cstdint>
#include <random>

namespace quorvel::platform {

using TimePoint = std::chrono::system_clock::time_point;

class Clock {
 public:
  virtual ~Clock() = default;
  virtual TimePoint now() const { return std::chrono::system_clock::now(); }
};

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Seeds from the clock; called at the start of every run.
  virtual void seedFromClock() {
    engine_.seed(
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                   std::chrono::system_clock::now().time_since_epoch().count()));
  }
  // Uniform in 0 .. n-1 (n >= 1).
  virtual int uniform(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }

 private:
  std::mt19937 engine_{5489u};
};

// Caps Lock and Num Lock as the keyboard has them now.
class LockKeys {
 public:
  virtual ~LockKeys() = default;
  virtual bool capsLock() const = 0;
  virtual bool numLock() const = 0;
};

}  // namespace quorvel::platform
