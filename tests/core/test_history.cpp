// The history store, the weak-item draw, and the runs the frame hands over.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>

#include "drills/RootDrill.h"
#include "history/HistoryStore.h"
#include "history/WeakDraw.h"
#include "support/FrameFixture.h"

namespace quorvel::testing {
namespace {

using history::HistoryStore;
using history::ItemClass;
using history::RunEntry;
using history::RunRecord;

std::filesystem::path freshDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto dir = std::filesystem::temp_directory_path() /
                   ("quorvel-history-" + std::to_string(::getpid()) + "-" + info->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

RunRecord charRun(std::int64_t endSeconds, const std::vector<std::pair<int, int>>& typed) {
  RunRecord run;
  run.kind = pkTwochar;
  run.started = platform::TimePoint{} + std::chrono::seconds(endSeconds - 60);
  run.ended = platform::TimePoint{} + std::chrono::seconds(endSeconds);
  for (auto [expected, entry] : typed) {
    run.entries.push_back(
        RunEntry{ItemClass::Character, hz(expected), hz(entry), expected == entry});
    ++run.items;
    if (expected == entry) ++run.right;
  }
  run.speed = run.items;
  run.accuracy = run.right * 100 / run.items;
  run.finished = true;
  return run;
}

// Runs raw SQL on the file as another program would.
struct Connection {
  explicit Connection(const std::filesystem::path& file) { sqlite3_open(file.c_str(), &db); }
  ~Connection() { sqlite3_close_v2(db); }
  int exec(const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  }
  std::int64_t number(const std::string& sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    const std::int64_t v = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
    sqlite3_finalize(s);
    return v;
  }
  std::string text(const std::string& sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    std::string v;
    if (sqlite3_step(s) == SQLITE_ROW) v = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    return v;
  }
  sqlite3* db = nullptr;
};

class HistoryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { file = freshDir() / "sub" / "history.sqlite3"; }
  void TearDown() override { std::filesystem::remove_all(file.parent_path().parent_path()); }
  HistoryStore::ProblemCallback collect() {
    return [this](const std::string& m) { problems.push_back(m); };
  }
  std::filesystem::path file;
  std::vector<std::string> problems;
};

TEST_F(HistoryStoreTest, RunsAndItemsSurviveReopeningInWalMode) {
  {
    HistoryStore store(file, collect());
    store.record(charRun(1000, {{1, 1}, {2, 3}, {2, 2}, {4, 4}}));  // hz(2) missed once in two
    RunRecord root;
    root.kind = pkRoot;
    root.started = platform::TimePoint{} + std::chrono::seconds(1990);
    root.ended = platform::TimePoint{} + std::chrono::seconds(2000);
    root.items = 2;
    root.right = 1;
    root.entries = {RunEntry{ItemClass::Root, "17", "F", false}, {ItemClass::Root, "3", "A", true}};
    store.record(root);
  }
  HistoryStore store(file, collect());
  EXPECT_EQ(store.schemaVersion(), history::kSchemaVersion);
  EXPECT_EQ(Connection(file).text("PRAGMA journal_mode"), "wal");
  const auto runs = store.runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].kind, pkTwochar);
  EXPECT_EQ(runs[0].items, 4);
  EXPECT_EQ(runs[0].accuracy, 75);
  EXPECT_EQ(runs[1].kind, pkRoot);
  const auto totals = store.totals();
  EXPECT_EQ(totals.runs, 2);
  EXPECT_EQ(totals.seconds, 70);
  EXPECT_EQ(totals.items, 6);

  const auto weakChars = store.weakest(ItemClass::Character, 2, 10);
  ASSERT_EQ(weakChars.size(), 1u);
  EXPECT_EQ(weakChars[0].item, gbk::toUtf8(hz(2)));
  EXPECT_EQ(weakChars[0].tries, 2);
  EXPECT_EQ(weakChars[0].misses, 1);
  EXPECT_EQ(weakChars[0].lastMissed, 1000);
  EXPECT_TRUE(store.weakest(ItemClass::Character, 3, 10).empty()) << "fewer tries than asked";
  EXPECT_EQ(store.mastered(ItemClass::Character, 1, 10).size(), 2u);
  const auto confusions = store.confusions(10);
  ASSERT_EQ(confusions.size(), 2u);
  EXPECT_EQ(confusions[0].expected, "17") << "the later miss first among equals";
  EXPECT_EQ(confusions[0].typed, "F");
  EXPECT_EQ(confusions[1].typed, gbk::toUtf8(hz(3)));

