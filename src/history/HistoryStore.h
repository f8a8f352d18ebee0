#pragma once
// The learner's history: every run and every miss, kept in an SQLite file,
// $XDG_DATA_HOME/quorvel/history.sqlite3 (default ~/.local/share/...). A run
// is written once, in one transaction, when it ends or is given up. The
// store never stands in the tutor's way: a file that cannot be opened, is
// locked by another program or is damaged costs the history, not the
// practice; each such trouble is said once through the problem callback,
// runs that could not be written wait in memory for the next write, and a
// damaged file is renamed aside (never deleted) and a new one begun.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "history/RunRecord.h"

struct sqlite3;

namespace quorvel::history {

// The layout the store writes; older files are brought up to it on open.
inline constexpr int kSchemaVersion = 3;

// One remembered entry of an item: the local calendar day it was made on
// (days since 1970), whether it was right, and how long it took (-1: not
// measured).
struct ItemTrace {
  int day = 0;
  bool right = false;
  int ms = -1;
  bool operator==(const ItemTrace&) const = default;
};
// What an item's trace keeps: its last few entries (enough to tell whether
// it is mastered now) and the first entry of each of its last days (what a
// review schedule is built from: the first try of a day is the one that shows
// what was remembered overnight).
inline constexpr std::size_t kTraceLast = 3;
inline constexpr std::size_t kTraceDays = 10;
// The trace with one more entry, pruned to what it keeps, oldest first.
std::vector<ItemTrace> addTrace(std::vector<ItemTrace> trace, std::span<const ItemTrace> next);
std::vector<ItemTrace> addTrace(std::vector<ItemTrace> trace, const ItemTrace& next);
// The trace as the store keeps it (four bytes an entry) and back; damaged
// bytes give the entries that can still be read.
std::string encodeTrace(const std::vector<ItemTrace>& trace);
std::vector<ItemTrace> decodeTrace(std::string_view bytes);
// The local calendar day of a time (seconds since 1970).
int localDay(std::int64_t secondsSince1970);

// How long an entry may take before its item counts as slow in the weakest
// lists and the weak drills.
int slowEntryMs(ItemClass cls);

struct RunRow {
  int kind = 0;
  std::int64_t started = 0;  // seconds since 1970
  std::int64_t ended = 0;
  int items = 0;
  int right = 0;
  int speed = 0;
  int accuracy = 0;  // -1: the kind measures none
  bool finished = false;
  std::string label;  // RunRecord::label
};

struct ItemStat {
  ItemClass cls = ItemClass::Character;
  std::string item;  // UTF-8, or the root number
  int tries = 0;
  int misses = 0;
  std::int64_t lastSeen = 0;
  std::int64_t lastMissed = 0;  // 0: never missed
  std::int64_t msSum = 0;       // the time of its timed entries
  int timed = 0;                // how many of its entries were timed
  std::vector<ItemTrace> trace;
  double rate() const { return tries > 0 ? static_cast<double>(misses) / tries : 0.0; }
  // Mean time of an entry; 0 when none was timed.
  int meanMs() const { return timed > 0 ? static_cast<int>(msSum / timed) : 0; }
};

struct Confusion {
  ItemClass cls = ItemClass::Character;
  std::string expected;  // UTF-8, or the root number
  std::string typed;     // UTF-8, or the key name
  int count = 0;
};

// How many runs a kind has, and when its last one ended.
struct KindRuns {
  int kind = 0;
  bool apart = false;  // the kind's runs with the label asked to be apart (see kindRuns)
  int runs = 0;
  std::int64_t lastEnded = 0;
  std::int64_t lastId = 0;  // the order of runs that ended in the same second
};

// One point of a kind's chart: a run, or the mean of the runs of one stretch
// of time when there are more runs than the chart has room for.
struct ChartPoint {
  std::int64_t ended = 0;  // seconds since 1970 (the mean, for several runs)
  double speed = 0;
  double accuracy = -1;  // -1: none of its runs measures accuracy
  int runs = 1;
};

// What the chart of one kind shows, worked out by the file, not by reading every run.
struct KindChart {
  int runs = 0;
  std::int64_t first = 0, last = 0;  // when the first and the last run ended
  int bestSpeed = 0;
  RunRow latest;
  std::vector<ChartPoint> points;  // oldest first, at most the number asked for
};

struct Totals {
  int runs = 0;
  std::int64_t seconds = 0;  // time practised
  std::int64_t items = 0;    // entries made
};

class HistoryStore : public RunSink {
 public:
  using ProblemCallback = std::function<void(const std::string& utf8Message)>;

