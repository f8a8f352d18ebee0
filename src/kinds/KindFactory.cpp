#include "kinds/KindFactory.h"

#include "drills/CharWordDrill.h"
#include "drills/RootDrill.h"
#include "textpractice/InputPractice.h"
#include "textpractice/TextComparison.h"

namespace quorvel {

std::unique_ptr<PracticeKind> makePracticeKind(const KindInfo& info, KindContext& context) {
  switch (info.cls) {
    case KindClass::RootDrill:
      return std::make_unique<RootDrill>(context, info.weakItems, info.plannedItems);
    case KindClass::CharWordDrill:
      return std::make_unique<CharWordDrill>(context, info);
    case KindClass::Compare:
      return std::make_unique<ComparePractice>(context, info.plannedItems);
    case KindClass::Input:
      return std::make_unique<InputPractice>(context);
    case KindClass::Exam:
      return std::make_unique<ExamPractice>(context);
    case KindClass::None:
      break;
  }
  return nullptr;
}

}  // namespace quorvel