  RunRecord sized;
  sized.kind = pkExam;
  sized.label = std::string(kSizedExamLabel);
  sized.items = sized.right = 1;
  sized.entries = {RunEntry{ItemClass::Character, hz(1), hz(1), true}};
  store.record(sized);
  const std::string csv =
      store.csv([](int kind, const std::string& label) { return runName(kind, label); })
          .value_or("");
  EXPECT_NE(csv.find("二级简码"), std::string::npos);
  EXPECT_NE(csv.find(",定量测验,"), std::string::npos) << "a test by quantity under its own name";
  EXPECT_NE(csv.find(gbk::toUtf8(hz(2)) + "→" + gbk::toUtf8(hz(3))), std::string::npos);
  EXPECT_NE(csv.find("字根18→F"), std::string::npos) << "roots counted from 1, as shown";

  EXPECT_TRUE(store.clear());
  EXPECT_TRUE(store.runs().empty());
  EXPECT_TRUE(store.items(ItemClass::Root).empty());
  EXPECT_TRUE(store.confusions(10).empty()) << "the counts go with the misses";
  EXPECT_TRUE(problems.empty());
}

TEST_F(HistoryStoreTest, AnOlderLayoutIsBroughtUpToDateKeepingItsRuns) {
  std::filesystem::create_directories(file.parent_path());
  {
    // The first layout: runs and misses only.
    Connection old(file);
    ASSERT_EQ(old.exec("CREATE TABLE runs(id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,"
                       " started INTEGER NOT NULL, ended INTEGER NOT NULL, items INTEGER NOT NULL,"
                       " right INTEGER NOT NULL, speed INTEGER NOT NULL,"
                       " accuracy INTEGER NOT NULL, finished INTEGER NOT NULL);"
                       "CREATE TABLE mistakes(run INTEGER NOT NULL REFERENCES runs(id),"
                       " class INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL);"
                       "CREATE INDEX mistakes_by_run ON mistakes(run);"
                       "INSERT INTO runs VALUES(1, 1, 100, 160, 30, 28, 30, 93, 1);"
                       "INSERT INTO mistakes VALUES(1, 0, '42', 'Q'), (1, 0, '42', 'W');"
                       "PRAGMA user_version=1;"),
              SQLITE_OK);
  }
  HistoryStore store(file, collect());
  EXPECT_EQ(store.schemaVersion(), history::kSchemaVersion);
  ASSERT_EQ(store.runs().size(), 1u);
  EXPECT_EQ(store.runs()[0].accuracy, 93);
  const auto weak = store.weakest(ItemClass::Root, 1, 10);
  ASSERT_EQ(weak.size(), 1u) << "the old misses count as tries";
  EXPECT_EQ(weak[0].item, "42");
  EXPECT_EQ(weak[0].misses, 2);
  EXPECT_EQ(weak[0].lastMissed, 160);
  store.record(charRun(500, {{1, 2}}));
  EXPECT_EQ(store.runs().size(), 2u);
  EXPECT_TRUE(problems.empty());
}

TEST_F(HistoryStoreTest, LayoutTwoGainsEntryTimesAndKeepsItsCounts) {
  std::filesystem::create_directories(file.parent_path());
  {
    Connection old(file);
    ASSERT_EQ(old.exec("CREATE TABLE runs(id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,"
                       " started INTEGER NOT NULL, ended INTEGER NOT NULL, items INTEGER NOT NULL,"
                       " right INTEGER NOT NULL, speed INTEGER NOT NULL,"
                       " accuracy INTEGER NOT NULL, finished INTEGER NOT NULL);"
                       "CREATE TABLE mistakes(run INTEGER NOT NULL REFERENCES runs(id),"
                       " class INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL);"
                       "CREATE TABLE items(class INTEGER NOT NULL, item TEXT NOT NULL,"
                       " tries INTEGER NOT NULL, misses INTEGER NOT NULL,"
                       " last_seen INTEGER NOT NULL, last_missed INTEGER NOT NULL,"
                       " PRIMARY KEY(class, item)) WITHOUT ROWID;"
                       "INSERT INTO runs VALUES(1, 1, 100, 160, 30, 28, 30, 93, 1);"
                       "INSERT INTO items VALUES(0, '42', 7, 2, 160, 150);"
                       "PRAGMA user_version=2;"),
              SQLITE_OK);
  }
  HistoryStore store(file, collect());
  EXPECT_EQ(store.schemaVersion(), history::kSchemaVersion);
  ASSERT_EQ(store.runs().size(), 1u);
  EXPECT_EQ(store.runs()[0].label, "");
  auto root = store.item(ItemClass::Root, "42");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->tries, 7);
  EXPECT_EQ(root->misses, 2);
  EXPECT_EQ(root->timed, 0) << "older entries were never timed";
  EXPECT_TRUE(root->trace.empty());

  RunRecord run;
  run.kind = pkRoot;
  run.label = "path:roots";
  run.started = platform::TimePoint{} + std::chrono::seconds(1000);
  run.ended = platform::TimePoint{} + std::chrono::seconds(1060);
  // A pause longer than the cap counts as the cap.
  run.entries = {RunEntry{ItemClass::Root, "42", "A", true, 800},
                 RunEntry{ItemClass::Root, "42", "B", false, 60000}};
  run.items = 2;
  run.right = 1;
  store.record(run);
  root = store.item(ItemClass::Root, "42");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->tries, 9);
  EXPECT_EQ(root->timed, 2);
  EXPECT_EQ(root->msSum, 800 + history::kEntryPauseCapMs);
  ASSERT_EQ(root->trace.size(), 2u);
  EXPECT_EQ(root->trace.back(),
            (history::ItemTrace{history::localDay(1060), false, history::kEntryPauseCapMs}));
  ASSERT_EQ(store.labelledRuns().size(), 1u);
  EXPECT_EQ(store.labelledRuns()[0].label, "path:roots");
  EXPECT_TRUE(problems.empty());
}

