#pragma once
// The program's log: standard error, one line per problem, for whoever
// looks into why something the learner sees is missing.
#include <string_view>

namespace quorvel::platform {

void logProblem(std::string_view message);

}  // namespace quorvel::platform
