#pragma once
// The one place that knows which class serves each practice kind: the frame
// is handed this factory and builds every kind through it once.
#include <memory>

#include "data/PracticeKinds.h"
#include "practice/KindContext.h"
#include "practice/PracticeKind.h"

namespace quorvel {

std::unique_ptr<PracticeKind> makePracticeKind(const KindInfo& info, KindContext& context);

}  // namespace quorvel