TEST(ItemTrace, KeepsTheLastEntriesAndTheFirstOfEachRecentDay) {
  std::vector<history::ItemTrace> trace;
  // Three entries a day for twelve days.
  for (int day = 1; day <= 12; ++day)
    for (int i = 0; i < 3; ++i) trace = history::addTrace(trace, {day, i != 1, 100 * i});
  // The last three, and the first of each of the last ten days (day 12's first is among the last).
  ASSERT_EQ(trace.size(), 12u);
  EXPECT_EQ(trace.front(), (history::ItemTrace{3, true, 0}));
  EXPECT_EQ(trace[trace.size() - 3], (history::ItemTrace{12, true, 0}));
  EXPECT_EQ(history::decodeTrace(history::encodeTrace(trace)), trace);
  // Unmeasured times and the cap survive; a time beyond the cap and a cut-off
  // entry are left out, the rest kept.
  const std::vector<history::ItemTrace> edges = {
      {20000, false, -1}, {20001, true, history::kEntryPauseCapMs}, {20002, true, 0}};
  std::string bytes = history::encodeTrace(edges);
  EXPECT_EQ(history::decodeTrace(bytes), edges);
  std::string beyond = bytes.substr(0, 4) + std::string("\x4E\x20\x7F\xFF", 4) + bytes.substr(4, 6);
  EXPECT_EQ(history::decodeTrace(beyond), (std::vector<history::ItemTrace>{edges[0], edges[1]}));

  // A run's entries added at once keep what adding them one by one keeps,
  // whatever the days: the store merges a whole run in one step.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<history::ItemTrace> stored, batch;
    for (int i = static_cast<int>(random() % 30); i-- > 0;)
      stored = history::addTrace(stored, {static_cast<int>(random() % 25), true, i});
    int day = 25;
    for (int i = static_cast<int>(random() % 12); i-- > 0;) {
      day += static_cast<int>(random() % 2);
      batch.push_back({day, random() % 2 == 0, i});
    }
    std::vector<history::ItemTrace> oneByOne = stored;
    for (const auto& t : batch) oneByOne = history::addTrace(oneByOne, t);
    EXPECT_EQ(history::addTrace(stored, batch), oneByOne) << "round " << round;
    // A run's entries share one day: the store thins them before merging.
    for (auto& t : batch) t.day = day;
    EXPECT_EQ(history::addTrace(stored, history::addTrace({}, batch)),
              history::addTrace(stored, batch))
        << "round " << round;
  }
}

TEST_F(HistoryStoreTest, ALockedFileKeepsRunsWaitingAndSaysSoOnce) {
  HistoryStore store(file, collect());
  ASSERT_TRUE(store.open());
  {
    Connection other(file);
    ASSERT_EQ(other.exec("BEGIN IMMEDIATE; INSERT INTO runs(kind, started, ended, items, right,"
                         " speed, accuracy, finished) VALUES(2, 1, 2, 1, 1, 1, 100, 1)"),
              SQLITE_OK);
    store.record(charRun(1000, {{1, 2}}));
    store.record(charRun(1100, {{3, 3}}));
    EXPECT_EQ(store.waitingRuns(), 2u);
    EXPECT_EQ(problems.size(), 1u);
    other.exec("ROLLBACK");
  }
  store.record(charRun(1200, {{4, 4}}));
  EXPECT_EQ(store.waitingRuns(), 0u);
  EXPECT_EQ(store.runs().size(), 3u);
  EXPECT_EQ(problems.size(), 1u);
}

