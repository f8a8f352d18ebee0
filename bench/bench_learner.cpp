// How many entries a simulated learner types before the 500 most frequent
// characters are fluent: once following the learning path (its real planner,
// with every session written to a real history store and read back), once
// doing the tutor's own drills round after round as a diligent learner would.
//
// The learner model. Every item (a root "0".."175", a character, a word, named
// as the history names them) has a memory stability S in days and a count n of
// right exposures. Its retrievability after D days since it last came is
// R = exp(-D / S). An item never seen is right with probability p0 (the learner
// looks its code up) and takes tSlow; a seen one is right with probability R
// (at least p0 when the floor is on) and takes
//   tFast + (tSlow - tFast) * (1 - R * (1 - exp(-n / n0)))  ms, at most 10 s.
// The first exposure sets S = S0. A right one then makes S = S * (1 + growth *
// (1 - R) + base) and n = n + 1: a harder recall strengthens more (the spacing
// effect), a repeat the same day (R near 1) only by the small base. A miss makes
// S = max(Smin, S * missFactor). Items are independent: a root learned does
// not help a character, nor a word its characters. Each day the learner types
// a fixed number of entries, then stops until the next morning; a path session
// is cut there, a drill run goes on the next day.
//
// The goal: at the start of a day, before practising, each of the 500 first
// distinct characters of the full-code table scores P(right) if its entry time
// is within the path's target for its stage (one-level, two-level or other
// characters), else 0; reached when the mean is at least 0.95.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "data/PracticeData.h"
#include "history/HistoryStore.h"
#include "path/LearningPath.h"
#include "platform/Gbk.h"
#include "platform/ResourceLibrary.h"

namespace {

using namespace quorvel;
using history::ItemClass;
using path::Group;

struct Params {
  const char* name;
  double p0 = 0.5;
  bool floorP0 = true;
  double s0 = 0.5;  // days
  double sMin = 0.2;
  double growth = 2.0;
  double base = 0.1;
  double missFactor = 0.5;
  double tFast = 700, tSlow = 6000;  // ms
  double n0 = 4;
};

// The simulation's own settings, the same for both learners.
constexpr int kEntriesPerDay = 300;
constexpr long kEntryCap = 400000;
constexpr double kGoalScore = 0.95;
constexpr int kGoalChars = 500;
constexpr std::size_t kTextEntries = 200;
constexpr std::uint32_t kSeed = 20240304;

constexpr double kSecondsPerDay = 86400.0;

struct Memory {
  bool seen = false;
  int n = 0;
  double s = 0;     // days
  double last = 0;  // seconds since 1970
};

class Learner {
 public:
  Learner(const Params& p, std::uint32_t seed) : p_(p), rng_(seed) {}

  double retrievability(const Memory& m, double now) const {
    return m.seen ? std::exp(-std::max(0.0, now - m.last) / kSecondsPerDay / m.s) : 0.0;
  }
  double pRight(const Memory& m, double now) const {
    if (!m.seen) return p_.p0;
    const double r = retrievability(m, now);
    return p_.floorP0 ? std::max(r, p_.p0) : r;
  }
  int entryMs(const Memory& m, double now) const {
    if (!m.seen) return static_cast<int>(std::min(p_.tSlow, 10000.0));
    const double r = retrievability(m, now);
    const double ms = p_.tFast + (p_.tSlow - p_.tFast) * (1 - r * (1 - std::exp(-m.n / p_.n0)));
    return static_cast<int>(std::min(ms, 10000.0));
  }

  struct Outcome {
    bool right;
    int ms;
  };
  // One entry of an item at `now` (seconds): decided, timed, remembered.
  Outcome type(ItemClass cls, const std::string& key, double now) {
    Memory& m = items_[static_cast<std::size_t>(cls)][key];
    const double r = retrievability(m, now);
    const Outcome out{std::uniform_real_distribution<double>(0, 1)(rng_) < pRight(m, now),
                      entryMs(m, now)};
    if (!m.seen) {
      m.seen = true;
      m.s = p_.s0;
    } else if (out.right) {
      m.s *= 1 + p_.growth * (1 - r) + p_.base;
    } else {
      m.s = std::max(p_.sMin, m.s * p_.missFactor);
    }
    if (out.right) ++m.n;
    m.last = now;
    return out;
  }

