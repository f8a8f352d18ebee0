#pragma once
// The fourteen character and word drills, the weak-character and
// weak-word drills and the learning path's character and word sessions: one
// class, driven by the kind's row of the kind table. A run is drawn at random
// from the kind's table (or from the learner's history, or taken from the
// session the path planned) and typed item by item on pages of 125 items; entries are never
// retried.
#include <array>
#include <string>
#include <vector>

#include "data/PracticeKinds.h"
#include "history/HistoryStore.h"
#include "platform/Clock.h"
#include "practice/KindContext.h"
#include "practice/PracticeKind.h"

namespace quorvel {

// The longest run the word table of kind 15 may give: below 21 full pages.
inline constexpr int kWordmMaxRunBytes = (21 * 125 - 1) * 2;

class CharWordDrill : public PracticeKind {
 public:
  CharWordDrill(KindContext& context, const KindInfo& info);

  bool canStart() const override;
  std::string refusal() const override;
  void start() override;
  void enterItem(char b1, char b2) override;
  void deleteLast() override;
  void viewNextPage() override;
  void viewPreviousPage() override;
  bool viewIsPracticePage() const override { return viewPage_ == practicePage_; }
  void codeHint() override;
  void tick() override { updateScore(); }
  bool describeRun(history::RunRecord& run) const override;
  std::string shownName() const override;

  // Counts the entries into the tally and shows its figures.
  void updateScore();
  bool entryRightAt(std::size_t at) const;

  // Read-only state for the tests and the window.
  const std::vector<char>& sequence() const { return sequence_; }
  const std::vector<char>& typed() const { return typed_; }
  std::string sequenceText() const;  // up to the terminating zero
  int practicePage() const { return practicePage_; }
  int viewPage() const { return viewPage_; }
  int position() const { return position_; }
  int offset() const { return offset_; }
  int pageStart(int page) const { return pageStarts_[page]; }
  const KindInfo& params() const { return info_; }

 private:
  void draw();
  void drawWordm();
  // The weak-item drills: the characters or words (GBK) the learner missed
  // and those never missed, from the history, each one the drill can type.
  struct WeakPool {
    std::vector<history::ItemStat> weak, mastered;
  };
  WeakPool weakPool() const;
  bool typeable(const std::string& gbkText) const;
  void drawWeak();
  // Puts items into the run in order, as many as fit.
  void placeItems(const std::vector<std::string>& items);
  bool itemAt(int off) const;  // a sequence item starts at this byte offset
  std::string itemText(int off) const;
  std::string entryText(int off) const;
  bool entryRight(int off) const;
  void setText(int pos, std::string text, bool green);
  void setEntryShown(int pos, int off);  // the entry, light blue or pink
  void setEntryEmpty(int pos);
  void setArrow(int pos);
  // Shows a page: its items in the panel colour, under them the entries made
  // on it (none yet on a page just reached), and the current item if the
  // page is the practice page; records the next page's start. Returns false
  // when a practice (of any kind) was started while pending events ran
  // between lines; the step that called it then stops.
  bool showPage(int page);
  // Puts another page on view (paging keys).
  void turnViewTo(int page);
  bool yieldAfterLine();
  void recordNextStart(int page);
  void markCurrent();

  KindContext& ctx_;
  const KindInfo& info_;
  std::vector<char> sequence_;  // sequenceBytes + 1, allocated once
  std::vector<char> typed_;
  std::vector<int> typedMs_;  // how long each entry took, one per item
  int practicePage_ = 0;
  int viewPage_ = 0;
  int position_ = 0;
  int offset_ = 0;
  RunTally tally_;
  std::vector<int> pageStarts_;  // lastPage + 1 entries
};

}  // namespace quorvel