TEST_F(HistoryStoreTest, WithoutAHomeFolderNothingIsKeptAndThatIsSaidOnce) {
  HistoryStore store({}, collect());
  store.record(charRun(1000, {{1, 2}}));
  store.record(charRun(1100, {{3, 3}}));
  EXPECT_TRUE(store.runs().empty());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("主目录"), std::string::npos) << problems[0];
}

TEST_F(HistoryStoreTest, ADamagedFileIsPutAsideAndANewOneBegun) {
  std::filesystem::create_directories(file.parent_path());
  const std::string junk(4096, 'x');
  std::ofstream(file, std::ios::binary) << junk;
  HistoryStore store(file, collect());
  store.record(charRun(1000, {{1, 2}}));
  store.record(charRun(1100, {{1, 2}}));
  EXPECT_EQ(store.runs().size(), 2u);
  ASSERT_EQ(problems.size(), 1u);
  int aside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("history.sqlite3.damaged-", 0) != 0) continue;
    ++aside;
    std::ifstream in(entry.path(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), junk) << "kept as it was";
    EXPECT_NE(problems[0].find(name), std::string::npos) << "the message names it";
  }
  EXPECT_EQ(aside, 1);
}

std::string bytesOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

constexpr std::int64_t kOurMark = 0x5152564C;  // "QRVL"

// A run's misses are counted by its write: once each, also in a file whose
// first build kept the counts by triggers (which go when it is opened).
TEST_F(HistoryStoreTest, EachConfusionIsCountedOncePerMissWhateverMadeTheFile) {
  {
    HistoryStore store(file, collect());
    store.record(charRun(1000, {{2, 3}, {2, 3}, {5, 6}}));
  }
  ASSERT_EQ(
      Connection(file).exec("CREATE TRIGGER confusion_counted AFTER INSERT ON mistakes BEGIN"
                            " UPDATE confusion_counts SET count = count + 1 WHERE class = new.class"
                            " AND expected = new.expected AND typed = new.typed; END;"),
      SQLITE_OK);
  HistoryStore store(file, collect());
  store.record(charRun(2000, {{2, 3}, {7, 7}}));
  EXPECT_EQ(Connection(file).number("SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"),
            0);
  std::map<std::string, int> counts;
  for (const auto& c : store.confusions(10)) counts[c.expected] = c.count;
  EXPECT_EQ(counts, (std::map<std::string, int>{{gbk::toUtf8(hz(2)), 3}, {gbk::toUtf8(hz(5)), 1}}));
  EXPECT_TRUE(problems.empty());
}

TEST_F(HistoryStoreTest, NewAndMigratedFilesAreMarkedAsOurs) {
  {
    HistoryStore store(file, collect());
    ASSERT_TRUE(store.open());
  }
  EXPECT_EQ(Connection(file).number("PRAGMA application_id"), kOurMark);
  // A file of the current layout from before files were marked gets the mark.
  Connection(file).exec("PRAGMA application_id=0");
  {
    HistoryStore store(file, collect());
    store.record(charRun(1000, {{1, 1}}));
    EXPECT_EQ(store.runs().size(), 1u);
  }
  EXPECT_EQ(Connection(file).number("PRAGMA application_id"), kOurMark);
  EXPECT_TRUE(problems.empty());
}

