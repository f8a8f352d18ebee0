#pragma once
// The system's reason for a failed file operation, said to the learner: our
// own Chinese words for the common ones, the system's text after them (for a
// search or a report), e.g. "没有权限：Permission denied". Messages put it
// inside their own brackets.
#include <string>

namespace quorvel::platform {

// error: an errno value.
std::string systemErrorText(int error);

}  // namespace quorvel::platform
