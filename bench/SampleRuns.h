#pragma once
// Runs made up for the history benchmarks.
#include <chrono>
#include <string>

#include "history/RunRecord.h"
#include "support/CraftedData.h"

namespace quorvel::bench {

using history::ItemClass;

// A run like a learner's: `items` entries drawn from `distinct` items, one
// in twenty wrong.
inline history::RunRecord sampleRun(ItemClass cls, int items, int distinct, int seed) {
  history::RunRecord run;
  run.kind = cls == ItemClass::Root ? 1 : 3;
  run.ended = std::chrono::system_clock::now();
  run.started = run.ended - std::chrono::minutes(5);
  unsigned x = static_cast<unsigned>(seed) * 2654435761u + 1;
  for (int i = 0; i < items; ++i) {
    x = x * 1103515245u + 12345u;
    const int item = static_cast<int>((x >> 8) % static_cast<unsigned>(distinct));
    const bool right = (x >> 4) % 20 != 0;
    history::RunEntry e;
    e.cls = cls;
    if (cls == ItemClass::Root) {
      e.expected = std::to_string(item);
      e.typed.assign(1, right ? 'A' : 'B');
    } else {
      e.expected = quorvel::testing::hz(item);
      e.typed = quorvel::testing::hz(right ? item : item + 1);
    }
    e.right = right;
    run.entries.push_back(std::move(e));
    ++run.items;
    if (right) ++run.right;
  }
  run.speed = run.items / 5;
  run.accuracy = run.right * 100 / run.items;
  run.finished = true;
  return run;
}

}  // namespace quorvel::bench
