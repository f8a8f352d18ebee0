#include "practice/CodePunctuation.h"

#include <array>

namespace quorvel {

namespace {

// A doubled mark (…… and ——) is the character twice.
constexpr std::array<PunctuationKey, 30> kKeys = {{
    {')', "）"},  {'!', "！"}, {'@', "·"},  {'#', "#"},  {'$', "￥"}, {'%', "%"},
    {'^', "……"},  {'&', "—"},  {'*', "*"},  {'(', "（"}, {';', "；"}, {'=', "="},
    {',', "，"},  {'-', "-"},  {'.', "。"}, {'/', "/"},  {'`', "`"},  {'[', "["},
    {'\\', "、"}, {']', "]"},  {':', "："}, {'+', "+"},  {'<', "《"}, {'_', "——"},
    {'>', "》"},  {'?', "？"}, {'~', "~"},  {'{', "{"},  {'|', "|"},  {'}', "}"},
}};

}  // namespace

std::span<const PunctuationKey> codePunctuation() { return kKeys; }

QuoteMarks quoteMarks(bool doubled) {
  return doubled ? QuoteMarks{"“", "”"} : QuoteMarks{"‘", "’"};
}

}  // namespace quorvel