// Files the store must not write to: each is left exactly as it was, said
// once in our words, shown as unreadable rather than empty, and exported as nothing.
TEST_F(HistoryStoreTest, FilesItMustNotWriteAreLeftAloneAndSaidSo) {
  struct Case {
    const char* what;
    std::function<void(const std::filesystem::path&)> make;
    const char* said;
  };
  const Case cases[] = {
      {"a newer layout of ours",
       [](const std::filesystem::path& f) {
         Connection(f).exec(
             "CREATE TABLE runs(id INTEGER PRIMARY KEY); PRAGMA user_version=9;"
             "PRAGMA application_id=" +
             std::to_string(kOurMark));
       },
       "较新版本"},
      {"another program's file with a runs table",
       [](const std::filesystem::path& f) {
         Connection(f).exec(
             "CREATE TABLE runs(name TEXT, km REAL); INSERT INTO runs VALUES('a', 5);"
             "PRAGMA user_version=2");
       },
       "不是奎沃的练习记录"},
      {"another program's marked file",
       [](const std::filesystem::path& f) {
         Connection(f).exec("CREATE TABLE notes(t TEXT); PRAGMA application_id=1234");
       },
       "不是奎沃的练习记录"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    problems.clear();
    std::filesystem::remove_all(file.parent_path());
    std::filesystem::create_directories(file.parent_path());
    c.make(file);
    const std::string before = bytesOf(file);
    {
      HistoryStore store(file, collect());
      store.record(charRun(1000, {{1, 2}}));
      store.record(charRun(1100, {{1, 2}}));
      EXPECT_FALSE(store.canRecord());
      EXPECT_EQ(store.waitingRuns(), 2u);
      EXPECT_TRUE(store.runs().empty());
      EXPECT_FALSE(store.csv({})) << "no header passed off as an empty history";
      EXPECT_FALSE(store.clear());
      ASSERT_EQ(problems.size(), 1u);
      EXPECT_NE(problems[0].find(c.said), std::string::npos) << problems[0];
      EXPECT_EQ(problems[0].find("CREATE"), std::string::npos) << "no SQL in a message";
      EXPECT_EQ(store.notice(), problems[0]);
    }
    EXPECT_EQ(bytesOf(file), before) << "not a byte written";
    EXPECT_FALSE(std::filesystem::exists(file.string() + "-wal"));
  }
}

TEST_F(HistoryStoreTest, AFailedWriteGivesItsOwnReasonAndTheRunWaits) {
  HistoryStore store(file, collect());
  store.record(charRun(1000, {{1, 1}}));
  // Another program refuses new runs with a reason of its own.
  ASSERT_EQ(Connection(file).exec("CREATE TRIGGER no_runs BEFORE INSERT ON runs"
                                  " BEGIN SELECT RAISE(ABORT, 'runs are closed today'); END"),
            SQLITE_OK);
  store.record(charRun(1100, {{1, 2}}));
  EXPECT_EQ(store.waitingRuns(), 1u);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind("练习记录无法写入", 0), 0u) << problems[0];
  EXPECT_NE(problems[0].find("runs are closed today"), std::string::npos) << problems[0];
  EXPECT_EQ(problems[0].find("not an error"), std::string::npos) << problems[0];
  // The export still has the waiting run, after the file's own.
  const auto csv = store.csv({});
  ASSERT_TRUE(csv);
  EXPECT_NE(csv->find("\r\n1,"), std::string::npos);
  EXPECT_NE(csv->find("\r\n待写入,"), std::string::npos) << *csv;
}

// Runs `check` as a user who cannot write what was made read-only: root
// writes anywhere, so a root test forks and checks as nobody.
bool asUnprivileged(const std::function<bool()>& check) {
  if (::geteuid() != 0) return check();
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(HistoryStoreTest, AReadOnlyFolderShowsItsHistoryAndRecordsNothing) {
  {
    HistoryStore store(file, collect());
    store.record(charRun(1000, {{1, 1}}));
    store.record(charRun(1100, {{1, 2}}));
  }
  const auto dir = file.parent_path();
  std::filesystem::permissions(dir.parent_path(), std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add);
  ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
  const bool passed = asUnprivileged([this] {
    bool ok = true;
    auto expect = [&ok](bool cond, const char* what) {
      if (!cond) std::fprintf(stderr, "read-only history: %s\n", what);
      ok = ok && cond;
    };
    HistoryStore store(file);
    expect(store.runs().size() == 2, "the two runs are shown");
    expect(store.readOnly() && !store.canRecord(), "opened for reading only");
    expect(store.notice().find("只读") != std::string::npos, "the notice says read-only");
    store.record(charRun(1200, {{3, 3}}));
    expect(store.waitingRuns() == 1 && store.runs().size() == 2, "the new run waits");
    const auto csv = store.csv({});
    expect(csv && csv->find("待写入") != std::string::npos, "the export has all three");
    expect(!store.clear(), "nothing cleared");
    return ok;
  });
  ::chmod(dir.c_str(), 0755);
  EXPECT_TRUE(passed);
  EXPECT_EQ(HistoryStore(file).runs().size(), 2u) << "the file kept its runs";
}

TEST_F(HistoryStoreTest, AnUnopenableFileIsSaidAndExportsNothing) {
  std::filesystem::create_directories(file);  // a folder where the file should be
  HistoryStore store(file, collect());
  store.record(charRun(1000, {{1, 2}}));
  EXPECT_FALSE(store.canRecord());
  EXPECT_FALSE(store.csv({}));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind("练习记录打不开", 0), 0u) << problems[0];
  EXPECT_EQ(store.notice(), problems[0]);
}