  const Memory& memory(ItemClass cls, const std::string& key) const {
    static const Memory unseen;
    const auto& byKey = items_[static_cast<std::size_t>(cls)];
    const auto found = byKey.find(key);
    return found == byKey.end() ? unseen : found->second;
  }

 private:
  Params p_;
  std::mt19937 rng_;
  std::array<std::unordered_map<std::string, Memory>, 3> items_;
};

// The planner's draws, from a fixed seed instead of the clock.
class SeededRandom : public platform::RandomSource {
 public:
  explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
  void seedFromClock() override {}
  int uniform(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
  std::mt19937& engine() { return engine_; }

 private:
  std::mt19937 engine_;
};

std::string trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  return std::string(s);
}

// The texts of the records a drill of that kind draws from, as UTF-8.
std::vector<std::string> drawnRecords(const PracticeData& data, int kind) {
  const KindInfo& info = kindInfo(kind);
  const std::string& records = data.tables[static_cast<std::size_t>(kind)].records;
  const auto width = static_cast<std::size_t>(info.recordBytes);
  std::vector<std::string> out;
  for (int i = 0; i < info.records; ++i) {
    const std::size_t at = static_cast<std::size_t>(i) * width;
    if (at + width > records.size()) break;
    out.push_back(gbk::toUtf8(trimmed(std::string_view(records).substr(at, info.textBytes))));
  }
  return out;
}

bool isHanzi(const std::string& gbkText) {
  if (gbkText.size() != 2) return false;
  const auto lead = static_cast<unsigned char>(gbkText[0]);
  const auto trail = static_cast<unsigned char>(gbkText[1]);
  return lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE;
}

// The 500 characters and the target of each.
struct Goal {
  std::vector<std::pair<std::string, int>> chars;  // UTF-8, target ms
  std::vector<Group> groups;                       // of each character
  std::array<int, path::kGroupCount> perGroup{};

  // The test's score, and its mean within each group of characters.
  struct Score {
    double all = 0;
    std::array<double, path::kGroupCount> byGroup{};
    int seen = 0;  // characters typed at least once
  };
  Score score(const Learner& learner, double now) const {
    Score out;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      const auto& [key, target] = chars[i];
      const Memory& m = learner.memory(ItemClass::Character, key);
      const double p = learner.entryMs(m, now) <= target ? learner.pRight(m, now) : 0.0;
      out.all += p;
      out.byGroup[static_cast<std::size_t>(groups[i])] += p;
      if (m.seen) ++out.seen;
    }
    if (!chars.empty()) out.all /= static_cast<double>(chars.size());
    for (std::size_t g = 0; g < out.byGroup.size(); ++g)
      if (perGroup[g] > 0) out.byGroup[g] /= perGroup[g];
    return out;
  }
};

Goal makeGoal(const PracticeData& data, const path::LearningPath& lp,
              const path::Targets& targets) {
  std::map<std::string, Group> groupOf;
  for (int s = 0; s < lp.stageCount(); ++s) {
    const Group g = lp.stage(s).group;
    if (g != Group::OneChar && g != Group::TwoChar && g != Group::Char) continue;
    for (const path::PathItem& item : lp.items(s)) groupOf.emplace(item.key, g);
  }
  Goal goal;
  std::set<std::string> seen;
  const KindInfo& info = kindInfo(pkAllchar);
  const std::string& records = data.tables[pkAllchar].records;
  const auto width = static_cast<std::size_t>(info.recordBytes);
  for (std::size_t at = 0; at + width <= records.size() && goal.chars.size() < kGoalChars;
       at += width) {
    const std::string c = trimmed(std::string_view(records).substr(at, info.textBytes));
    if (c.size() != 2 || !seen.insert(c).second) continue;
    const std::string key = gbk::toUtf8(c);
    const auto found = groupOf.find(key);
    const Group g = found == groupOf.end() ? Group::Char : found->second;
    ++goal.perGroup[static_cast<std::size_t>(g)];
    goal.chars.emplace_back(key, targets.of(g));
    goal.groups.push_back(g);
  }
  return goal;
}

// The simulated clock: day d starts at 09:00 local time, entries take their time.
double dayStart(int day) {
  std::tm tm{};
  tm.tm_year = 2024 - 1900;
  tm.tm_mon = 2;
  tm.tm_mday = 4;
  tm.tm_hour = 9;
  tm.tm_isdst = -1;
  return static_cast<double>(std::mktime(&tm)) + day * kSecondsPerDay;
}

