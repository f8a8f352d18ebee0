// One key press through the real main window: the key event, the frame's
// logic and the repaint of what changed, until the paint is finished. The
// logic alone is timed in bench_practice.cpp; this adds the drawing. And the
// progress window opened on a history of ten thousand runs and on one of a
// hundred thousand.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDebug>
#include <QEvent>
#include <QLabel>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "SampleRuns.h"
#include "app/StartUp.h"
#include "data/PracticeData.h"
#include "history/HistoryStore.h"
#include "history/windows/TForm_Progress.h"
#include "path/windows/TForm_Path.h"
#include "practice/PracticeFrame.h"
#include "practice/windows/TFrame_Veduzir.h"
#include "support/IsolatedDirs.h"

namespace {

using namespace quorvel;

class SilentMusic : public ui::MusicOutput {
 public:
  bool playLooped(const std::filesystem::path&) override { return false; }
  void close() override {}
};

// Counts paint events anywhere in the program.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool trace = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      if (trace) qInfo() << "paint" << watched->objectName();
    }
    return QObject::eventFilter(watched, event);
  }
};

// Presses a key on the main window and processes events until a paint has
// run; painting is synchronous, so it is finished when processing returns.
bool pressAndPaint(QWidget& window, Qt::Key key, PaintCounter& counter) {
  const int before = counter.paints;
  QTest::keyClick(&window, key);
  for (int tries = 0; counter.paints == before && tries < 1000; ++tries)
    QApplication::processEvents();
  return counter.paints != before;
}

void BM_KeyToRepaintedFrame(benchmark::State& state) {
  const std::filesystem::path lib = QUORVEL_BUILT_LIBRARY;
  if (!std::filesystem::exists(lib)) {
    state.SkipWithError("built resource library not found");
    return;
  }
  SilentMusic music;
  AppEnvironment environment;
  environment.programDir = lib.parent_path();
  environment.library = platform::ResourceLibrary(lib);
  environment.screenWidth = 1280;
  environment.music = &music;
  Tutor tutor(std::move(environment));
  TForm_Main& window = tutor.main();
  window.show();
  QApplication::processEvents();
  window.frame()->logic().selectKind(pkAllchar);
  QApplication::processEvents();
  if (!window.frame()->logic().practising()) {
    state.SkipWithError("the all-characters drill did not start");
    return;
  }
  PaintCounter counter;
  qApp->installEventFilter(&counter);
  // The letter must reach the frame: the code line shows it.
  auto* code = window.findChild<QLabel*>(QStringLiteral("RzLabel_keyplace"));
  pressAndPaint(window, Qt::Key_D, counter);
  const bool shown = code && code->text().toLower() == QStringLiteral("d");
  pressAndPaint(window, Qt::Key_Backspace, counter);
  if (!shown || !code->text().isEmpty()) {
    state.SkipWithError("the code letter did not reach the frame");
    qApp->removeEventFilter(&counter);
    return;
  }
  if (std::getenv("QUORVEL_BENCH_TRACE")) {
    counter.trace = true;
    pressAndPaint(window, Qt::Key_D, counter);
    pressAndPaint(window, Qt::Key_Backspace, counter);
    counter.trace = false;
  }
  // A code letter shows its candidates; Backspace clears them again.
  for (auto _ : state) {
    if (!pressAndPaint(window, Qt::Key_D, counter) ||
        !pressAndPaint(window, Qt::Key_Backspace, counter)) {
      state.SkipWithError("a key press caused no repaint");
      break;
    }
  }
  qApp->removeEventFilter(&counter);
  state.SetItemsProcessed(state.iterations() * 2);
  state.SetLabel("two keys per iteration");
}
BENCHMARK(BM_KeyToRepaintedFrame)->Unit(benchmark::kMillisecond);

// Ten thousand runs of six kinds, some days apart, in the isolated data folder.
history::HistoryStore& filledHistory() {
  static history::HistoryStore store(history::HistoryStore::defaultFile());
  static bool filled = false;
  if (!filled) {
    filled = true;
    store.clear();
    const int kinds[] = {1, 2, 3, 5, 12, 16};
    for (int i = 0; i < 10000; ++i) {
      const int kind = kinds[i % 6];
      const auto cls = kind == 1 ? history::ItemClass::Root : history::ItemClass::Character;
      history::RunRecord run = bench::sampleRun(cls, 120, kind == 1 ? 176 : 3000, i);
      run.kind = kind;
      if (i % 3 == 0) run.label = "path:chars-1";  // a learner who follows the path too
      run.ended -= std::chrono::minutes(10000 - i);
      run.started -= std::chrono::minutes(10000 - i);
      store.record(run);
    }
  }
  return store;
}

// The built library's tables, or none when it was not built.
PracticeData builtData() {
  const std::filesystem::path lib = QUORVEL_BUILT_LIBRARY;
  return std::filesystem::exists(lib) ? loadPracticeData(platform::ResourceLibrary(lib))
                                      : PracticeData{};
}

