#include "textpractice/PendingKinds.h"

namespace quorvel {

namespace {

class PendingKind : public PracticeKind {
 public:
  explicit PendingKind(KindContext& context) : ctx_(context) {}
  // Nothing to type yet, so an earlier run must not linger on the grid.
  void start() override {
    for (CellLabel& cell : ctx_.view().cells) cell = CellLabel{};
    ctx_.changed();
  }
  void enterItem(char, char) override {}
  void deleteLast() override {}

 private:
  KindContext& ctx_;
};

}  // namespace

std::unique_ptr<PracticeKind> makePendingKind(KindContext& context) {
  return std::make_unique<PendingKind>(context);
}

}  // namespace quorvel