TEST_F(HistoryStoreTest, AKindsChartHasEachRunOrTheMeansOfStretchesOfTime) {
  HistoryStore store(file, collect());
  // Nine runs a minute apart, 1 to 9 characters a minute, all right but the last.
  for (int i = 1; i <= 9; ++i) {
    std::vector<std::pair<int, int>> typed(static_cast<std::size_t>(i), {1, 1});
    if (i == 9) typed.back() = {1, 2};
    store.record(charRun(60 * i, typed));
  }
  const auto each = store.chart(pkTwochar, 9);
  ASSERT_EQ(each.points.size(), 9u);
  EXPECT_EQ(each.runs, 9);
  EXPECT_EQ(each.points[4].speed, 5);
  EXPECT_EQ(each.latest.speed, 9);
  EXPECT_EQ(each.bestSpeed, 9);
  const auto thinned = store.chart(pkTwochar, 3);
  ASSERT_EQ(thinned.points.size(), 3u) << "no more points than asked for";
  EXPECT_EQ(thinned.runs, 9);
  EXPECT_EQ(thinned.first, 60);
  EXPECT_EQ(thinned.last, 540);
  EXPECT_DOUBLE_EQ(thinned.points[0].speed, 2.0);  // runs 1..3
  EXPECT_EQ(thinned.points[2].runs, 3);
  EXPECT_NEAR(thinned.points[2].accuracy, (100 + 100 + 88) / 3.0, 1e-9);
  EXPECT_TRUE(store.chart(pkRoot, 3).points.empty());
  const auto kinds = store.kindRuns();
  ASSERT_EQ(kinds.size(), 1u);
  EXPECT_EQ(kinds[0].runs, 9);
  EXPECT_EQ(kinds[0].lastEnded, 540);

  // A test by quantity shares its kind with the timed test, not its chart.
  for (const auto label : {std::string_view(), kSizedExamLabel, kSizedExamLabel}) {
    RunRecord exam = charRun(600, {{1, 1}});
    exam.kind = pkExam;
    exam.label = std::string(label);
    store.record(exam);
  }
  std::map<std::pair<int, bool>, int> series;
  for (const auto& k : store.kindRuns(kSizedExamLabel)) series[{k.kind, k.apart}] = k.runs;
  EXPECT_EQ(series, (std::map<std::pair<int, bool>, int>{
                        {{pkTwochar, false}, 9}, {{pkExam, false}, 1}, {{pkExam, true}, 2}}));
  EXPECT_EQ(store.chart(pkExam, 9, kSizedExamLabel, true).runs, 2);
  EXPECT_EQ(store.chart(pkExam, 9, kSizedExamLabel, false).latest.label, "");
  EXPECT_EQ(store.chart(pkExam, 9).runs, 3) << "without a label apart, every run of the kind";
}

TEST(WeakDraw, ItemsComeByErrorRateAndRecencyWithOneInFiveMastered) {
  const std::int64_t now = 100 * 86400;
  auto item = [&](const char* name, int tries, int misses, int daysAgo) {
    return history::ItemStat{ItemClass::Character, name, tries, misses, now, now - daysAgo * 86400};
  };
  // Equal misses, different tries: the rate, not the count, decides. A miss
  // a week older weighs half.
  const std::vector<history::ItemStat> weak = {item("often", 40, 10, 0), item("rare", 10, 10, 0),
                                               item("old", 10, 10, 7)};
  const std::vector<history::ItemStat> mastered = {item("m1", 9, 0, 0), item("m2", 9, 0, 0)};
  platform::RandomSource fixed;  // never seeded from the clock: always the same numbers
  const auto drawn = history::drawWeakItems(weak, mastered, 20000, fixed, now);
  ASSERT_EQ(drawn.size(), 20000u);
  std::map<std::string, int> n;
  for (const auto& s : drawn) ++n[s];
  EXPECT_EQ(n["m1"] + n["m2"], 20000 / history::kMasteredEvery);
  // Weights 0.25 : 1 : 0.5 of 16000 weak picks.
  EXPECT_NEAR(n["rare"], 16000 / 1.75, 250);
  EXPECT_NEAR(n["old"], 16000 * 0.5 / 1.75, 250);
  EXPECT_NEAR(n["often"], 16000 * 0.25 / 1.75, 250);
  // Mastered items are spread through the run, not left at its end.
  const auto firstMastered =
      std::find_if(drawn.begin(), drawn.end(), [](const std::string& s) { return s[0] == 'm'; });
  EXPECT_LT(firstMastered - drawn.begin(), 100);
  EXPECT_TRUE(history::drawWeakItems({}, mastered, 10, fixed, now).empty());
}

