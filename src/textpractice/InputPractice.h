#pragma once
// Free typing: no model text; what the learner enters fills ten lines of 25
// labels a page, Enter starts a new line, and only the speed is measured.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/Clock.h"
#include "practice/KindContext.h"
#include "practice/PracticeKind.h"

namespace quorvel {

struct TInputPracticeState {
  static constexpr int kCells = 25000;
  static constexpr int kLastPage = 100;  // page starts are kept for pages 0..100
  std::vector<char> inputText;           // 50,001 bytes; the first zero cell ends the input
  std::int32_t practicePage = 0;
  std::int32_t viewPage = 0;
  std::int32_t positionInPage = 0;                       // 0..249
  std::int32_t textOffset = 0;                           // even; where the next entry goes
  RunTally tally;                                        // the score's figures, stored with the run
  std::array<std::int32_t, kLastPage + 1> pageStarts{};  // 0: not recorded
};

class InputPractice : public PracticeKind {
 public:
  explicit InputPractice(KindContext& context) : ctx_(context) {}

  void start() override { StartInputPractice(); }
  void enterItem(char b1, char b2) override { AcceptInputEntry(b1, b2); }
  void deleteLast() override { DeleteInputEntry(); }
  void viewNextPage() override;
  void viewPreviousPage() override;
  bool viewIsPracticePage() const override { return state_.viewPage == state_.practicePage; }
  void codeHint() override { ctx_.host().openLookup(); }
  void tick() override { UpdateInputSpeed(); }
  // Free typing has no model: the run's count and speed, no accuracy.
  bool describeRun(history::RunRecord& run) const override;

  const TInputPracticeState& state() const { return state_; }

 private:
  void StartInputPractice();
  void AcceptInputEntry(char a, char b);
  void DeleteInputEntry();
  void UpdateInputSpeed();
  // All 250 labels blank in the panel colour.
  bool clearGrid();
  // A page as typed; on the practice page the cursor is marked afterwards.
  bool drawPage(int page);
  void markCursor();
  CellLabel& label(int position);
  bool rowEndAt(int position) const;
  void end();

  KindContext& ctx_;
  TInputPracticeState state_;
};

}  // namespace quorvel
