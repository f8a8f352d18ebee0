// The history file lies in the learner's data folder, where anything may end
// up in its place: a damaged copy, another program's database, a newer
// layout. Opened through the store, any bytes must give runs or a clear
// notice, never a crash, and a damaged file must be put aside, not lost.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzInput.h"
#include "history/HistoryStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  using history::ItemClass;
  const std::filesystem::path dir = fuzz::scratchFile("history");
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::filesystem::create_directories(dir, ec);
  const std::filesystem::path file = dir / "history.sqlite3";
  if (!fuzz::writeScratch(file, fuzz::bytes(data, size))) return 0;
  {
    history::HistoryStore store(file);
    store.totals();
    for (const auto& k : store.kindRuns()) store.chart(k.kind, 4);
    store.runs();
    store.labelledRuns();
    for (ItemClass cls : {ItemClass::Root, ItemClass::Character, ItemClass::Word}) {
      store.weakest(cls, 1, 5);
      store.mastered(cls, 1, 5);
      store.items(cls);
    }
    store.confusions(5);
    store.csv({});
    history::RunRecord run;
    run.kind = 2;
    run.entries = {{ItemClass::Character, "\xB0\xA1", "\xB0\xA2", false, 500}};
    run.items = 1;
    store.record(run);
    // Written, or waiting with a reason to tell.
    if (store.waitingRuns() != 0 && store.notice().empty()) std::abort();
  }
  // A file put aside as damaged is kept, not lost.
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("history.sqlite3.damaged-", 0) != 0 || name.find("-wal") != std::string::npos ||
        name.find("-shm") != std::string::npos)
      continue;
    // Damage may be found only after the store wrote to the file (its
    // counts, a run), so the copy holds the file as it was then: never emptied.
    if (std::filesystem::file_size(entry.path(), ec) == 0 || ec) std::abort();
  }
  return 0;
}