platform::TimePoint timePoint(double seconds) {
  return platform::TimePoint(std::chrono::duration_cast<platform::TimePoint::duration>(
      std::chrono::duration<double>(seconds)));
}

// How often the test's score is kept for the report.
constexpr int kSampleDays = 100;

struct Result {
  bool reached = false;
  long entries = 0;
  int days = 0;
  double score = 0;
  std::vector<std::pair<int, Goal::Score>> samples;  // every kSampleDays days
};

// What the path learner spent its entries on, and when each stage was passed.
struct PathLog {
  std::array<long, path::kGroupCount> entriesByGroup{};
  long reviewEntries = 0;  // entries of sessions of another stage than the current one
  int sessions = 0;
  std::vector<std::pair<int, long>> passed;  // per stage: day, entries (-1: not passed)
  double storeSeconds = 0, planSeconds = 0;
  // The last whole read of the store: how long it took and what it held.
  double lastReadMs = 0;
  std::size_t lastItems = 0, lastRuns = 0;
};

// One day's test first; stops when the goal is met or the entries run out.
template <typename Practise>
Result simulate(const Goal& goal, const Learner& learner, Practise&& practiseDay) {
  Result r;
  for (int day = 0;; ++day) {
    const Goal::Score score = goal.score(learner, dayStart(day));
    r.score = score.all;
    r.days = day;
    if (day % kSampleDays == 0) r.samples.emplace_back(day, score);
    if (r.score >= kGoalScore) {
      r.reached = true;
      return r;
    }
    if (r.entries >= kEntryCap) return r;
    r.entries += practiseDay(day);
  }
}

// The text's Chinese characters as GBK, at most `limit` of them.
std::vector<std::string> textCharacters(const std::string& file, std::size_t limit) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  std::vector<std::string> out;
  for (std::size_t at = 0; at < text.size() && out.size() < limit;) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const std::string c = gbk::fromUtf8(std::string_view(text).substr(at, len));
    at += len;
    if (isHanzi(c)) out.push_back(c);
  }
  return out;
}

bool sameItem(const history::ItemStat& a, const history::ItemStat& b) {
  return a.cls == b.cls && a.item == b.item && a.tries == b.tries && a.misses == b.misses &&
         a.lastSeen == b.lastSeen && a.lastMissed == b.lastMissed && a.msSum == b.msSum &&
         a.timed == b.timed && a.trace == b.trace;
}

bool sameRun(const history::RunRow& a, const history::RunRow& b) {
  return a.kind == b.kind && a.started == b.started && a.ended == b.ended && a.items == b.items &&
         a.right == b.right && a.speed == b.speed && a.accuracy == b.accuracy &&
         a.finished == b.finished && a.label == b.label;
}

bool sameFacts(const path::LearningPath::Facts& a, const path::LearningPath::Facts& b) {
  for (std::size_t c = 0; c < a.items.size(); ++c) {
    if (a.items[c].size() != b.items[c].size()) return false;
    for (auto x = a.items[c].begin(), y = b.items[c].begin(); x != a.items[c].end(); ++x, ++y)
      if (x->first != y->first || !sameItem(x->second, y->second)) return false;
  }
  return std::equal(a.labelledRuns.begin(), a.labelledRuns.end(), b.labelledRuns.begin(),
                    b.labelledRuns.end(), sameRun);
}

std::int64_t wholeSeconds(platform::TimePoint t) {
  return std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch()).count();
}

