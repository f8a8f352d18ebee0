#pragma once
// The codes of one character and the code of a word, as the lookup services
// and the hint windows pass them around. All strings are GBK / ASCII bytes.
#include <string>

namespace quorvel {

struct TCharCodes {
  std::string OneCode;    // level-1 short code, at most 1 letter, empty if none
  std::string TwoCode;    // level-2 short code, at most 2
  std::string ThreeCode;  // level-3 short code, at most 3
  std::string AllCode;    // full code as stored (4 bytes, may end in a blank)
  std::string Text;       // the character itself
  std::string Split;      // its roots and their keys as the hints show them, empty if unknown
};

struct TWordCode {
  std::string Code;  // at most 4
  std::string Text;  // at most 26 bytes
};

}  // namespace quorvel
