#pragma once
// The learning path: a course from the first root to copy-typing whole
// texts, in stages written once in a table (like the kind table). Each stage
// takes its items from the tables already loaded: the roots by keyboard zone,
// the level-1 characters, the level-2 characters by the zone of their first
// key, the other characters by frequency band, words in bands, the shipped
// texts. From the history it tells how far the learner is (mastered / seen /
// total per stage, what is due for review) and plans the next session of
// about two minutes: first what is due, then the current stage's weakest,
// then new items.
#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "data/PracticeData.h"
#include "data/SessionPlan.h"
#include "history/HistoryStore.h"
#include "path/Review.h"
#include "platform/Clock.h"

namespace quorvel::path {

// Each group of stages has one target time per entry, which the learner may set.
enum class Group : std::uint8_t { Root, OneChar, TwoChar, Char, Word, Text };
inline constexpr int kGroupCount = 6;

enum class Source : std::uint8_t { RootKeys, OneChar, TwoCharKeys, CharBand, WordBand, Texts };

struct StageInfo {
  const char* id;    // kept with the runs in the history: never change one
  const char* name;  // UTF-8, as the path window shows it
  Source source;
  Group group;
  const char* keys = "";  // the keys of the zone (roots, level-2 characters)
  int kind = 0;           // the table a band is cut from
  int from = 0, to = 0;   // a band: ranks from..to-1 in its table's order (most frequent first)
};
std::span<const StageInfo> stageTable();

// How a stage is passed: this share of its items mastered (or a test passed).
inline constexpr int kPassPercent = 90;
// A test of a stage passes with this accuracy and the target speed.
inline constexpr int kTestPercent = 95;
// A session lasts about this long at the target speed.
inline constexpr int kSessionSeconds = 120;

struct Targets {
  std::array<int, kGroupCount> ms;  // per entry; for texts per character
  static Targets defaults();
  int of(Group g) const { return ms[static_cast<std::size_t>(g)]; }
  // The UTF-8 name of a group, as the window shows it ("字根").
  static const char* groupName(Group g);
};

// One item of a stage: its text as the drills type it and as the history keeps it.
struct PathItem {
  std::string gbk;    // GBK text; a root's number; a text's file path
  std::string key;    // the history's name: UTF-8 text, the root number, the text's label
  std::string shown;  // UTF-8, for the window (a root: its key and number)
};

struct StageProgress {
  int total = 0, seen = 0, mastered = 0, due = 0;
  bool open = false, passed = false, testedOut = false;
  int recentMs = -1;  // mean recent time of its seen items; -1: none yet
};

struct DueItem {
  int stage = 0;
  int index = 0;    // in the stage's items
  int overdue = 0;  // days past its day
};

// Where the learner stands, read from the history.
struct Standing {
  int today = 0;
  int current = 0;  // the stage being learned (the first not passed); stageCount when all are
  std::vector<StageProgress> stages;
  std::vector<std::vector<ItemStanding>> items;  // per stage, per item
  std::vector<DueItem> due;                      // most overdue first
  int mastered() const;
};

class LearningPath {
 public:
  // textFiles: the shipped texts, for the last stage.
  LearningPath(const PracticeData& data, std::vector<std::string> textFiles);

  int stageCount() const { return static_cast<int>(items_.size()); }
  const StageInfo& stage(int s) const { return stageTable()[static_cast<std::size_t>(s)]; }
  const std::vector<PathItem>& items(int s) const { return items_[static_cast<std::size_t>(s)]; }

  // The history's facts for the path, read once: the items of every class and
  // the labelled runs (tests, texts).
  struct Facts {
    std::array<std::map<std::string, history::ItemStat>, 3> items;  // by class, by name
    std::vector<history::RunRow> labelledRuns;
  };
  static Facts readFacts(history::HistoryStore& store);

  Standing assess(const Facts& facts, const Targets& targets, int today) const;

  // The next session; an empty plan when there is nothing to type.
  SessionPlan nextSession(const Standing& standing, const Targets& targets,
                          platform::RandomSource& random) const;
  // A test of a stage: a sample of its items, each once; passed, it opens the next stage.
  SessionPlan testSession(int stage, const Targets& targets, platform::RandomSource& random) const;
  // How many entries a session of a group holds.
  static int sessionEntries(Group g, const Targets& targets);

  // The labels the runs of a stage's sessions and tests carry.
  static std::string sessionLabel(const StageInfo& s) { return std::string("path:") + s.id; }
  static std::string testLabel(const StageInfo& s) { return std::string("test:") + s.id; }

 private:
  history::ItemClass classOf(int stage) const;
  SessionPlan planFor(int stage, const std::vector<std::pair<int, int>>& picks) const;

  std::vector<std::vector<PathItem>> items_;
};

// The kind a stage is typed with.
int kindOfStage(const StageInfo& s);

}  // namespace quorvel::path
