// Loading the largest text the practice takes: reading a file of a UTF-8
// text longer than the practice's limit, converting it to GBK cells, and
// starting comparison practice on it (the first page fill included).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "kinds/KindFactory.h"
#include "practice/PracticeFrame.h"
#include "support/CraftedData.h"
#include "support/FakeClock.h"
#include "support/RecordingHost.h"
#include "textpractice/TextCells.h"
#include "textpractice/TextFile.h"

namespace {

using namespace quorvel;

// A UTF-8 file of Chinese lines well beyond the 75,251 GBK bytes the practice uses.
const std::string& largestText() {
  static const std::string path = [] {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "quorvel-bench-largest.txt";
    std::ofstream out(file, std::ios::binary);
    const std::string line = "天地玄黄，宇宙洪荒。日月盈昃，辰宿列张。寒来暑往，秋收冬藏。\n";
    for (int i = 0; i < 4000; ++i) out << line;
    return file.string();
  }();
  return path;
}

void BM_ReadLargestText(benchmark::State& state) {
  for (auto _ : state) {
    textfile::LoadedText text = textfile::readPracticeText(largestText());
    benchmark::DoNotOptimize(text.gbk.data());
  }
}
BENCHMARK(BM_ReadLargestText)->Unit(benchmark::kMillisecond);

void BM_ConvertLargestText(benchmark::State& state) {
  const std::string gbk = textfile::readPracticeText(largestText()).gbk;
  for (auto _ : state) {
    PracticeCells cells = convertToCells(gbk);
    benchmark::DoNotOptimize(cells.model.data());
  }
  state.counters["cell bytes"] = static_cast<double>(convertToCells(gbk).model.size());
}
BENCHMARK(BM_ConvertLargestText)->Unit(benchmark::kMillisecond);

// The whole step a learner waits for after choosing the file.
void BM_StartCompareOnLargestText(benchmark::State& state) {
  testing::RecordingHost host;
  testing::FakeClock clock;
  platform::RandomSource random;
  testing::FakeLocks locks;
  PracticeFrame frame{FrameServices{&host, &clock, &random, &locks}, makePracticeKind};
  frame.setUp(testing::craftedData());
  host.nextPracticeFile = largestText();
  for (auto _ : state) {
    frame.selectKind(pkCompare);
    benchmark::DoNotOptimize(frame.view().revision);
  }
  if (!frame.practising()) state.SkipWithError("comparison practice did not start");
}
BENCHMARK(BM_StartCompareOnLargestText)->Unit(benchmark::kMillisecond);

}  // namespace
