// How long the end of a run takes to reach the history: one transaction with
// the run, its misses and the counts of every item that came.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "SampleRuns.h"
#include "history/HistoryStore.h"
#include "platform/Clock.h"

namespace {

using namespace quorvel;
using history::ItemClass;

// Arguments: the item class (0 roots, 1 characters) and the entries of a run.
void BM_RecordRun(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("quorvel-bench-history-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  {
    history::HistoryStore store(dir / "history.sqlite3");
    const auto cls = static_cast<ItemClass>(state.range(0));
    const int items = static_cast<int>(state.range(1));
    const int distinct = cls == ItemClass::Root ? 176 : 659;
    if (!store.open()) {
      state.SkipWithError("the history file could not be opened");
      return;
    }
    int seed = 0;
    for (auto _ : state) {
      state.PauseTiming();
      const history::RunRecord run = bench::sampleRun(cls, items, distinct, ++seed);
      state.ResumeTiming();
      store.record(run);
    }
    state.SetLabel(std::to_string(store.runs().size()) + " runs in the file at the end");
  }
  std::filesystem::remove_all(dir);
}
// A root drill (249 keys) and a level-2 run (512 characters).
BENCHMARK(BM_RecordRun)->Args({0, 249})->Args({1, 512})->Unit(benchmark::kMicrosecond);

}  // namespace
