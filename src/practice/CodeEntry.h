#pragma once
// Candidate search over the lookup dictionary: the lines whose codes begin
// with the typed letters, in dictionary order, at most six.
#include <array>
#include <string>
#include <string_view>

#include "data/PracticeData.h"

namespace quorvel {

using Candidates = std::array<std::string, 6>;  // an empty string ends the list

Candidates findCandidates(const BaseSegments& base, std::string_view code);
// "1,社 2,祖 " for the candidates 社 and 祖; empty when there are none.
std::string candidateLine(const Candidates& candidates);

}  // namespace quorvel
