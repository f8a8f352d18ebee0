#include "platform/Log.h"

#include <cstdio>

namespace quorvel::platform {

void logProblem(std::string_view message) {
  std::fprintf(stderr, "quorvel: %.*s\n", static_cast<int>(message.size()), message.data());
}

}  // namespace quorvel::platform
