#pragma once
// Comparison practice (16), input practice (17) and the tests (18) as the
// frame reaches them until their own classes take over: they start and show
// nothing more.
#include <memory>

#include "practice/PracticeKind.h"

namespace quorvel {

class PracticeFrame;

std::unique_ptr<PracticeKind> makePendingKind(PracticeFrame& frame, int kind);

}  // namespace quorvel
