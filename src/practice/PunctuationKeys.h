#pragma once
// Which two-byte items a key of code entry enters by itself: the wide
// punctuation marks of the punctuation keys and the shifted digits.
#include <string_view>

namespace quorvel {

bool punctuationKeyEnters(std::string_view item);

}  // namespace quorvel