  explicit HistoryStore(std::filesystem::path file, ProblemCallback onProblem = {});
  ~HistoryStore() override;
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  // $XDG_DATA_HOME/quorvel/history.sqlite3; an unset or relative
  // XDG_DATA_HOME means ~/.local/share. Empty without a home folder: the
  // store then keeps nothing and says so once.
  static std::filesystem::path defaultFile();

  // Opens the file (creating it and bringing an older layout up to date) if
  // it is not open yet. False while it cannot be used.
  bool open();
  const std::filesystem::path& file() const { return file_; }

  // Writes the run with every run still waiting; keeps them all waiting
  // when the file cannot be written now.
  void record(const RunRecord& run) override;
  std::size_t waitingRuns() const { return waiting_.size(); }

  // Can a run be written now? False while the file cannot be opened, is only
  // read (a read-only file or folder), or is left alone (a newer layout,
  // another program's file, damaged and not to be renamed).
  bool canRecord();
  // Opened only for reading: the runs can be shown, none is written.
  bool readOnly() const { return readOnly_; }
  // Why the history cannot be read or written as it should, for the learner
  // (UTF-8, our words first, SQLite's after them); empty while it works.
  const std::string& notice() const { return notice_; }

  // What the progress window shows; empty while the store cannot be used.
  std::vector<RunRow> runs();  // oldest first
  // The runs that carry a label (learning-path sessions and tests), oldest first.
  std::vector<RunRow> labelledRuns();
  Totals totals();
  // The kinds that have runs, by kind.
  // The kinds that have runs; with `apart`, a kind's runs of that label (a
  // test by quantity) are a series of their own beside its other runs.
  std::vector<KindRuns> kindRuns(std::string_view apart = {});
  // The chart of one kind with at most `points` points: each run while they
  // fit, else the means of equal stretches of time. With `apart`, only the
  // runs of that label (isApart) or only the others.
  KindChart chart(int kind, int points, std::string_view apart = {}, bool isApart = false);
  // Every item of a class that came at least once.
  std::vector<ItemStat> items(ItemClass cls);
  // One item, if it came at least once (item: UTF-8, or the root number).
  std::optional<ItemStat> item(ItemClass cls, const std::string& item);
  // Items tried at least minTries times that were missed, or whose entries
  // took longer than slowEntryMs on average: the highest error rate plus
  // slowness (how far the mean time is over the limit, as a share of it)
  // first, the more recent miss first among equals.
  std::vector<ItemStat> weakest(ItemClass cls, int minTries, int limit);
  // Items tried at least minTries times, never missed and not slow, most tried first.
  std::vector<ItemStat> mastered(ItemClass cls, int minTries, int limit);
  // What was typed instead of what, most frequent first.
  std::vector<Confusion> confusions(int limit);
  // Every run as CSV (UTF-8, a header line, CRLF line ends), with its misses
  // in the last column, the runs still waiting to be written last; kindName
  // gives the UTF-8 name of a run from its kind and label. Nothing while the
  // file cannot be read (notice() says why): a header alone would pass for an
  // empty history.
  using KindName = std::function<std::string(int kind, const std::string& label)>;
  std::optional<std::string> csv(const KindName& kindName);
  // Forgets every run and item; false when the file could not be written.
  bool clear();

  // The layout version of the open file (tests).
  int schemaVersion();

 private:
  bool openFile();
  bool migrate();
  bool write(const RunRecord& run);
  bool exec(const char* sql);
  // A failed call: a damaged file is put aside; the trouble is said once.
  // sqliteText: SQLite's message, read before anything else could replace it.
  void failed(int code, const char* what, bool reading = false);
  void failedWith(int code, const char* what, const std::string& sqliteText, bool reading = false);
  void putAside();
  void rollback();
  void close();
  void say(int trouble, const std::string& message);

  std::filesystem::path file_;
  ProblemCallback onProblem_;
  sqlite3* db_ = nullptr;
  // The statements a run's write uses, prepared once per open file.
  struct Writers;
  std::unique_ptr<Writers> writers_;
  bool leftAlone_ = false;  // a newer layout, another program's file: never touched
  bool readOnly_ = false;   // opened for reading only
  bool counted_ = false;    // the file keeps the confusion counts
  std::string notice_;
  std::vector<RunRecord> waiting_;
  unsigned said_ = 0;      // the troubles already told, one bit each
  unsigned putAside_ = 0;  // damaged files put aside so far
};

}  // namespace quorvel::history
