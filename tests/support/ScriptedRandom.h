#pragma once
// A random source that returns the numbers a test gives it, then counts on
// from a running counter; each result is taken modulo the range asked for.
#include <cstddef>
#include <vector>

#include "platform/Clock.h"

namespace quorvel::testing {

class ScriptedRandom : public platform::RandomSource {
 public:
  void seedFromClock() override { ++seeds; }
  int uniform(int n) override {
    const int value = next < script.size() ? script[next++] : counter++;
    return ((value % n) + n) % n;
  }
  void reset(std::vector<int> values) {
    script = std::move(values);
    next = 0;
    counter = 0;
  }
  std::vector<int> script;
  std::size_t next = 0;
  int counter = 0;
  int seeds = 0;
};

}  // namespace quorvel::testing
