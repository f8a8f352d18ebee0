#include "kinds/KindFactory.h"

#include "drills/CharWordDrill.h"
#include "drills/RootDrill.h"
#include "textpractice/PendingKinds.h"

namespace quorvel {

std::unique_ptr<PracticeKind> makePracticeKind(const KindInfo& info, KindContext& context) {
  switch (info.cls) {
    case KindClass::RootDrill:
      return std::make_unique<RootDrill>(context);
    case KindClass::CharWordDrill:
      return std::make_unique<CharWordDrill>(context, info);
    case KindClass::Compare:
    case KindClass::Input:
    case KindClass::Exam:
      return makePendingKind(context);
    case KindClass::None:
      break;
  }
  return nullptr;
}

}  // namespace quorvel