class RecordedRunTest : public FrameFixture {
 protected:
  RecordedRunTest() : dir(freshDir()), store(dir / "history.sqlite3") { frame.setHistory(&store); }
  ~RecordedRunTest() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
  HistoryStore store;
};

TEST_F(RecordedRunTest, AGivenUpRunIsRecordedWithItsMissesAndTheWeakRootDrillDrawsThem) {
  frame.selectMenuTag(0);  // level 1: item k is hz(k % 26)
  clock.advance(std::chrono::seconds(30));
  typeChar(0);
  typeChar(5);  // hz(1) expected
  typeChar(2);
  EXPECT_TRUE(store.runs().empty()) << "nothing is written while the run goes on";
  frame.selectKind(pkRoot);  // gives the level-1 run up
  auto runs = store.runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].kind, pkOnechar);
  EXPECT_FALSE(runs[0].finished);
  EXPECT_EQ(runs[0].items, 3);
  EXPECT_EQ(runs[0].right, 2);
  EXPECT_EQ(runs[0].speed, 6);
  const auto confusions = store.confusions(5);
  ASSERT_EQ(confusions.size(), 1u);
  EXPECT_EQ(confusions[0].expected, gbk::toUtf8(hz(1)));
  EXPECT_EQ(confusions[0].typed, gbk::toUtf8(hz(5)));

  // The root run given up at the end of the program: one wrong key.
  auto& root = dynamic_cast<RootDrill&>(*frame.kind(pkRoot));
  const int firstRoot = root.cells()[0].root;
  press(root.cells()[0].expected == 'A' ? 'B' : 'A');
  frame.tearDown();
  runs = store.runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].kind, pkRoot);
  EXPECT_EQ(store.weakest(ItemClass::Root, 1, 5).at(0).item, std::to_string(firstRoot));

  frame.selectKind(pkWeakRoot);
  ASSERT_TRUE(frame.practising());
  auto& weakRoot = dynamic_cast<RootDrill&>(*frame.kind(pkWeakRoot));
  EXPECT_EQ(weakRoot.cells()[0].root, firstRoot);
  EXPECT_EQ(weakRoot.cells()[248].root, firstRoot);
}

// The weak-character and weak-word drills: nothing to draw until an item
// they can type was missed; then a run that misses one, given up by choosing
// the weak drill, fills the weak drill with it.
class WeakDrillTest : public RecordedRunTest {
 public:
  void missAChar() {  // level 1: hz(0) right, hz(5) for hz(1)
    frame.selectMenuTag(0);
    typeChar(0);
    typeChar(5);
  }
  void missAWord() {  // two-character words: word 0 right, word 5 for word 1
    frame.selectMenuTag(4);
    typeLetters(wordCode(0));
    press(vk::Space);
    typeLetters(wordCode(5));
    press(vk::Space);
  }
};

struct WeakDrillCase {
  const char* name;
  int kind;
  const char* refusal;     // UTF-8
  std::string untypeable;  // a missed item the drill cannot type (GBK)
  void (WeakDrillTest::*missOne)();
  std::string missed;     // GBK
  std::string separator;  // what follows each item in the run
};
void PrintTo(const WeakDrillCase& c, std::ostream* os) { *os << c.name; }

class WeakDrillDraws : public WeakDrillTest, public ::testing::WithParamInterface<WeakDrillCase> {};

TEST_P(WeakDrillDraws, OnlyMissedItemsItCanType) {
  const WeakDrillCase& c = GetParam();
  RunRecord other;
  other.kind = pkCompare;
  other.items = 1;
  other.entries.push_back(RunEntry{weakItemClass(kindInfo(c.kind)), c.untypeable, hz(7), false});
  store.record(other);
  frame.selectKind(c.kind);
  EXPECT_FALSE(frame.practising()) << "nothing it can type was missed";
  EXPECT_EQ(frame.view().wordplace, g(c.refusal));

  (this->*c.missOne)();
  ASSERT_TRUE(frame.practising());
  frame.selectKind(c.kind);  // chosen while that run goes on
  ASSERT_TRUE(frame.practising());
  const auto runs = store.runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_FALSE(runs[1].finished) << "the run left for the weak drill is given up";
  const std::string unit = c.missed + c.separator;
  const std::string sequence = drill(c.kind).sequenceText();
  EXPECT_EQ(sequence.size(), 500 / unit.size() * unit.size()) << "two pages, whole items";
  for (std::size_t at = 0; at < sequence.size(); at += unit.size())
    ASSERT_EQ(sequence.substr(at, unit.size()), unit) << "the only weak item, nothing mastered";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WeakDrillDraws,
    ::testing::Values(WeakDrillCase{"Characters", pkWeakChar,
                                    "☆还没有出错的记录：先做几次练习，再来练薄弱项！☆",
                                    gbk::fromUtf8("，"), &WeakDrillTest::missAChar, hz(1), ""},
                      // Five characters: a word none of the tables holds, so without a code.
                      WeakDrillCase{"Words", pkWeakWord,
                                    "☆还没有打错过的词组：先做几次词组练习吧！☆",
                                    hz(1) + hz(2) + hz(3) + hz(4) + hz(5),
                                    &WeakDrillTest::missAWord, word(2, 1), "  "}),
    [](const auto& info) { return std::string(info.param.name); });

