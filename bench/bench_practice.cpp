// How long the practice logic takes for what a learner does most: a code
// letter, a committed candidate, a page turn, and the frame's set-up.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "kinds/KindFactory.h"
#include "practice/PracticeFrame.h"
#include "support/CraftedData.h"
#include "support/FakeClock.h"
#include "support/RecordingHost.h"

namespace {

using namespace quorvel;
using quorvel::testing::FakeClock;
using quorvel::testing::FakeLocks;
using quorvel::testing::RecordingHost;

struct Bench {
  RecordingHost host;
  FakeClock clock;
  platform::RandomSource random;
  FakeLocks locks;
  PracticeFrame frame{FrameServices{&host, &clock, &random, &locks}, makePracticeKind};

  Bench() {
    // The built library when there is one: its dictionary has the real segment sizes.
    const std::filesystem::path lib = QUORVEL_BUILT_LIBRARY;
    if (std::filesystem::exists(lib)) frame.setUp(platform::ResourceLibrary(lib));
    if (!frame.canStartKind(pkAllchar)) {
      frame.setUp(quorvel::testing::craftedData());
      source = "crafted data";
    }
    frame.selectKind(pkAllchar);
  }
  const char* source = "built library";
  void press(std::uint16_t key) { frame.keyDown(vk::KeyPress{key, 0}); }
};

std::uint16_t letter(char c) { return static_cast<std::uint16_t>(vk::KeyA + (c - 'a')); }

// A code letter: the candidates of its segment found and shown (Backspace clears it again).
void BM_CodeLetterToCandidates(benchmark::State& state) {
  Bench b;
  state.SetLabel(b.source);
  const char first = static_cast<char>(state.range(0));
  for (auto _ : state) {
    b.press(letter(first));
    benchmark::DoNotOptimize(b.frame.view().wordplace.data());
    b.press(vk::Back);
  }
}
BENCHMARK(BM_CodeLetterToCandidates)->Arg('a')->Arg('s')->Arg('z');

// A committed candidate: a code letter, Space, the entry stored, marked and scored.
void BM_CommitToScoredEntry(benchmark::State& state) {
  Bench b;
  state.SetLabel(b.source);
  for (auto _ : state) {
    b.press(letter('d'));
    b.press(vk::Space);
    if (!b.frame.practising()) {
      state.PauseTiming();
      b.frame.selectKind(pkAllchar);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_CommitToScoredEntry);

// One page of 125 items shown (paging forward and back: two pages per iteration).
void BM_PageTurn(benchmark::State& state) {
  Bench b;
  state.SetLabel(b.source);
  for (auto _ : state) {
    b.press(vk::Next);
    b.press(vk::Prior);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_PageTurn);

// Frame set-up over the built resource library: dictionary, root pictures, 14 tables.
void BM_FrameSetUpWithBuiltLibrary(benchmark::State& state) {
  const std::filesystem::path lib = QUORVEL_BUILT_LIBRARY;
  if (!std::filesystem::exists(lib)) {
    state.SkipWithError("built resource library not found");
    return;
  }
  RecordingHost host;
  {
    // A set-up that found nothing would time a failure, not a set-up.
    PracticeFrame frame(FrameServices{&host, nullptr, nullptr, nullptr}, makePracticeKind);
    frame.setUp(platform::ResourceLibrary(lib));
    if (!frame.data().basePresent || !frame.canStartKind(pkAllchar)) {
      state.SkipWithError("the built library did not set the frame up");
      return;
    }
  }
  for (auto _ : state) {
    PracticeFrame frame(FrameServices{&host, nullptr, nullptr, nullptr}, makePracticeKind);
    frame.setUp(platform::ResourceLibrary(lib));
    benchmark::DoNotOptimize(frame.data().basePresent);
  }
}
BENCHMARK(BM_FrameSetUpWithBuiltLibrary)->Unit(benchmark::kMillisecond);

}  // namespace
