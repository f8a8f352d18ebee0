#pragma once
// Comparison practice, input practice and the tests until their own classes
// take over: they start and show nothing more.
#include <memory>

#include "practice/KindContext.h"
#include "practice/PracticeKind.h"

namespace quorvel {

std::unique_ptr<PracticeKind> makePendingKind(KindContext& context);

}  // namespace quorvel