// The path learner. Every session is planned by the real planner from the
// facts of a real history store on a temporary file. Reading the whole store
// before each of thousands of sessions would cost most of the run (a few ms
// for thousands of items, each time), so the facts are read whole at the start of
// each day and, between sessions, brought up to date with the store's own
// rows of the items just typed and the run just written; the whole read of the
// next day must agree with them, or the benchmark stops.
Result runPath(const path::LearningPath& lp, const path::Targets& targets, const Goal& goal,
               const Params& p, PathLog& log) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("quorvel-bench-learner-" + std::to_string(::getpid()) + "-" + p.name + ".sqlite3");
  auto removeStore = [&file] {
    for (const char* tail : {"", "-wal", "-shm", "-journal"})
      std::filesystem::remove(file.string() + tail);
  };
  removeStore();
  Result result;
  {
    history::HistoryStore store(
        file, [](const std::string& m) { std::fprintf(stderr, "history: %s\n", m.c_str()); });
    Learner learner(p, kSeed);
    SeededRandom random(kSeed + 1);
    log.passed.assign(static_cast<std::size_t>(lp.stageCount()), {-1, -1});
    long total = 0;
    path::LearningPath::Facts facts;
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::time_point from) {
      return std::chrono::duration<double>(Clock::now() - from).count();
    };
    result = simulate(goal, learner, [&](int day) {
      auto t = Clock::now();
      path::LearningPath::Facts whole = path::LearningPath::readFacts(store);
      log.lastReadMs = 1000 * seconds(t);
      log.storeSeconds += log.lastReadMs / 1000;
      log.lastItems = whole.items[0].size() + whole.items[1].size() + whole.items[2].size();
      log.lastRuns = whole.labelledRuns.size();
      if (day > 0 && !sameFacts(whole, facts)) {
        std::fprintf(stderr, "day %d: the facts kept between sessions differ from the store's\n",
                     day);
        std::exit(1);
      }
      facts = std::move(whole);
      double now = dayStart(day);
      int typed = 0;
      while (typed < kEntriesPerDay) {
        t = Clock::now();
        const path::Standing standing =
            lp.assess(facts, targets, history::localDay(static_cast<std::int64_t>(now)));
        for (int s = 0; s < lp.stageCount(); ++s)
          if (standing.stages[static_cast<std::size_t>(s)].passed &&
              log.passed[static_cast<std::size_t>(s)].first < 0)
            log.passed[static_cast<std::size_t>(s)] = {day, total + typed};
        const SessionPlan plan = lp.nextSession(standing, targets, random);
        log.planSeconds += seconds(t);
        if (plan.items.empty() && plan.textFile.empty()) break;  // nothing left to type

        const ItemClass cls = plan.kind == pkPathRoot   ? ItemClass::Root
                              : plan.kind == pkPathWord ? ItemClass::Word
                                                        : ItemClass::Character;
        const std::vector<std::string> items =
            plan.kind == pkPathText ? textCharacters(plan.textFile, kTextEntries) : plan.items;
        Group group = Group::Text;
        for (int s = 0; s < lp.stageCount(); ++s)
          if (path::LearningPath::sessionLabel(lp.stage(s)) == plan.label)
            group = lp.stage(s).group;
        const bool review =
            standing.current >= lp.stageCount() ||
            plan.label != path::LearningPath::sessionLabel(lp.stage(standing.current));

        history::RunRecord run;
        run.kind = plan.kind;
        run.label = plan.label;
        const double started = now;
        int right = 0;
        for (const std::string& item : items) {
          if (typed == kEntriesPerDay) break;
          const std::string key = cls == ItemClass::Root ? item : gbk::toUtf8(item);
          const Learner::Outcome o = learner.type(cls, key, now);
          now += o.ms / 1000.0;
          ++typed;
          if (o.right) ++right;
          std::string typedText = item;
          if (cls == ItemClass::Root)
            typedText = std::string(1, o.right ? rootKey(std::stoi(item)) : '?');
          else if (!o.right)
            typedText = "?";
          run.entries.push_back(history::RunEntry{cls, item, typedText, o.right, o.ms});
        }
        const int count = static_cast<int>(run.entries.size());
        history::setRunFigures(run, timePoint(started), count, right,
                               static_cast<int>(std::lround(now - started)));
        run.ended = timePoint(now);
        run.finished = count == static_cast<int>(items.size());

        t = Clock::now();
        store.record(run);
        std::set<std::pair<ItemClass, std::string>> typedItems;
        for (const history::RunEntry& e : run.entries)
          typedItems.emplace(e.cls,
                             e.cls == ItemClass::Root ? e.expected : gbk::toUtf8(e.expected));
        for (const auto& [c, name] : typedItems)
          if (std::optional<history::ItemStat> stat = store.item(c, name))
            facts.items[static_cast<std::size_t>(c)].insert_or_assign(name, std::move(*stat));
        facts.labelledRuns.push_back(
            history::RunRow{run.kind, wholeSeconds(run.started), wholeSeconds(run.ended), run.items,
                            run.right, run.speed, run.accuracy, run.finished, run.label});
        log.storeSeconds += seconds(t);

        ++log.sessions;
        log.entriesByGroup[static_cast<std::size_t>(group)] += count;
        if (review) log.reviewEntries += count;
        now += 5;  // between sessions
      }
      total += typed;
      return typed;
    });
  }
  removeStore();
  return result;
}

