#include "textpractice/PendingKinds.h"

namespace quorvel {

namespace {

class PendingKind : public PracticeKind {
 public:
  void start() override {}
  void enterItem(char, char) override {}
  void deleteLast() override {}
};

}  // namespace

std::unique_ptr<PracticeKind> makePendingKind(PracticeFrame& /*frame*/, int /*kind*/) {
  return std::make_unique<PendingKind>();
}

}  // namespace quorvel
