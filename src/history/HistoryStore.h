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
#include <string>
#include <vector>

#include "history/RunRecord.h"

struct sqlite3;

namespace quorvel::history {

// The layout the store writes; older files are brought up to it on open.
inline constexpr int kSchemaVersion = 2;

struct RunRow {
  int kind = 0;
  std::int64_t started = 0;  // seconds since 1970
  std::int64_t ended = 0;
  int items = 0;
  int right = 0;
  int speed = 0;
  int accuracy = 0;  // -1: the kind measures none
  bool finished = false;
};

struct ItemStat {
  ItemClass cls = ItemClass::Character;
  std::string item;  // UTF-8, or the root number
  int tries = 0;
  int misses = 0;
  std::int64_t lastSeen = 0;
  std::int64_t lastMissed = 0;  // 0: never missed
  double rate() const { return tries > 0 ? static_cast<double>(misses) / tries : 0.0; }
};

struct Confusion {
  ItemClass cls = ItemClass::Character;
  std::string expected;  // UTF-8, or the root number
  std::string typed;     // UTF-8, or the key name
  int count = 0;
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

  // What the progress window shows; empty while the store cannot be used.
  std::vector<RunRow> runs();  // oldest first
  Totals totals();
  // Every item of a class that came at least once.
  std::vector<ItemStat> items(ItemClass cls);
  // Items missed at least once and tried at least minTries times, highest
  // error rate first (the more recent miss first among equal rates).
  std::vector<ItemStat> weakest(ItemClass cls, int minTries, int limit);
  // Items tried at least minTries times and never missed, most tried first.
  std::vector<ItemStat> mastered(ItemClass cls, int minTries, int limit);
  // What was typed instead of what, most frequent first.
  std::vector<Confusion> confusions(int limit);
  // Every run as CSV (UTF-8, a header line, CRLF line ends), with its misses
  // in the last column; kindName gives the UTF-8 name of a kind.
  std::string csv(const std::function<std::string(int kind)>& kindName);
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
  void failed(int code, const char* what);
  void putAside();
  void rollback();
  void close();
  void say(int trouble, const std::string& message);

  std::filesystem::path file_;
  ProblemCallback onProblem_;
  sqlite3* db_ = nullptr;
  bool newer_ = false;  // written by a later program: left alone
  std::vector<RunRecord> waiting_;
  unsigned said_ = 0;      // the troubles already told, one bit each
  unsigned putAside_ = 0;  // damaged files put aside so far
};

}  // namespace quorvel::history