// The seed's drills in the order a diligent learner takes them, each to its end.
constexpr int kSeedOrder[] = {pkRoot,    pkOnechar, pkTwochar, pkThreechar,
                              pkAllchar, pkWord2,   pkWord3,   pkWord4};

Result runSeed(const PracticeData& data, const Goal& goal, const Params& p) {
  std::map<int, std::vector<std::string>> pools;
  for (int kind : kSeedOrder)
    if (kind != pkRoot) pools[kind] = drawnRecords(data, kind);
  Learner learner(p, kSeed);
  SeededRandom random(kSeed + 1);
  std::size_t next = 0;
  ItemClass cls = ItemClass::Root;
  std::vector<std::string> run;
  std::size_t at = 0;
  auto startRun = [&] {
    const int kind = kSeedOrder[next++ % std::size(kSeedOrder)];
    run.clear();
    at = 0;
    if (kind == pkRoot) {
      // Every root once in a random order, then random ones to the run's 248.
      cls = ItemClass::Root;
      std::vector<int> roots(kRootCount);
      for (int r = 0; r < kRootCount; ++r) roots[static_cast<std::size_t>(r)] = r;
      std::shuffle(roots.begin(), roots.end(), random.engine());
      for (int r : roots) run.push_back(std::to_string(r));
      while (run.size() < 248) run.push_back(std::to_string(random.uniform(kRootCount)));
      return;
    }
    cls = kindInfo(kind).tip == TipKind::Word ? ItemClass::Word : ItemClass::Character;
    const std::vector<std::string>& pool = pools[kind];
    for (int i = 0; i < kindInfo(kind).drawn; ++i)
      run.push_back(pool[static_cast<std::size_t>(random.uniform(static_cast<int>(pool.size())))]);
  };
  startRun();
  return simulate(goal, learner, [&](int day) {
    double now = dayStart(day);
    for (int i = 0; i < kEntriesPerDay; ++i) {
      if (at == run.size()) {
        startRun();
        now += 5;
      }
      now += learner.type(cls, run[at++], now).ms / 1000.0;
    }
    return kEntriesPerDay;
  });
}

