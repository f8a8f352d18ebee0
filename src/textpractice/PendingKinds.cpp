#include "textpractice/PendingKinds.h"

#include "practice/PracticeFrame.h"

namespace quorvel {

namespace {

class PendingKind : public PracticeKind {
 public:
  explicit PendingKind(PracticeFrame& frame) : frame_(frame) {}
  // Nothing to type yet, so an earlier run must not linger on the grid.
  void start() override {
    for (CellLabel& cell : frame_.view().cells) cell = CellLabel{};
    frame_.touch();
  }
  void enterItem(char, char) override {}
  void deleteLast() override {}

 private:
  PracticeFrame& frame_;
};

}  // namespace

std::unique_ptr<PracticeKind> makePendingKind(PracticeFrame& frame, int /*kind*/) {
  return std::make_unique<PendingKind>(frame);
}

}  // namespace quorvel
