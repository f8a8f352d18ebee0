// Reading the practice data from a damaged library whose every entry claims
// 250 MB: the reader must pay for what an entry holds, not for what its
// header says.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/PracticeData.h"
#include "platform/ResourceLibrary.h"
#include "support/FixtureLibrary.h"

namespace {

using namespace quorvel;

// The built library with every entry's unpacked size set to 250 MB; empty
// when there is no built library.
std::filesystem::path lyingLibrary() {
  static std::filesystem::path made;
  if (!made.empty()) return made;
  const std::filesystem::path built = QUORVEL_BUILT_LIBRARY;
  if (!std::filesystem::exists(built)) return {};
  const auto file = std::filesystem::temp_directory_path() /
                    ("quorvel-bench-lying-" + std::to_string(::getpid()) + ".dll");
  std::filesystem::copy_file(built, file, std::filesystem::copy_options::overwrite_existing);
  std::vector<std::string> names;
  int error = 0;
  if (zip_t* zip = zip_open(file.c_str(), ZIP_RDONLY, &error)) {
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
      if (const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), 0))
        names.emplace_back(name);
    zip_discard(zip);
  }
  for (const auto& name : names) testsupport::claimSize(file, name, 250u * 1024 * 1024);
  made = file;
  return made;
}

void BM_LoadPracticeDataFromALyingLibrary(benchmark::State& state) {
  const auto file = lyingLibrary();
  if (file.empty()) {
    state.SkipWithError("built resource library not found");
    return;
  }
  const platform::ResourceLibrary library(file);
  for (auto _ : state) benchmark::DoNotOptimize(loadPracticeData(library));
  state.SetLabel("every entry claims 250 MB");
}
BENCHMARK(BM_LoadPracticeDataFromALyingLibrary)->Unit(benchmark::kMillisecond);

}  // namespace
