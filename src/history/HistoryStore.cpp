#include "history/HistoryStore.h"

#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <map>
#include <unordered_map>
#include <utility>

#include "history/MemoryTable.h"
#include "platform/Gbk.h"
#include "platform/Log.h"
#include "platform/SystemError.h"

namespace quorvel::history {

namespace {

// The troubles told to the learner, each once.
enum Trouble : unsigned {
  CannotOpen = 1,
  Locked = 2,
  Damaged = 4,
  Newer = 8,
  CannotWrite = 16,
  Foreign = 32,
  ReadOnly = 64,
  CannotRead = 128,
};

// What marks a file as ours (PRAGMA application_id): "QRVL".
constexpr std::int64_t kApplicationId = 0x5152564C;

// Runs kept in memory while the file cannot take them; beyond this the
// oldest go, so a store that stays locked cannot eat memory.
constexpr std::size_t kMaxWaiting = 50;

std::int64_t seconds(platform::TimePoint t) {
  return std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch()).count();
}

// One prepared statement, finalised when it goes.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    code_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return code_ == SQLITE_OK || code_ == SQLITE_ROW || code_ == SQLITE_DONE; }
  int code() const { return code_; }
  Statement& bind(int i, std::int64_t v) {
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
  }
  Statement& bindBlob(int i, const std::string& v) {
    sqlite3_bind_blob(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& bind(int i, const std::string& v) {
    sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // One step; true while it gives a row.
  bool row() {
    if (!stmt_) return false;
    code_ = sqlite3_step(stmt_);
    return code_ == SQLITE_ROW;
  }
  // Runs it to the end and makes it ready for new values.
  bool run() {
    if (!stmt_) return false;
    code_ = sqlite3_step(stmt_);
    sqlite3_reset(stmt_);
    return code_ == SQLITE_DONE || code_ == SQLITE_ROW;
  }
  // Makes it ready for new values without running it further.
  void reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  std::int64_t integer(int col) const { return sqlite3_column_int64(stmt_, col); }
  sqlite3_stmt* handle() const { return stmt_; }
  std::string blob(int col) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
  }
  std::string text(int col) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int code_ = SQLITE_OK;
};

// The layouts, one step per version: step n brings a file of version n-1 to n.
// Version 1 kept runs and misses; version 2 added how often each item came,
// seeded from the misses of older files (the only tries they knew of);
// version 3 added entry times and traces, which older files start without.
const char* const kMigrations[] = {
    // 1
    "CREATE TABLE runs(id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,"
    " started INTEGER NOT NULL, ended INTEGER NOT NULL, items INTEGER NOT NULL,"
    " right INTEGER NOT NULL, speed INTEGER NOT NULL, accuracy INTEGER NOT NULL,"
    " finished INTEGER NOT NULL);"
    "CREATE TABLE mistakes(run INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
    " class INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL);"
    "CREATE INDEX mistakes_by_run ON mistakes(run);",
    // 2
    "CREATE TABLE items(class INTEGER NOT NULL, item TEXT NOT NULL, tries INTEGER NOT NULL,"
    " misses INTEGER NOT NULL, last_seen INTEGER NOT NULL, last_missed INTEGER NOT NULL,"
    " PRIMARY KEY(class, item)) WITHOUT ROWID;"
    "INSERT INTO items SELECT m.class, m.expected, COUNT(*), COUNT(*), MAX(r.ended), MAX(r.ended)"
    " FROM mistakes m JOIN runs r ON r.id = m.run GROUP BY m.class, m.expected;"
    "CREATE INDEX runs_by_end ON runs(ended);",
    // 3: how long entries took, the recent entries of each item, and what a run was for.
    "ALTER TABLE runs ADD COLUMN label TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE items ADD COLUMN ms_sum INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE items ADD COLUMN timed INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE items ADD COLUMN trace BLOB NOT NULL DEFAULT x'';"
    "CREATE INDEX runs_by_label ON runs(label) WHERE label <> '';",
};
static_assert(std::size(kMigrations) == kSchemaVersion);

// What the progress window reads without going through every run and miss:
// the runs by kind, and how often each confusion happened, counted by the
// run's write. Derived from the layout's own tables, it is added to a file of
// this layout that lacks it, from what the file holds, without changing its
// version.
const char* const kDerived =
    "CREATE INDEX IF NOT EXISTS runs_by_kind ON runs(kind, ended);"
    "CREATE TABLE confusion_counts(class INTEGER NOT NULL, expected TEXT NOT NULL,"
    " typed TEXT NOT NULL, count INTEGER NOT NULL, last_run INTEGER NOT NULL,"
    " PRIMARY KEY(class, expected, typed)) WITHOUT ROWID;"
    "CREATE INDEX confusions_by_count ON confusion_counts(count DESC, last_run DESC);"
    "INSERT INTO confusion_counts SELECT class, expected, typed, COUNT(*), MAX(run)"
    " FROM mistakes GROUP BY class, expected, typed;";

// Files of the first builds with the counts kept them by triggers on each
// miss, which cost more than the run's whole count; they go, the counts stay.
const char* const kDropCountTriggers =
    "DROP TRIGGER IF EXISTS confusion_counted; DROP TRIGGER IF EXISTS confusion_uncounted;";

bool isDamage(int code) {
  code &= 0xFF;
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

bool isLock(int code) {
  code &= 0xFF;
  return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

// Our words for what went wrong, SQLite's own after them.
std::string reasonText(int code, const std::string& sqliteText) {
  const char* words = nullptr;
  switch (code & 0xFF) {
    case SQLITE_FULL:
      words = "磁盘已满";
      break;
    case SQLITE_READONLY:
      words = "文件只读";
      break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
      words = "没有权限";
      break;
    case SQLITE_CANTOPEN:
      words = "文件打不开";
      break;
    case SQLITE_IOERR:
      words = "读写出错";
      break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      words = "文件已损坏";
      break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      words = "文件正被另一个程序占用";
      break;
    case SQLITE_NOMEM:
      words = "内存不足";
      break;
    case SQLITE_SCHEMA:
    case SQLITE_ERROR:
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
      words = "文件的内容与本程序不符";
      break;
    default:
      words = "数据库出错";
      break;
  }
  return std::string(words) + "：" + sqliteText;
}

// The columns of the first layout's tables, which every file of ours has.
bool hasColumns(sqlite3* db, const char* table, std::initializer_list<const char*> columns) {
  const std::string sql = std::string("PRAGMA table_info(") + table + ")";
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) return false;
  std::vector<std::string> found;
  while (sqlite3_step(s) == SQLITE_ROW)
    if (const auto* name = sqlite3_column_text(s, 1))
      found.emplace_back(reinterpret_cast<const char*>(name));
  sqlite3_finalize(s);
  for (const char* c : columns)
    if (std::find(found.begin(), found.end(), c) == found.end()) return false;
  return true;
}

// Roots are stored by number, the rest as UTF-8.
std::string utf8Of(ItemClass cls, std::string_view gbkText) {
  return cls == ItemClass::Root ? std::string(gbkText) : gbk::toUtf8(gbkText);
}

std::string localTime(std::int64_t t) {
  const std::time_t tt = static_cast<std::time_t>(t);
  std::tm tm{};
  localtime_r(&tt, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return buf;
}

std::string csvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::vector<ItemTrace> addTrace(std::vector<ItemTrace> trace, std::span<const ItemTrace> next) {
  trace.insert(trace.end(), next.begin(), next.end());
  // Kept: the last kTraceLast entries, and the first entry of each day among
  // the last kTraceDays days that have one. Thinning once after many entries
  // keeps what thinning after each would: an entry dropped is never again
  // among the last ones nor its day's first within the window.
  std::size_t kept = trace.size();
  std::size_t days = 0;
  for (std::size_t i = trace.size(); i-- > 0;) {
    const bool last = trace.size() - i <= kTraceLast;
    const bool firstOfDay = (i == 0 || trace[i - 1].day != trace[i].day) && days < kTraceDays;
    if (i == 0 || trace[i - 1].day != trace[i].day) ++days;
    if (last || firstOfDay) trace[--kept] = trace[i];
  }
  trace.erase(trace.begin(), trace.begin() + static_cast<std::ptrdiff_t>(kept));
  return trace;
}

std::vector<ItemTrace> addTrace(std::vector<ItemTrace> trace, const ItemTrace& next) {
  return addTrace(std::move(trace), std::span<const ItemTrace>(&next, 1));
}

// Four bytes an entry, so the items table stays small and a run's write
// touches few pages: the day as 16 bits (days since 1970), then 16
// bits of the right flag (top bit) and the time plus one (0: not measured).
constexpr int kTraceEpochDay = 0;  // days since 1970 in 16 bits: until 2149

std::string encodeTrace(const std::vector<ItemTrace>& trace) {
  std::string out;
  out.reserve(trace.size() * 4);
  for (const ItemTrace& t : trace) {
    const int day = std::clamp(t.day - kTraceEpochDay, 0, 0xFFFF);
    const int ms = t.ms < 0 ? 0 : std::min(t.ms, kEntryPauseCapMs) + 1;
    const int flags = (t.right ? 0x8000 : 0) | ms;
    for (int v : {day, flags}) {
      out += static_cast<char>(v >> 8);
      out += static_cast<char>(v & 0xFF);
    }
  }
  return out;
}

std::vector<ItemTrace> decodeTrace(std::string_view bytes) {
  std::vector<ItemTrace> out;
  auto word = [&bytes](std::size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
  };
  // A trace cut short keeps its whole entries; a time beyond the cap is no entry of ours.
  for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
    const int flags = word(at + 2);
    const int ms = (flags & 0x7FFF) - 1;
    if (ms > kEntryPauseCapMs) continue;
    out.push_back(ItemTrace{word(at) + kTraceEpochDay, (flags & 0x8000) != 0, ms});
  }
  return out;
}

int localDay(std::int64_t secondsSince1970) {
  const std::time_t tt = static_cast<std::time_t>(secondsSince1970);
  std::tm tm{};
  localtime_r(&tt, &tm);
  // The local date counted as days since 1970-01-01 (days_from_civil).
  const int y = tm.tm_year + 1900 - (tm.tm_mon < 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int m = tm.tm_mon + 1;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + tm.tm_mday - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int slowEntryMs(ItemClass cls) {
  switch (cls) {
    case ItemClass::Root:
      return 1500;
    case ItemClass::Character:
      return 3000;
    case ItemClass::Word:
      return 5000;
  }
  return 3000;
}

namespace {
// add_trace(stored, entries): the stored trace with this run's entries added,
// as addTrace keeps it.
void sqlAddTrace(sqlite3_context* ctx, int, sqlite3_value** argv) {
  auto bytes = [](sqlite3_value* v) {
    const auto* p = static_cast<const char*>(sqlite3_value_blob(v));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(v)))
             : std::string_view();
  };
  const std::string out =
      encodeTrace(addTrace(decodeTrace(bytes(argv[0])), decodeTrace(bytes(argv[1]))));
  sqlite3_result_blob(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}
}  // namespace

std::string keyName(std::uint16_t virtualKey) {
  const unsigned k = virtualKey & 0xFF;
  if ((k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z')) return std::string(1, static_cast<char>(k));
  switch (k) {
    case 0x20:
      return "Space";
    case 0x10:
      return "Shift";
    case 0x11:
      return "Ctrl";
    case 0x12:
      return "Alt";
    case 0x0D:
      return "Enter";
    case 0x09:
      return "Tab";
    default:
      break;
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%u", k);
  return buf;
}

HistoryStore::HistoryStore(std::filesystem::path file, ProblemCallback onProblem)
    : file_(std::move(file)), onProblem_(std::move(onProblem)) {
  // SQLite's count of its memory (and the lock it takes for every allocation)
  // serves nothing here; it can only be switched off before SQLite starts.
  static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
  (void)configured;
}

HistoryStore::~HistoryStore() {
  // Runs the file could not take so far get one last chance.
  if (!waiting_.empty() && canRecord()) {
    std::vector<RunRecord> waiting = std::move(waiting_);
    waiting_.clear();
    for (const RunRecord& run : waiting)
      if (!write(run)) break;
  }
  close();
}

std::filesystem::path HistoryStore::defaultFile() {
  // Only absolute folders count. Without a home there is no history: a place
  // under /tmp would be shared with every other user of the machine.
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home == '/') {
    base = std::filesystem::path(home) / ".local" / "share";
  } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir == '/') {
    base = std::filesystem::path(pw->pw_dir) / ".local" / "share";
  } else {
    return {};
  }
  return base / "quorvel" / "history.sqlite3";
}

void HistoryStore::say(int trouble, const std::string& message) {
  // Each reader retries the open: the log gets a trouble once, not once a reader.
  if (message != notice_) platform::logProblem(message);
  notice_ = message;
  if (said_ & static_cast<unsigned>(trouble)) return;
  said_ |= static_cast<unsigned>(trouble);
  if (onProblem_) onProblem_(message);
}

namespace {
// A run's items and misses as the write hands them to SQL in one statement each.
struct ItemRow {
  static constexpr const char* kColumns =
      "class, item, tries, misses, last_seen, last_missed, ms_sum, timed, trace";
  int cls = 0;
  std::string item;
  int tries = 0, misses = 0, timed = 0;
  std::int64_t lastSeen = 0, lastMissed = 0, msSum = 0;
  std::string trace;

  void column(sqlite3_context* ctx, int i) const {
    switch (i) {
      case 0:
        return sqlite3_result_int(ctx, cls);
      case 1:
        return sqlite3_result_text(ctx, item.data(), static_cast<int>(item.size()), SQLITE_STATIC);
      case 2:
        return sqlite3_result_int(ctx, tries);
      case 3:
        return sqlite3_result_int(ctx, misses);
      case 4:
        return sqlite3_result_int64(ctx, lastSeen);
      case 5:
        return sqlite3_result_int64(ctx, lastMissed);
      case 6:
        return sqlite3_result_int64(ctx, msSum);
      case 7:
        return sqlite3_result_int(ctx, timed);
      default:
        return sqlite3_result_blob(ctx, trace.data(), static_cast<int>(trace.size()),
                                   SQLITE_STATIC);
    }
  }
};

struct MissRow {
  static constexpr const char* kColumns = "class, expected, typed";
  int cls = 0;
  std::string expected, typed;

  void column(sqlite3_context* ctx, int i) const {
    if (i == 0) return sqlite3_result_int(ctx, cls);
    const std::string& s = i == 1 ? expected : typed;
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_STATIC);
  }
};
}  // namespace

struct HistoryStore::Writers {
  explicit Writers(sqlite3* db)
      : attached(items.attach(db, "run_items") && misses.attach(db, "run_misses")),
        insertRun(db,
                  "INSERT INTO runs(kind, started, ended, items, right, speed, accuracy,"
                  " finished, label) VALUES(?,?,?,?,?,?,?,?,?)"),
        insertMisses(db,
                     "INSERT INTO mistakes(run, class, expected, typed)"
                     " SELECT ?1, class, expected, typed FROM run_misses"),
        countConfusions(db,
                        "INSERT INTO confusion_counts SELECT class, expected, typed, count(*), ?1"
                        " FROM run_misses WHERE true GROUP BY class, expected, typed"
                        " ON CONFLICT(class, expected, typed) DO UPDATE"
                        " SET count = count + excluded.count,"
                        " last_run = max(last_run, excluded.last_run)"),
        // New items are inserted; known ones add this run's counts and
        // entries to theirs (add_trace merges the traces). "WHERE true" lets
        // SQLite tell the upsert from a join.
        countItems(db,
                   "INSERT INTO items(class, item, tries, misses, last_seen, last_missed,"
                   " ms_sum, timed, trace) SELECT * FROM run_items WHERE true"
                   " ON CONFLICT(class, item) DO UPDATE SET tries = tries + excluded.tries,"
                   " misses = misses + excluded.misses,"
                   " last_seen = max(last_seen, excluded.last_seen),"
                   " last_missed = max(last_missed, excluded.last_missed),"
                   " ms_sum = ms_sum + excluded.ms_sum, timed = timed + excluded.timed,"
                   " trace = add_trace(trace, excluded.trace)") {}
  MemoryTable<ItemRow> items;
  MemoryTable<MissRow> misses;
  bool attached;
  Statement insertRun, insertMisses, countConfusions, countItems;
};

void HistoryStore::close() {
  writers_.reset();
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool HistoryStore::exec(const char* sql) {
  char* error = nullptr;
  const int code = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
  const std::string text = error ? error : sqlite3_errstr(code);
  sqlite3_free(error);
  if (code != SQLITE_OK) {
    failedWith(code, sql, text);
    return false;
  }
  return true;
}

bool HistoryStore::open() {
  if (db_) return true;
  if (leftAlone_) return false;
  const unsigned putAside = putAside_;
  if (openFile()) return true;
  // A damaged file was put aside: a new one takes its place.
  return putAside_ != putAside && openFile();
}

bool HistoryStore::canRecord() { return open() && !readOnly_; }

void HistoryStore::rollback() {
  if (db_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

namespace {
// A path as an SQLite URI ("file:" and the path, every byte beyond the
// plainest percent-encoded, so '?', '#' and '%' in a folder name stay part of it).
std::string fileUri(const std::filesystem::path& file, const char* query) {
  static const char* hex = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const char c : file.string()) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
        std::string_view("/._-~").find(c) != std::string_view::npos) {
      uri += c;
    } else {
      uri += '%';
      uri += hex[u >> 4];
      uri += hex[u & 0xF];
    }
  }
  return uri + "?" + query;
}
}  // namespace

bool HistoryStore::openFile() {
  if (file_.empty()) {
    say(CannotOpen, "练习记录无法保存：找不到用户的主目录。练习照常进行。");
    return false;
  }
  readOnly_ = false;
  const std::filesystem::path dir = file_.parent_path();
  const bool exists = ::access(file_.c_str(), F_OK) == 0;
  if (!exists) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (::access(dir.c_str(), W_OK) != 0) {
      const int error = ec ? ec.value() : errno;
      say(CannotOpen, "练习记录无法保存（" + platform::systemErrorText(error) +
                          "），练习照常进行，但不会记入：" + file_.string());
      return false;
    }
  }
  // WAL needs to write beside the file (its -wal and -shm), so a file that
  // cannot be written, or lies in a folder that cannot, is only read.
  readOnly_ = exists && (::access(file_.c_str(), W_OK) != 0 || ::access(dir.c_str(), W_OK) != 0);
  int code = SQLITE_OK;
  if (readOnly_) {
    // mode=ro reads the journal of a file in WAL mode when its -shm is there
    // or can be made; immutable=1 reads the file alone when neither can be.
    for (const char* query : {"mode=ro", "immutable=1"}) {
      code = sqlite3_open_v2(fileUri(file_, query).c_str(), &db_,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
      if (code == SQLITE_OK)
        code = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
      if (code == SQLITE_OK || isDamage(code)) break;
      close();
    }
  } else {
    code =
        sqlite3_open_v2(file_.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  }
  if (code != SQLITE_OK && !isDamage(code)) {
    const std::string text = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    // The system's reason says more than SQLite's "unable to open" (a folder
    // in the file's place, no permission).
    const int error = db_ ? sqlite3_system_errno(db_) : 0;
    const std::string reason =
        error != 0 ? platform::systemErrorText(error) + "；" + text : reasonText(code, text);
    close();
    say(CannotOpen,
        "练习记录打不开（" + reason + "），练习照常进行，但不会记入：" + file_.string());
    return false;
  }
  // A second tutor may hold the file a moment; waiting longer would stall the window.
  sqlite3_busy_timeout(db_, 200);
  sqlite3_create_function_v2(db_, "add_trace", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                             sqlAddTrace, nullptr, nullptr, nullptr);
  sqlite3_extended_result_codes(db_, 1);
  if (!migrate()) {
    close();
    return false;
  }
  if (readOnly_)
    say(ReadOnly, "练习记录文件只读：可以查看以前的记录，但这次的练习不会记入：" + file_.string());
  else
    notice_.clear();
  return true;
}

bool HistoryStore::migrate() {
  auto number = [this](const char* sql, std::int64_t& out) {
    Statement s(db_, sql);
    if (s.row()) {
      out = s.integer(0);
      return true;
    }
    failedWith(s.code(), sql, sqlite3_errmsg(db_), true);
    return false;
  };
  std::int64_t version = 0, application = 0, tables = 0;
  if (!number("PRAGMA user_version", version) || !number("PRAGMA application_id", application) ||
      !number("SELECT count(*) FROM sqlite_master WHERE name NOT LIKE 'sqlite!_%' ESCAPE '!'",
              tables))
    return false;
  // Ours: marked so, or (written before files were marked) holding the
  // tables of the first layout. Anything else holding tables belongs to
  // another program and is not touched.
  const bool ours =
      application == kApplicationId ||
      (application == 0 &&
       (tables == 0 || (version > 0 &&
                        hasColumns(db_, "runs",
                                   {"id", "kind", "started", "ended", "items", "right", "speed",
                                    "accuracy", "finished"}) &&
                        hasColumns(db_, "mistakes", {"run", "class", "expected", "typed"}))));
  if (!ours) {
    leftAlone_ = true;
    say(Foreign, "文件 " + file_.string() +
                     " 不是奎沃的练习记录（像是别的程序的数据库），本程序不改动它，练习照常进行，"
                     "但不会记入。");
    return false;
  }
  if (tables == 0) version = 0;
  if (version > kSchemaVersion) {
    leftAlone_ = true;
    say(Newer, "练习记录文件 " + file_.string() +
                   " 由较新版本的奎沃写入，本程序不改动它，这次的练习不记录。");
    return false;
  }
  if (readOnly_) {
    std::int64_t derived = 0;
    counted_ =
        number("SELECT count(*) FROM sqlite_master WHERE name = 'confusion_counts'", derived) &&
        derived != 0;
    if (version == kSchemaVersion) return true;
    say(CannotOpen, "练习记录文件只读，且是旧的格式，无法更新来查看：" + file_.string());
    return false;
  }
  // WAL: a reader (a second tutor's progress window) never blocks a writer.
  {
    Statement wal(db_, "PRAGMA journal_mode=WAL");
    if (!wal.row() && !wal.ok()) {
      failedWith(wal.code(), "switching to WAL", sqlite3_errmsg(db_));
      return false;
    }
  }
  // FULL: a run once committed survives a power loss too (NORMAL in WAL mode
  // may lose the last commits); one commit a run can afford the extra sync.
  if (!exec("PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON")) return false;
  std::int64_t derived = 0, triggers = 0;
  if (!number("SELECT count(*) FROM sqlite_master WHERE name = 'confusion_counts'", derived) ||
      !number("SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"
              " AND name IN ('confusion_counted', 'confusion_uncounted')",
              triggers))
    return false;
  counted_ = derived != 0;
  if (version == kSchemaVersion && application == kApplicationId && counted_ && triggers == 0)
    return true;
  if (!exec("BEGIN IMMEDIATE")) return false;
  for (auto v = version; v < kSchemaVersion; ++v) {
    if (!exec(kMigrations[v])) {
      rollback();
      return false;
    }
  }
  const std::string mark = "PRAGMA user_version=" + std::to_string(kSchemaVersion) +
                           "; PRAGMA application_id=" + std::to_string(kApplicationId);
  if (!exec(mark.c_str()) || (!counted_ && !exec(kDerived)) ||
      (triggers != 0 && !exec(kDropCountTriggers)) || !exec("COMMIT")) {
    rollback();
    return false;
  }
  counted_ = true;
  return true;
}

void HistoryStore::failed(int code, const char* what, bool reading) {
  failedWith(code, what, db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code), reading);
}

void HistoryStore::failedWith(int code, const char* what, const std::string& sqliteText,
                              bool reading) {
  // The log has what was being done; the learner our words and SQLite's.
  platform::logProblem("history: " + file_.string() + ": " + sqliteText + " (" + what + ")");
  const std::string reason = reasonText(code, sqliteText);
  if (isDamage(code) && !readOnly_) {
    putAside();
  } else if (isLock(code)) {
    say(Locked, "练习记录文件正被另一个程序占用：这次的记录先留在内存里，下次再写入。");
  } else if (reading || readOnly_) {
    say(CannotRead, "练习记录无法读取（" + reason + "）：" + file_.string());
  } else {
    say(CannotWrite, "练习记录无法写入（" + reason + "），练习照常进行：" + file_.string());
  }
}

void HistoryStore::putAside() {
  close();
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  std::filesystem::path aside = file_;
  aside += std::string(".damaged-") + stamp;
  for (int n = 2; std::filesystem::exists(aside); ++n) {
    aside = file_;
    aside += std::string(".damaged-") + stamp + "-" + std::to_string(n);
  }
  std::error_code ec;
  std::filesystem::rename(file_, aside, ec);
  if (ec) {
    say(CannotOpen, "练习记录文件已损坏，且无法改名（" + platform::systemErrorText(ec.value()) +
                        "），练习照常进行，但不再记录：" + file_.string());
    leftAlone_ = true;  // leave it alone from now on
    return;
  }
  // Its journal belongs to it: it goes along under the same new name.
  for (const char* suffix : {"-wal", "-shm"}) {
    std::filesystem::path from = file_, to = aside;
    from += suffix;
    to += suffix;
    if (std::filesystem::exists(from, ec)) std::filesystem::rename(from, to, ec);
  }
  ++putAside_;
  // The name alone fits the message pane; the log has the whole path.
  platform::logProblem("history: " + file_.string() + " damaged, kept as " + aside.string());
  say(Damaged, "练习记录文件已损坏，已改名为 " + aside.filename().string() +
                   " 保留在原处；新的记录从现在开始。");
}

void HistoryStore::record(const RunRecord& run) {
  if (run.items <= 0) return;
  waiting_.push_back(run);
  if (waiting_.size() > kMaxWaiting) waiting_.erase(waiting_.begin());
  if (!canRecord()) return;
  while (!waiting_.empty()) {
    if (!write(waiting_.front())) {
      // A file found damaged while writing was put aside: a new one takes the run.
      if (db_ || !open() || !write(waiting_.front())) return;
    }
    waiting_.erase(waiting_.begin());
  }
}

bool HistoryStore::write(const RunRecord& run) {
  if (!db_ || !exec("BEGIN IMMEDIATE")) return false;
  // The reason is read before the rollback, which would put its own in its place.
  auto undo = [this](int code, const char* what) {
    const std::string text = sqlite3_errmsg(db_);
    rollback();
    failedWith(code, what, text);
    return false;
  };
  if (!writers_) writers_ = std::make_unique<Writers>(db_);
  Writers& w = *writers_;
  const std::int64_t ended = seconds(run.ended);
  w.insertRun.bind(1, run.kind)
      .bind(2, seconds(run.started))
      .bind(3, ended)
      .bind(4, run.items)
      .bind(5, run.right)
      .bind(6, run.speed)
      .bind(7, run.accuracy)
      .bind(8, run.finished ? 1 : 0)
      .bind(9, run.label);
  if (!w.insertRun.run()) return undo(w.insertRun.code(), "writing a run");
  const std::int64_t id = sqlite3_last_insert_rowid(db_);

  // How often each item came in this run and how often it was missed.
  struct Count {
    int tries = 0, misses = 0, timed = 0;
    std::int64_t msSum = 0;
    std::vector<ItemTrace> entries;  // this run's, in order
  };
  const int day = localDay(ended);
  // Keyed by the entries' own texts, which outlive the write.
  struct Key {
    ItemClass cls;
    std::string_view text;
    bool operator==(const Key&) const = default;
  };
  struct Hash {
    std::size_t operator()(const Key& k) const {
      return std::hash<std::string_view>{}(k.text) ^ static_cast<std::size_t>(k.cls);
    }
  };
  std::unordered_map<Key, Count, Hash> counts;
  counts.reserve(run.entries.size());
  w.misses.rows.clear();
  for (const RunEntry& e : run.entries) {
    Count& c = counts[Key{e.cls, e.expected}];
    ++c.tries;
    const int ms = e.ms < 0 ? -1 : cappedEntryMs(e.ms);
    if (ms >= 0) {
      ++c.timed;
      c.msSum += ms;
    }
    c.entries.push_back(ItemTrace{day, e.right, ms});
    if (e.right) continue;
    ++c.misses;
    w.misses.rows.push_back(
        MissRow{static_cast<int>(e.cls), utf8Of(e.cls, e.expected), utf8Of(e.cls, e.typed)});
  }
  w.items.rows.clear();
  w.items.rows.reserve(counts.size());
  for (const auto& [key, c] : counts) {
    // Thinned before merging: a run's entries share one day, so adding them
    // thinned keeps what adding them one by one would.
    w.items.rows.push_back(ItemRow{static_cast<int>(key.cls), utf8Of(key.cls, key.text), c.tries,
                                   c.misses, c.timed, ended, c.misses > 0 ? ended : 0, c.msSum,
                                   encodeTrace(addTrace({}, c.entries))});
  }
  if (!w.attached) return undo(SQLITE_ERROR, "preparing a run's write");
  if (!w.misses.rows.empty()) {
    if (!w.insertMisses.bind(1, id).run()) return undo(w.insertMisses.code(), "writing the misses");
    if (!w.countConfusions.bind(1, id).run())
      return undo(w.countConfusions.code(), "counting the confusions");
  }
  if (!w.countItems.run()) return undo(w.countItems.code(), "counting the items");
  const int code = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  if (code != SQLITE_OK) return undo(code, "committing a run");
  notice_.clear();
  return true;
}

namespace {
std::vector<RunRow> readRuns(Statement& s) {
  std::vector<RunRow> out;
  while (s.row())
    out.push_back(RunRow{static_cast<int>(s.integer(0)), s.integer(1), s.integer(2),
                         static_cast<int>(s.integer(3)), static_cast<int>(s.integer(4)),
                         static_cast<int>(s.integer(5)), static_cast<int>(s.integer(6)),
                         s.integer(7) != 0, s.text(8)});
  return out;
}
}  // namespace

std::vector<RunRow> HistoryStore::labelledRuns() {
  if (!open()) return {};
  Statement s(db_,
              "SELECT kind, started, ended, items, right, speed, accuracy, finished, label"
              " FROM runs WHERE label <> '' ORDER BY ended, id");
  std::vector<RunRow> out = readRuns(s);
  if (s.code() != SQLITE_DONE) failed(s.code(), "reading the labelled runs", true);
  return out;
}

std::vector<RunRow> HistoryStore::runs() {
  if (!open()) return {};
  Statement s(db_,
              "SELECT kind, started, ended, items, right, speed, accuracy, finished, label"
              " FROM runs ORDER BY ended, id");
  std::vector<RunRow> out = readRuns(s);
  if (s.code() != SQLITE_DONE) failed(s.code(), "reading the runs", true);
  return out;
}

Totals HistoryStore::totals() {
  Totals t;
  if (!open()) return t;
  // A run's time counts at least one second, as its speed does.
  Statement s(db_,
              "SELECT COUNT(*), COALESCE(SUM(max(ended - started, 1)), 0),"
              " COALESCE(SUM(items), 0) FROM runs");
  if (s.row()) {
    t.runs = static_cast<int>(s.integer(0));
    t.seconds = s.integer(1);
    t.items = s.integer(2);
  } else {
    failed(s.code(), "reading the totals", true);
  }
  return t;
}

// Whether a run is of the series asked for: ?5 the label kept apart ('' for
// none), ?6 whether the series is that label's.
#define IN_SERIES "(?5 <> '' AND label = ?5) = ?6"

std::vector<KindRuns> HistoryStore::kindRuns(std::string_view apart) {
  std::vector<KindRuns> out;
  if (!open()) return out;
  // By kind through the kind index; the few runs of the label apart through
  // the label index, and the rest of their kind's runs counted again.
  Statement s(db_, "SELECT kind, COUNT(*), MAX(ended), MAX(id) FROM runs GROUP BY kind");
  while (s.row())
    out.push_back(KindRuns{static_cast<int>(s.integer(0)), false, static_cast<int>(s.integer(1)),
                           s.integer(2), s.integer(3)});
  if (s.code() != SQLITE_DONE) failed(s.code(), "reading the kinds", true);
  if (apart.empty()) return out;
  const std::string label(apart);
  Statement a(db_,
              "SELECT kind, COUNT(*), MAX(ended), MAX(id) FROM runs"
              " WHERE label = ?1 AND label <> '' GROUP BY kind");
  a.bind(1, label);
  Statement rest(db_,
                 "SELECT COUNT(*), MAX(ended), MAX(id) FROM runs WHERE kind = ?1 AND label <> ?2");
  std::vector<KindRuns> apartRuns;
  while (a.row())
    apartRuns.push_back(KindRuns{static_cast<int>(a.integer(0)), true,
                                 static_cast<int>(a.integer(1)), a.integer(2), a.integer(3)});
  if (a.code() != SQLITE_DONE) failed(a.code(), "reading the kinds", true);
  for (const KindRuns& k : apartRuns) {
    auto whole =
        std::find_if(out.begin(), out.end(), [&](const KindRuns& o) { return o.kind == k.kind; });
    if (whole == out.end()) continue;
    rest.reset();
    rest.bind(1, k.kind).bind(2, label);
    if (!rest.row() || rest.integer(0) == 0) {
      *whole = k;  // all of the kind's runs are apart
      continue;
    }
    *whole = KindRuns{k.kind, false, static_cast<int>(rest.integer(0)), rest.integer(1),
                      rest.integer(2)};
    out.insert(whole + 1, k);
  }
  return out;
}

KindChart HistoryStore::chart(int kind, int points, std::string_view apart, bool isApart) {
  KindChart c;
  if (!open() || points <= 0) return c;
  const std::string label(apart);
  auto bindSeries = [&](Statement& s) -> Statement& {
    return s.bind(1, kind).bind(5, label).bind(6, isApart ? 1 : 0);
  };
  {
    Statement s(db_,
                "SELECT COUNT(*), MIN(ended), MAX(ended), MAX(speed) FROM runs"
                " WHERE kind = ?1 AND " IN_SERIES);
    bindSeries(s);
    if (!s.row()) {
      failed(s.code(), "reading a kind's runs", true);
      return c;
    }
    c.runs = static_cast<int>(s.integer(0));
    c.first = s.integer(1);
    c.last = s.integer(2);
    c.bestSpeed = static_cast<int>(s.integer(3));
  }
  if (c.runs == 0) return c;
  {
    Statement s(db_,
                "SELECT kind, started, ended, items, right, speed, accuracy, finished, label"
                " FROM runs WHERE kind = ?1 AND " IN_SERIES
                " ORDER BY ended DESC, id DESC LIMIT 1");
    bindSeries(s);
    std::vector<RunRow> latest = readRuns(s);
    if (!latest.empty()) c.latest = latest.front();
  }
  // Each run while they fit; else the runs of each of `points` equal
  // stretches of time, by their mean.
  const bool each = c.runs <= points;
  Statement s(db_, each ? "SELECT ended, speed, accuracy, 1 FROM runs WHERE kind = ?1"
                          " AND " IN_SERIES " ORDER BY ended, id"
                        : "SELECT AVG(ended), AVG(speed), AVG(CASE WHEN accuracy >= 0 THEN"
                          " accuracy END), COUNT(*) FROM runs WHERE kind = ?1 AND " IN_SERIES
                          " GROUP BY (ended - ?2) * ?3 / ?4 ORDER BY 1");
  bindSeries(s);
  if (!each)
    s.bind(2, c.first).bind(3, points).bind(4, std::max<std::int64_t>(c.last - c.first + 1, 1));
  while (s.row()) {
    ChartPoint p;
    p.ended = static_cast<std::int64_t>(sqlite3_column_double(s.handle(), 0));
    p.speed = sqlite3_column_double(s.handle(), 1);
    p.accuracy = sqlite3_column_type(s.handle(), 2) == SQLITE_NULL
                     ? -1.0
                     : sqlite3_column_double(s.handle(), 2);
    if (p.accuracy < 0) p.accuracy = -1.0;
    p.runs = static_cast<int>(s.integer(3));
    c.points.push_back(p);
  }
  if (s.code() != SQLITE_DONE) failed(s.code(), "reading a kind's chart", true);
  return c;
}

namespace {
// The columns every item query reads, in readItems' order.
#define ITEM_COLUMNS "item, tries, misses, last_seen, last_missed, ms_sum, timed, trace"

std::vector<ItemStat> readItems(Statement& s, ItemClass cls) {
  std::vector<ItemStat> out;
  while (s.row())
    out.push_back(ItemStat{cls, s.text(0), static_cast<int>(s.integer(1)),
                           static_cast<int>(s.integer(2)), s.integer(3), s.integer(4), s.integer(5),
                           static_cast<int>(s.integer(6)), decodeTrace(s.blob(7))});
  return out;
}

// How far an item's mean time is over its class's limit, as a share of the limit.
#define SLOWNESS "max(0.0, CAST(ms_sum AS REAL) / max(timed, 1) / ?4 - 1.0)"
}  // namespace

std::vector<ItemStat> HistoryStore::items(ItemClass cls) {
  if (!open()) return {};
  Statement s(db_, "SELECT " ITEM_COLUMNS " FROM items WHERE class = ?");
  s.bind(1, static_cast<int>(cls));
  return readItems(s, cls);
}

std::optional<ItemStat> HistoryStore::item(ItemClass cls, const std::string& item) {
  if (!open()) return std::nullopt;
  Statement s(db_, "SELECT " ITEM_COLUMNS " FROM items WHERE class = ?1 AND item = ?2");
  s.bind(1, static_cast<int>(cls)).bind(2, item);
  std::vector<ItemStat> found = readItems(s, cls);
  if (found.empty()) return std::nullopt;
  return std::move(found.front());
}

std::vector<ItemStat> HistoryStore::weakest(ItemClass cls, int minTries, int limit) {
  if (!open()) return {};
  Statement s(db_, "SELECT " ITEM_COLUMNS
                   " FROM items"
                   " WHERE class = ?1 AND tries >= ?2 AND (misses > 0 OR " SLOWNESS
                   " > 0)"
                   " ORDER BY CAST(misses AS REAL) / tries + " SLOWNESS
                   " DESC, last_missed DESC,"
                   " tries DESC LIMIT ?3");
  s.bind(1, static_cast<int>(cls)).bind(2, minTries).bind(3, limit).bind(4, slowEntryMs(cls));
  return readItems(s, cls);
}

std::vector<ItemStat> HistoryStore::mastered(ItemClass cls, int minTries, int limit) {
  if (!open()) return {};
  Statement s(db_, "SELECT " ITEM_COLUMNS
                   " FROM items"
                   " WHERE class = ?1 AND misses = 0 AND tries >= ?2 AND " SLOWNESS
                   " = 0"
                   " ORDER BY tries DESC, last_seen DESC LIMIT ?3");
  s.bind(1, static_cast<int>(cls)).bind(2, minTries).bind(3, limit).bind(4, slowEntryMs(cls));
  return readItems(s, cls);
}

std::vector<Confusion> HistoryStore::confusions(int limit) {
  std::vector<Confusion> out;
  if (!open()) return out;
  // The counts the file keeps; a file only read may lack them, and is counted here.
  Statement s(db_, counted_ ? "SELECT class, expected, typed, count FROM confusion_counts"
                              " ORDER BY count DESC, last_run DESC LIMIT ?"
                            : "SELECT class, expected, typed, COUNT(*) AS n FROM mistakes"
                              " GROUP BY class, expected, typed ORDER BY n DESC, MAX(run) DESC"
                              " LIMIT ?");
  s.bind(1, limit);
  while (s.row())
    out.push_back(Confusion{static_cast<ItemClass>(s.integer(0)), s.text(1), s.text(2),
                            static_cast<int>(s.integer(3))});
  return out;
}

namespace {
// A run's misses as the CSV lists them: "expected→typed", roots numbered
// from 1 where the learner sees them, as their pictures are.
void addMiss(std::string& list, ItemClass cls, std::string expected, const std::string& typed) {
  if (!list.empty()) list += ' ';
  if (cls == ItemClass::Root) expected = "字根" + std::to_string(std::atoi(expected.c_str()) + 1);
  list += expected + "→" + typed;
}

std::string csvLine(const std::string& id, const std::string& kind, std::int64_t started,
                    std::int64_t ended, std::int64_t items, std::int64_t right, std::int64_t speed,
                    std::int64_t accuracy, bool finished, const std::string& misses) {
  return id + ',' + csvField(kind) + ',' + localTime(started) + ',' + localTime(ended) + ',' +
         std::to_string(items) + ',' + std::to_string(right) + ',' + std::to_string(speed) + ',' +
         (accuracy < 0 ? "" : std::to_string(accuracy)) + ',' + (finished ? "是" : "否") + ',' +
         csvField(misses) + "\r\n";
}
}  // namespace

std::optional<std::string> HistoryStore::csv(const KindName& kindName) {
  // Only a file that can be read gives the whole history; the runs still
  // waiting to be written come after its own, numbered "待写入".
  if (!open()) return std::nullopt;
  const auto nameOf = [&kindName](std::int64_t kind, const std::string& label) {
    return kindName ? kindName(static_cast<int>(kind), label) : std::to_string(kind);
  };
  // The mark at the start tells spreadsheet programs the text is UTF-8.
  std::string out = "\xEF\xBB\xBF编号,练习,开始,结束,条目,正确,速度,正确率,完成,错误\r\n";
  std::map<std::int64_t, std::string> misses;
  {
    Statement m(db_, "SELECT run, class, expected, typed FROM mistakes ORDER BY rowid");
    while (m.row())
      addMiss(misses[m.integer(0)], static_cast<ItemClass>(m.integer(1)), m.text(2), m.text(3));
    if (m.code() != SQLITE_DONE) {
      failed(m.code(), "reading the misses", true);
      return std::nullopt;
    }
  }
  Statement s(db_,
              "SELECT id, kind, started, ended, items, right, speed, accuracy, finished, label"
              " FROM runs"
              " ORDER BY ended, id");
  while (s.row()) {
    const std::int64_t id = s.integer(0);
    out += csvLine(std::to_string(id), nameOf(s.integer(1), s.text(9)), s.integer(2), s.integer(3),
                   s.integer(4), s.integer(5), s.integer(6), s.integer(7), s.integer(8) != 0,
                   misses[id]);
  }
  if (s.code() != SQLITE_DONE) {
    failed(s.code(), "reading the runs", true);
    return std::nullopt;
  }
  for (const RunRecord& run : waiting_) {
    std::string list;
    for (const RunEntry& e : run.entries)
      if (!e.right) addMiss(list, e.cls, utf8Of(e.cls, e.expected), utf8Of(e.cls, e.typed));
    out += csvLine("待写入", nameOf(run.kind, run.label), seconds(run.started), seconds(run.ended),
                   run.items, run.right, run.speed, run.accuracy, run.finished, list);
  }
  return out;
}

bool HistoryStore::clear() {
  if (!canRecord()) return false;
  if (!exec("BEGIN IMMEDIATE")) return false;
  if (!exec("DELETE FROM mistakes; DELETE FROM confusion_counts; DELETE FROM items;"
            " DELETE FROM runs") ||
      !exec("COMMIT")) {
    rollback();
    return false;
  }
  waiting_.clear();
  return true;
}

int HistoryStore::schemaVersion() {
  if (!open()) return 0;
  Statement s(db_, "PRAGMA user_version");
  return s.row() ? static_cast<int>(s.integer(0)) : 0;
}

}  // namespace quorvel::history