// The end message and the stored run give the same figures, the last
// entry (wrong here, and late) counted in both.
TEST_F(RecordedRunTest, TheEndMessageAndTheStoredRunAgree) {
  auto endFigures = [this] {
    const std::string text = gbk::toUtf8(frame.view().wordplace);
    const auto speedAt = text.find("：") + std::string("：").size();
    const auto rateAt = text.rfind("：") + std::string("：").size();
    return std::pair{std::stoi(text.substr(speedAt)), std::stoi(text.substr(rateAt))};
  };
  frame.selectMenuTag(0);  // level 1, 234 items
  for (int k = 0; k < 233; ++k) typeChar(k % 26);
  clock.advance(std::chrono::seconds(40));
  typeChar(1);
  ASSERT_FALSE(frame.practising());
  auto runs = store.runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].accuracy, 99);
  EXPECT_EQ(endFigures(), std::pair(runs[0].speed, runs[0].accuracy));

  host.nextPracticeFile = writeFile("two.txt", "AB");
  frame.selectKind(pkCompare);
  frame.enterItem(' ', 'A');
  clock.advance(std::chrono::seconds(30));
  frame.enterItem(' ', 'C');
  ASSERT_FALSE(frame.practising());
  runs = store.runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(std::pair(runs[1].speed, runs[1].accuracy), std::pair(4, 50));
  EXPECT_EQ(endFigures(), std::pair(runs[1].speed, runs[1].accuracy));
}

TEST_F(RecordedRunTest, AFinishedRunIsRecordedOnceAndARunWithoutEntriesNotAtAll) {
  frame.selectMenuTag(0);
  frame.selectMenuTag(0);  // given up before any entry
  EXPECT_TRUE(store.runs().empty());
  for (int k = 0; k < 234; ++k) typeChar(k % 26);
  EXPECT_FALSE(frame.practising());
  frame.tearDown();
  const auto runs = store.runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_TRUE(runs[0].finished);
  EXPECT_EQ(runs[0].items, 234);
  EXPECT_EQ(runs[0].accuracy, 100);
}

TEST_F(RecordedRunTest, AWordCountsOnceWhenItsSeparatorIsTyped) {
  frame.selectMenuTag(4);  // word k is word(2, k)
  typeLetters(wordCode(0));
  press(vk::Space);
  typeLetters(wordCode(5));  // another word in the place of word 1
  press(vk::Space);
  typeLetters(wordCode(2));
  frame.setLetterMode(true);
  press(key('x'));  // right word, wrong separator: no miss of the word
  frame.setLetterMode(false);
  typeLetters(wordCode(3));  // no separator yet: not counted
  frame.tearDown();
  const auto words = store.items(ItemClass::Word);
  ASSERT_EQ(words.size(), 3u);
  std::map<std::string, int> misses;
  for (const auto& w : words) misses[w.item] = w.misses;
  EXPECT_EQ(misses[gbk::toUtf8(word(2, 0))], 0);
  EXPECT_EQ(misses[gbk::toUtf8(word(2, 1))], 1);
  EXPECT_EQ(misses[gbk::toUtf8(word(2, 2))], 0);
  const auto confusions = store.confusions(5);
  ASSERT_EQ(confusions.size(), 1u);
  EXPECT_EQ(confusions[0].typed, gbk::toUtf8(word(2, 5)));
  EXPECT_EQ(store.runs().at(0).items, 11) << "every entry counts in the run's score";
  EXPECT_EQ(store.runs().at(0).right, 8) << "the wrong separator is a wrong entry";
}

}  // namespace
}  // namespace quorvel::testing