std::string outcome(const Result& r) {
  char buf[96];
  if (r.reached)
    std::snprintf(buf, sizeof buf, "%7ld entries %4d days", r.entries, r.days);
  else
    std::snprintf(buf, sizeof buf, "not reached in %ld entries (%d days; %.2f)", r.entries, r.days,
                  r.score);
  return buf;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path lib = QUORVEL_BUILT_LIBRARY;
  if (!std::filesystem::exists(lib)) {
    std::fprintf(stderr, "built resource library not found: %s\n", lib.c_str());
    return 1;
  }
  const PracticeData data = loadPracticeData(platform::ResourceLibrary(lib));
  for (int kind : kSeedOrder)
    if (kind != pkRoot &&
        !hasEnoughRecords(kind, data.tables[static_cast<std::size_t>(kind)].records)) {
      std::fprintf(stderr, "the library lacks the table of kind %d\n", kind);
      return 1;
    }
  std::vector<std::string> texts;
  for (const auto& entry : std::filesystem::directory_iterator(QUORVEL_PRACTICE_TEXTS))
    if (entry.path().extension() == ".txt") texts.push_back(entry.path().string());
  std::sort(texts.begin(), texts.end());
  const path::LearningPath lp(data, texts);
  const path::Targets targets = path::Targets::defaults();
  const Goal goal = makeGoal(data, lp, targets);

  std::printf(
      "Goal: the first %zu characters of the full-code table (%d one-level, %d two-level,"
      " %d other) right and within target (%d/%d/%d ms), mean score >= %.2f in a test at"
      " the start of a day.\n",
      goal.chars.size(), goal.perGroup[static_cast<std::size_t>(Group::OneChar)],
      goal.perGroup[static_cast<std::size_t>(Group::TwoChar)],
      goal.perGroup[static_cast<std::size_t>(Group::Char)], targets.of(Group::OneChar),
      targets.of(Group::TwoChar), targets.of(Group::Char), kGoalScore);
  std::printf("Both learners: %d entries a day, at most %ld entries, seed %u.\n\n", kEntriesPerDay,
              kEntryCap, kSeed);

  const Params settings[] = {
      {"default"},
      {"fast", 0.7, true, 0.8, 0.3, 3.0, 0.2, 0.6, 600, 5000, 3},
      {"slow", 0.35, true, 0.3, 0.1, 1.2, 0.05, 0.3, 800, 7000, 6},
  };
  std::printf("%-8s %5s %5s %5s %5s %6s %5s %5s %6s %6s %4s\n", "learner", "p0", "floor", "S0",
              "Smin", "growth", "base", "miss", "tFast", "tSlow", "n0");
  for (const Params& p : settings)
    std::printf("%-8s %5.2f %5s %5.2f %5.2f %6.2f %5.2f %5.2f %6.0f %6.0f %4.0f\n", p.name, p.p0,
                p.floorP0 ? "yes" : "no", p.s0, p.sMin, p.growth, p.base, p.missFactor, p.tFast,
                p.tSlow, p.n0);
  // Each learner on its own thread: the runs share nothing but the read-only data.
  const std::size_t count = std::size(settings);
  std::vector<Result> pathResults(count), seedResults(count);
  std::vector<PathLog> logs(count);
  std::vector<bool> chosen(count, true);
  for (std::size_t i = 0; i < count; ++i)
    chosen[i] = argc < 2 || std::string(argv[1]) == settings[i].name;  // one learner, by name
  std::atomic<std::size_t> nextJob{0};
  auto worker = [&] {
    for (std::size_t job; (job = nextJob++) < 2 * count;) {
      const std::size_t i = job / 2;
      if (!chosen[i]) continue;
      if (job % 2 == 0)
        pathResults[i] = runPath(lp, targets, goal, settings[i], logs[i]);
      else
        seedResults[i] = runSeed(data, goal, settings[i]);
    }
  };
  {
    std::vector<std::jthread> workers;
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 6u);
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(worker);
  }

  std::printf("\n%-8s  %-47s  %-47s  %s\n", "learner", "path", "seed drills", "seed/path");
  for (std::size_t i = 0; i < count; ++i) {
    if (!chosen[i]) continue;
    const Result& a = pathResults[i];
    const Result& b = seedResults[i];
    char ratio[32] = "-";
    if (a.reached)
      std::snprintf(ratio, sizeof ratio, "%s%.2f", b.reached ? "" : ">",
                    static_cast<double>(b.entries) / static_cast<double>(a.entries));
    std::printf("%-8s  %-47s  %-47s  %s\n", settings[i].name, outcome(a).c_str(),
                outcome(b).c_str(), ratio);
  }

  for (std::size_t i = 0; i < count; ++i) {
    if (!chosen[i]) continue;
    const PathLog& log = logs[i];
    std::printf("\n%s learner, path: %d sessions; entries by group:", settings[i].name,
                log.sessions);
    for (int g = 0; g < path::kGroupCount; ++g)
      std::printf(" %s %ld", path::Targets::groupName(static_cast<Group>(g)),
                  log.entriesByGroup[static_cast<std::size_t>(g)]);
    std::printf("; %ld of them in review sessions.\n", log.reviewEntries);
    std::printf(
        "  store %.1f s (the last readFacts: %.1f ms for %zu items, %zu labelled runs),"
        " assess + nextSession %.1f s (%.2f ms a session)\n",
        log.storeSeconds, log.lastReadMs, log.lastItems, log.lastRuns, log.planSeconds,
        log.sessions > 0 ? 1000 * log.planSeconds / log.sessions : 0.0);
    std::printf("  stages passed (day/entries):");
    for (int s = 0; s < lp.stageCount(); ++s) {
      const auto& [day, entries] = log.passed[static_cast<std::size_t>(s)];
      if (day >= 0) std::printf(" %s %d/%ld", lp.stage(s).id, day, entries);
    }
    std::printf("\n  test score by day (all; one-level, two-level, other; characters seen):\n");
    for (const auto& [name, r] : {std::pair{"path", &pathResults[i]}, {"seed", &seedResults[i]}}) {
      std::printf("    %s:", name);
      for (const auto& [day, sc] : r->samples)
        std::printf(" d%d %.2f (%.2f %.2f %.2f; %d)", day, sc.all,
                    sc.byGroup[static_cast<std::size_t>(Group::OneChar)],
                    sc.byGroup[static_cast<std::size_t>(Group::TwoChar)],
                    sc.byGroup[static_cast<std::size_t>(Group::Char)], sc.seen);
      std::printf("\n");
    }
  }
  return 0;
}