// Times open(): a window made, filled from the history and shown, until its
// first paint is done.
template <typename Open>
void timeOpening(benchmark::State& state, history::HistoryStore& store, int runs, const char* label,
                 Open open) {
  if (store.totals().runs != runs) {
    state.SkipWithError("the history does not hold the runs it was made with");
    return;
  }
  PaintCounter counter;
  qApp->installEventFilter(&counter);
  for (auto _ : state) {
    const int before = counter.paints;
    QWidget* window = open();
    for (int tries = 0; counter.paints == before && tries < 1000; ++tries)
      QApplication::processEvents();
    state.PauseTiming();
    delete window;
    QApplication::processEvents();
    state.ResumeTiming();
  }
  qApp->removeEventFilter(&counter);
  state.SetLabel(label);
}

void BM_OpenProgressWindow(benchmark::State& state) {
  const PracticeData data = builtData();
  history::HistoryStore& store = filledHistory();
  timeOpening(state, store, 10000, "10,000 runs", [&] {
    auto* window = new TForm_Progress(store, data);
    window->showProgress();
    return window;
  });
}
BENCHMARK(BM_OpenProgressWindow)->Unit(benchmark::kMillisecond);

// A hundred thousand runs (years of daily practice: six kinds, a run every
// quarter of an hour, six misses a run), written straight into a file of the
// store's own layout in one transaction: recording them one by one would take
// longer than the benchmark.
history::HistoryStore& hugeHistory() {
  static const std::filesystem::path file =
      history::HistoryStore::defaultFile().parent_path() / "history-100k.sqlite3";
  static history::HistoryStore store(file);
  static bool filled = false;
  if (!filled) {
    filled = true;
    if (!store.open()) return store;
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) == SQLITE_OK) {
      const std::int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count();
      const std::string first = std::to_string(now - 100000LL * 900);
      const std::string sql =
          "BEGIN;"
          "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 99999)"
          " INSERT INTO runs(kind, started, ended, items, right, speed, accuracy, finished, label)"
          " SELECT CASE i % 6 WHEN 0 THEN 1 WHEN 1 THEN 2 WHEN 2 THEN 3 WHEN 3 THEN 5"
          " WHEN 4 THEN 12 ELSE 16 END, " +
          first + " + i * 900 - 300, " + first +
          " + i * 900, 120, 114, 20 + i % 23 + i / 5000, 90 + i % 9, 1,"
          " CASE WHEN i % 3 = 0 THEN 'path:chars-1' ELSE '' END FROM n;"
          "WITH RECURSIVE k(j) AS (SELECT 0 UNION ALL SELECT j + 1 FROM k WHERE j < 5)"
          " INSERT INTO mistakes(run, class, expected, typed)"
          " SELECT id, CASE kind WHEN 1 THEN 0 ELSE 1 END,"
          " CASE kind WHEN 1 THEN CAST((id * 7 + j * 13) % 176 AS TEXT)"
          " ELSE char(19968 + (id * 7 + j * 13) % 3000) END,"
          " CASE kind WHEN 1 THEN char(65 + (id + j) % 26)"
          " ELSE char(19969 + (id * 7 + j * 13) % 3000) END FROM runs, k;"
          "INSERT INTO items(class, item, tries, misses, last_seen, last_missed)"
          " SELECT m.class, m.expected, COUNT(*) * 20, COUNT(*), MAX(r.ended), MAX(r.ended)"
          " FROM mistakes m JOIN runs r ON r.id = m.run GROUP BY m.class, m.expected;"
          "COMMIT;";
      char* error = nullptr;
      if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        qWarning() << "the 100,000-run history could not be made:" << error;
      sqlite3_free(error);
    }
    sqlite3_close(db);
  }
  return store;
}

void BM_OpenProgressWindowOn100kRuns(benchmark::State& state) {
  const PracticeData data = builtData();
  history::HistoryStore& store = hugeHistory();
  timeOpening(state, store, 100000, "100,000 runs, 600,000 misses", [&] {
    auto* window = new TForm_Progress(store, data);
    window->showProgress();
    return window;
  });
}
BENCHMARK(BM_OpenProgressWindowOn100kRuns)->Unit(benchmark::kMillisecond);

void BM_OpenPathWindow(benchmark::State& state) {
  const PracticeData data = builtData();
  history::HistoryStore& store = filledHistory();
  const platform::Clock clock;
  // Its stages are cut from the tables as it is made.
  timeOpening(state, store, 10000, "10,000 runs", [&] {
    auto* window = new TForm_Path(store, data, {}, nullptr, clock);
    window->showPath();
    return window;
  });
}
BENCHMARK(BM_OpenPathWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const quorvel::testsupport::IsolatedDirs dirs;
  QApplication app(argc, argv);
  prepareApplication(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
