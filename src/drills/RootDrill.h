#pragma once
// The root drill (kind 1): the practice area shows root pictures and the
// learner presses the key each root lies on. Two fixed pages of 130 and 119
// cells make a run; every press is marked at once and never retried.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "practice/KindContext.h"
#include "practice/PracticeKind.h"

namespace quorvel {

struct TRootCell {
  std::int32_t root = 0;      // index into the root pictures, 0..175
  std::uint8_t expected = 0;  // 'A'..'Z'
  std::uint8_t entered = 0;   // low byte of the key pressed, 0 while none
  std::int32_t ms = -1;       // how long the press took
};

inline constexpr int kRootRunCells = 249;
inline constexpr int kRootPageOneCells = 130;

class RootDrill : public PracticeKind {
 public:
  // weak: the roots come from the learner's history, the most missed most
  // often. planned: they are the learning path's session, a page at most,
  // and the run ends after its last root.
  explicit RootDrill(KindContext& context, bool weak = false, bool planned = false)
      : ctx_(context), weak_(weak), planned_(planned) {}

  // The roots are shown as pictures: without all of them there is nothing to
  // drill; the weak drill also needs roots the learner missed.
  bool canStart() const override;
  std::string refusal() const override;
  std::string shownName() const override;
  bool describeRun(history::RunRecord& run) const override;
  void start() override;
  void enterItem(char, char) override {}
  void enterKey(std::uint16_t virtualKey) override;
  void deleteLast() override;
  void codeHint() override;
  void tick() override { updateScore(); }

  const std::array<TRootCell, kRootRunCells>& cells() const { return FRootCells; }
  int pageStart() const { return FRootPageStart; }
  int position() const { return FRootPosition; }
  int pageLast() const { return FRootPageLast; }

 private:
  void draw();
  bool drawWeak();
  // The planned roots that are root numbers, at most a page of them.
  std::vector<int> plannedRoots() const;
  void clearMarks();
  void setMark(int position, const std::string& mark);
  void markCurrent();
  void showPicturesOfPage();
  // Counts the entered cells into the tally and shows its figures: the score
  // line is the drill's own, never the kind's before it.
  void updateScore();

  KindContext& ctx_;
  bool weak_ = false;
  bool planned_ = false;
  int runCells_ = kRootRunCells - 1;  // entries in the run
  RunTally tally_;
  std::array<TRootCell, kRootRunCells> FRootCells{};
  int FRootPageStart = 0;
  int FRootPosition = 0;
  int FRootPageLast = kRootPageOneCells - 1;
};

}  // namespace quorvel
