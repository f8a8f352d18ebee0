#include "path/LearningPath.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/Gbk.h"

namespace quorvel::path {

namespace {

using G = Group;
using S = Source;

// The keyboard zones the roots and the level-2 characters are learned by:
// each hand's home row, then its upper row, then the lower row; N and M, the
// right hand's two lower keys with a single root each between them, go with
// its home row.
constexpr const char* kHomeLeft = "ASDFG";
constexpr const char* kHomeRight = "HJKLNM";
constexpr const char* kTopLeft = "QWERT";
constexpr const char* kTopRight = "YUIOP";
constexpr const char* kBottomLeft = "ZXCVB";

constexpr StageInfo kStages[] = {
    {"roots-home-left", "字根 · 左手中排 A S D F G", S::RootKeys, G::Root, kHomeLeft},
    {"roots-home-right", "字根 · 右手中排 H J K L 和 N M", S::RootKeys, G::Root, kHomeRight},
    {"roots-top-left", "字根 · 左手上排 Q W E R T", S::RootKeys, G::Root, kTopLeft},
    {"roots-top-right", "字根 · 右手上排 Y U I O P", S::RootKeys, G::Root, kTopRight},
    {"roots-bottom-left", "字根 · 左手下排 Z X C V B", S::RootKeys, G::Root, kBottomLeft},
    {"onechar", "一级简码 · 26 个最常用的字", S::OneChar, G::OneChar},
    {"twochar-home-left", "二级简码 · 首码 A S D F G", S::TwoCharKeys, G::TwoChar, kHomeLeft},
    {"twochar-home-right", "二级简码 · 首码 H J K L N M", S::TwoCharKeys, G::TwoChar, kHomeRight},
    {"twochar-top-left", "二级简码 · 首码 Q W E R T", S::TwoCharKeys, G::TwoChar, kTopLeft},
    {"twochar-top-right", "二级简码 · 首码 Y U I O P", S::TwoCharKeys, G::TwoChar, kTopRight},
    {"twochar-bottom-left", "二级简码 · 首码 Z X C V B", S::TwoCharKeys, G::TwoChar, kBottomLeft},
    {"chars-1", "常用字 第 1–300 个（三级简码、完整编码）", S::CharBand, G::Char, "", pkAllchar, 0,
     300},
    {"chars-2", "常用字 第 301–700 个", S::CharBand, G::Char, "", pkAllchar, 300, 700},
    {"chars-3", "常用字 第 701–1200 个", S::CharBand, G::Char, "", pkAllchar, 700, 1200},
    {"chars-4", "常用字 第 1201–2000 个", S::CharBand, G::Char, "", pkAllchar, 1200, 2000},
    {"chars-5", "常用字 第 2001–3000 个", S::CharBand, G::Char, "", pkAllchar, 2000, 3000},
    {"word2-1", "二字词组 第 1–300 个", S::WordBand, G::Word, "", pkWord2, 0, 300},
    {"word2-2", "二字词组 第 301–1000 个", S::WordBand, G::Word, "", pkWord2, 300, 1000},
    {"word3-1", "三字词组 第 1–200 个", S::WordBand, G::Word, "", pkWord3, 0, 200},
    {"word4-1", "四字词组 第 1–200 个", S::WordBand, G::Word, "", pkWord4, 0, 200},
    {"texts", "文章 · 对照录入随程序提供的文章", S::Texts, G::Text},
};

// New items a session brings in, and how often each new or weak item comes in it.
constexpr int kNewPerSession = 8;
constexpr int kNewRepeats = 3;
constexpr int kWeakRepeats = 2;

bool inZone(const char* keys, char key) {
  const char upper = key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : key;
  return upper != 0 && std::string_view(keys).find(upper) != std::string_view::npos;
}

std::string trimmedText(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  return std::string(s);
}

PathItem textItem(std::string gbk) {
  std::string utf8 = gbk::toUtf8(gbk);
  return PathItem{std::move(gbk), utf8, utf8};
}

// The records of a drill table (text bytes of each), in table order.
std::vector<std::string> recordTexts(const PracticeData& data, int kind) {
  std::vector<std::string> out;
  const KindInfo& info = kindInfo(kind);
  const DrillTable& table = data.tables[static_cast<std::size_t>(kind)];
  if (!table.present || info.recordBytes <= 0) return out;
  const auto width = static_cast<std::size_t>(info.recordBytes);
  for (std::size_t at = 0; at + width <= table.records.size(); at += width) {
    std::string text = trimmedText(std::string_view(table.records).substr(at, info.textBytes));
    if (!text.empty()) out.push_back(std::move(text));
  }
  return out;
}

// Spreads the picks over rounds (a pick coming n times is in the first n
// rounds), each round in random order, so repeats of an item stand apart.
// The first `dueFirst` picks, the items due for review, open the session:
// they are asked before anything of the session can remind the learner.
std::vector<std::pair<int, int>> spread(
    const std::vector<std::pair<std::pair<int, int>, int>>& picks, platform::RandomSource& random,
    std::size_t dueFirst = 0) {
  std::vector<std::pair<int, int>> out;
  auto shuffle = [&random](auto begin, auto end) {
    for (auto n = end - begin; n > 1; --n)
      std::swap(begin[n - 1], begin[random.uniform(static_cast<int>(n))]);
  };
  for (int round = 0;; ++round) {
    std::vector<std::pair<int, int>> this_round;
    for (const auto& [item, times] : picks)
      if (times > round) this_round.push_back(item);
    if (this_round.empty()) break;
    const std::size_t due = round == 0 ? std::min(dueFirst, this_round.size()) : 0;
    shuffle(this_round.begin(), this_round.begin() + static_cast<std::ptrdiff_t>(due));
    shuffle(this_round.begin() + static_cast<std::ptrdiff_t>(due), this_round.end());
    // Not the same item twice in a row where two rounds meet.
    if (!out.empty() && this_round.size() > 1 && this_round.front() == out.back())
      std::swap(this_round.front(), this_round.back());
    out.insert(out.end(), this_round.begin(), this_round.end());
  }
  return out;
}

}  // namespace

std::span<const StageInfo> stageTable() { return kStages; }

int kindOfStage(const StageInfo& s) {
  switch (s.group) {
    case G::Root:
      return pkPathRoot;
    case G::Word:
      return pkPathWord;
    case G::Text:
      return pkPathText;
    default:
      return pkPathChar;
  }
}

Targets Targets::defaults() {
  Targets t;
  //      roots level-1 level-2 others words texts (per character)
  t.ms = {1500, 1500, 2000, 3000, 4000, 2000};
  return t;
}

const char* Targets::groupName(Group g) {
  static constexpr const char* kNames[kGroupCount] = {"字根",     "一级简码", "二级简码",
                                                      "其余汉字", "词组",     "文章"};
  return kNames[static_cast<std::size_t>(g)];
}

int Standing::mastered() const {
  int n = 0;
  for (const StageProgress& p : stages) n += p.mastered;
  return n;
}

LearningPath::LearningPath(const PracticeData& data, std::vector<std::string> textFiles) {
  const std::vector<std::string> onechar = recordTexts(data, pkOnechar);
  std::set<std::string> shortCoded(onechar.begin(), onechar.end());
  std::vector<std::pair<std::string, char>> twochar;  // character, first code letter
  {
    const DrillTable& t = data.tables[pkTwochar];
    const auto width = static_cast<std::size_t>(kindInfo(pkTwochar).recordBytes);
    if (t.present)
      for (std::size_t at = 0; at + width <= t.records.size(); at += width) {
        twochar.emplace_back(t.records.substr(at, 2), t.records[at + 2]);
        shortCoded.insert(t.records.substr(at, 2));
      }
  }
  // Every character once, most frequent first, less those with a one- or two-letter code.
  std::vector<std::string> ranked;
  {
    std::set<std::string> seen;
    for (std::string& c : recordTexts(data, pkAllchar))
      if (c.size() == 2 && !shortCoded.count(c) && seen.insert(c).second)
        ranked.push_back(std::move(c));
  }

  for (const StageInfo& s : kStages) {
    std::vector<PathItem> items;
    switch (s.source) {
      case S::RootKeys:
        for (int r = 0; r < kRootCount; ++r)
          if (inZone(s.keys, rootKey(r)))
            items.push_back(PathItem{std::to_string(r), std::to_string(r),
                                     std::string(1, rootKey(r)) + " 字根" + std::to_string(r + 1)});
        break;
      case S::OneChar:
        for (const std::string& c : onechar) items.push_back(textItem(c));
        break;
      case S::TwoCharKeys:
        for (const auto& [c, key] : twochar)
          if (inZone(s.keys, key)) items.push_back(textItem(c));
        break;
      case S::CharBand:
        for (int i = s.from; i < s.to && i < static_cast<int>(ranked.size()); ++i)
          items.push_back(textItem(ranked[static_cast<std::size_t>(i)]));
        break;
      case S::WordBand: {
        const std::vector<std::string> words = recordTexts(data, s.kind);
        for (int i = s.from; i < s.to && i < static_cast<int>(words.size()); ++i)
          items.push_back(textItem(words[static_cast<std::size_t>(i)]));
        break;
      }
      case S::Texts:
        for (const std::string& file : textFiles) {
          const std::string name = std::filesystem::path(file).filename().string();
          items.push_back(PathItem{file, "text:" + name, name});
        }
        break;
    }
    items_.push_back(std::move(items));
  }
}

history::ItemClass LearningPath::classOf(int stage) const {
  switch (this->stage(stage).group) {
    case G::Root:
      return history::ItemClass::Root;
    case G::Word:
      return history::ItemClass::Word;
    default:
      return history::ItemClass::Character;
  }
}

LearningPath::Facts LearningPath::readFacts(history::HistoryStore& store) {
  Facts f;
  for (int c = 0; c < 3; ++c)
    for (history::ItemStat& item : store.items(static_cast<history::ItemClass>(c))) {
      std::string name = item.item;
      f.items[static_cast<std::size_t>(c)].emplace(std::move(name), std::move(item));
    }
  f.labelledRuns = store.labelledRuns();
  return f;
}

int LearningPath::sessionEntries(Group g, const Targets& targets) {
  // One page of the drill that types it at most: 130 roots, 125 characters,
  // and words with their separators.
  const int limit = g == G::Root ? 130 : g == G::Word ? 40 : 125;
  const int n = kSessionSeconds * 1000 / std::max(targets.of(g), 1);
  return std::clamp(n, 20, limit);
}

Standing LearningPath::assess(const Facts& facts, const Targets& targets, int today) const {
  Standing st;
  st.today = today;
  st.current = stageCount();
  for (int s = 0; s < stageCount(); ++s) {
    const StageInfo& info = stage(s);
    const std::vector<PathItem>& list = items(s);
    const int targetMs = targets.of(info.group);
    StageProgress p;
    p.total = static_cast<int>(list.size());
    std::vector<ItemStanding> standings;
    standings.reserve(list.size());
    long long msSum = 0;
    int timed = 0;
    // A run of a test or a text passes with the accuracy asked and the target speed.
    auto passes = [&](const history::RunRow& r, double cellsPerItem) {
      const double targetSpeed = 60000.0 * cellsPerItem / targetMs;
      return r.finished && r.accuracy >= kTestPercent && r.speed >= targetSpeed;
    };
    if (info.source == S::Texts) {
      for (const PathItem& item : list) {
        ItemStanding is;
        for (const history::RunRow& r : facts.labelledRuns) {
          if (r.label != item.key) continue;
          is.seen = true;
          is.lastDay = history::localDay(r.ended);
          if (passes(r, 1.0)) is.mastered = is.lastGood = true;
        }
        standings.push_back(is);
      }
    } else {
      const auto& byName = facts.items[static_cast<std::size_t>(classOf(s))];
      for (const PathItem& item : list) {
        const auto found = byName.find(item.key);
        standings.push_back(assessItem(found == byName.end() ? nullptr : &found->second, targetMs));
        const ItemStanding& is = standings.back();
        if (is.recentMs >= 0) {
          msSum += is.recentMs;
          ++timed;
        }
      }
      // A word takes its characters and a separator.
      double cellsPerItem = 1.0;
      if (info.group == G::Word && !list.empty()) {
        std::size_t bytes = 0;
        for (const PathItem& item : list) bytes += item.gbk.size();
        cellsPerItem = static_cast<double>(bytes) / 2.0 / static_cast<double>(list.size()) + 1.0;
      }
      const std::string test = testLabel(info);
      for (const history::RunRow& r : facts.labelledRuns)
        if (r.label == test && passes(r, cellsPerItem)) p.testedOut = true;
    }
    for (const ItemStanding& is : standings) {
      if (is.seen) ++p.seen;
      if (is.mastered) ++p.mastered;
    }
    p.recentMs = timed > 0 ? static_cast<int>(msSum / timed) : -1;
    p.passed = p.total > 0 && (p.testedOut || p.mastered * 100 >= p.total * kPassPercent);
    st.stages.push_back(p);
    st.items.push_back(std::move(standings));
  }
  for (int s = 0; s < stageCount(); ++s)
    if (!st.stages[static_cast<std::size_t>(s)].passed &&
        st.stages[static_cast<std::size_t>(s)].total > 0) {
      st.current = s;
      break;
    }
  // Open: every stage up to the one being learned. Due: the items of the
  // stages passed that come back today, and the mastered ones of the current.
  for (int s = 0; s < stageCount(); ++s) {
    StageProgress& p = st.stages[static_cast<std::size_t>(s)];
    p.open = s <= st.current;
    if (!p.open || stage(s).source == S::Texts) continue;
    const auto& standings = st.items[static_cast<std::size_t>(s)];
    for (std::size_t i = 0; i < standings.size(); ++i) {
      const ItemStanding& is = standings[i];
      const bool candidate = s < st.current ? is.seen : is.mastered;
      if (!candidate || is.dueDay > today) continue;
      ++p.due;
      st.due.push_back(DueItem{s, static_cast<int>(i), today - is.dueDay});
    }
  }
  std::stable_sort(st.due.begin(), st.due.end(),
                   [](const DueItem& a, const DueItem& b) { return a.overdue > b.overdue; });
  return st;
}

SessionPlan LearningPath::planFor(int stage, const std::vector<std::pair<int, int>>& order) const {
  const StageInfo& info = this->stage(stage);
  SessionPlan plan;
  plan.kind = kindOfStage(info);
  plan.label = sessionLabel(info);
  // The current-practice line has room for a short name: the stage's first word.
  const std::string_view name(info.name);
  plan.title = gbk::fromUtf8("路线·" + std::string(name.substr(0, name.find(' '))));
  for (const auto& [s, i] : order) plan.items.push_back(items(s)[static_cast<std::size_t>(i)].gbk);
  return plan;
}

SessionPlan LearningPath::nextSession(const Standing& st, const Targets& targets,
                                      platform::RandomSource& random) const {
  using Pick = std::pair<std::pair<int, int>, int>;  // (stage, item), times
  std::vector<Pick> picks;
  auto sameClass = [this](int a, int b) {
    return classOf(a) == classOf(b) && (stage(a).group == G::Text) == (stage(b).group == G::Text);
  };

  // Due items of another sort than the current stage's come first, in a
  // session of their own.
  int sessionStage = st.current < stageCount() ? st.current : -1;
  if (!st.due.empty() && (sessionStage < 0 || !sameClass(st.due.front().stage, sessionStage)))
    sessionStage = st.due.front().stage;
  if (sessionStage < 0) {
    // Everything passed and nothing due: the texts, for fluency.
    for (int s = 0; s < stageCount(); ++s)
      if (stage(s).source == S::Texts && !items(s).empty()) sessionStage = s;
    if (sessionStage < 0) return {};
  }
  const StageInfo& info = stage(sessionStage);
  if (info.source == S::Texts) {
    // The first text not yet typed to the target, else the one typed longest ago.
    const auto& standings = st.items[static_cast<std::size_t>(sessionStage)];
    int pick = -1;
    for (std::size_t i = 0; i < standings.size() && pick < 0; ++i)
      if (!standings[i].mastered) pick = static_cast<int>(i);
    for (std::size_t i = 0; i < standings.size() && pick < 0; ++i)
      if (pick < 0 || standings[i].lastDay < standings[static_cast<std::size_t>(pick)].lastDay)
        pick = static_cast<int>(i);
    if (pick < 0) return {};
    SessionPlan plan = planFor(sessionStage, {});
    plan.textFile = items(sessionStage)[static_cast<std::size_t>(pick)].gbk;
    plan.label = items(sessionStage)[static_cast<std::size_t>(pick)].key;
    return plan;
  }

  const int n = sessionEntries(info.group, targets);
  int used = 0;
  auto add = [&](int s, int i, int times) {
    times = std::min(times, n - used);
    if (times <= 0) return false;
    picks.push_back(Pick{{s, i}, times});
    used += times;
    return true;
  };
  const bool review = sessionStage != st.current;
  // 1. What is due, of this sort: at most half the session unless it is a review.
  const int dueBudget = review ? n : n / 2;
  for (const DueItem& d : st.due)
    if (sameClass(d.stage, sessionStage) && used < dueBudget) add(d.stage, d.index, 1);
  const std::size_t dueCount = picks.size();
  if (review) {
    // A review session with few items takes each twice.
    if (used < n / 2)
      for (Pick& p : picks) {
        p.second = 2;
        ++used;
      }
    return planFor(sessionStage, spread(picks, random));
  }

  const auto& standings = st.items[static_cast<std::size_t>(sessionStage)];
  // 2. The weakest of this stage: missed or slow last, then the most missed, then the slowest.
  std::vector<int> weak;
  for (std::size_t i = 0; i < standings.size(); ++i)
    if (standings[i].seen && !standings[i].mastered) weak.push_back(static_cast<int>(i));
  std::stable_sort(weak.begin(), weak.end(), [&](int a, int b) {
    const ItemStanding& x = standings[static_cast<std::size_t>(a)];
    const ItemStanding& y = standings[static_cast<std::size_t>(b)];
    if (x.lastGood != y.lastGood) return !x.lastGood;
    if (x.misses != y.misses) return x.misses > y.misses;
    return x.recentMs > y.recentMs;
  });
  const int weakBudget = n * 3 / 4;
  std::size_t weakTaken = 0;
  for (; weakTaken < weak.size() && used < weakBudget; ++weakTaken)
    add(sessionStage, weak[weakTaken], kWeakRepeats);
  // 3. New items, in the stage's order (the most frequent first).
  int fresh = 0;
  for (std::size_t i = 0; i < standings.size() && fresh < kNewPerSession && used < n; ++i)
    if (!standings[i].seen && add(sessionStage, static_cast<int>(i), kNewRepeats)) ++fresh;
  // 4. Room left: the rest of the weak, then mastered items not yet due, lowest box first.
  for (; weakTaken < weak.size() && used < n; ++weakTaken) add(sessionStage, weak[weakTaken], 1);
  if (used < n) {
    std::vector<int> kept;
    for (std::size_t i = 0; i < standings.size(); ++i)
      if (standings[i].mastered && standings[i].dueDay > st.today)
        kept.push_back(static_cast<int>(i));
    std::stable_sort(kept.begin(), kept.end(), [&](int a, int b) {
      return standings[static_cast<std::size_t>(a)].box <
             standings[static_cast<std::size_t>(b)].box;
    });
    for (int i : kept)
      if (used < n) add(sessionStage, i, 1);
  }
  // Still short of two minutes (a stage just begun): the session's items
  // come round again, the new and the weak first, as they are chosen.
  for (std::size_t round = 0; used < n && !picks.empty() && round < 8; ++round)
    for (Pick& p : picks)
      if (used < n) {
        ++p.second;
        ++used;
      }
  if (picks.empty()) return {};
  return planFor(sessionStage, spread(picks, random, dueCount));
}

SessionPlan LearningPath::testSession(int s, const Targets& targets,
                                      platform::RandomSource& random) const {
  if (s < 0 || s >= stageCount() || items(s).empty() || stage(s).source == S::Texts) return {};
  const int n =
      std::min(sessionEntries(stage(s).group, targets), static_cast<int>(items(s).size()));
  std::vector<int> all(items(s).size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  for (std::size_t i = all.size(); i > 1; --i)
    std::swap(all[i - 1], all[static_cast<std::size_t>(random.uniform(static_cast<int>(i)))]);
  std::vector<std::pair<int, int>> order;
  for (int i = 0; i < n; ++i) order.emplace_back(s, all[static_cast<std::size_t>(i)]);
  SessionPlan plan = planFor(s, order);
  plan.label = testLabel(stage(s));
  const std::string_view name(stage(s).name);
  plan.title = gbk::fromUtf8("测验·" + std::string(name.substr(0, name.find(' '))));
  return plan;
}

}  // namespace quorvel::path
