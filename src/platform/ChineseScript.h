#pragma once
// Traditional Chinese characters in simplified ones, through OpenCC's
// traditional-to-simplified conversion (its phrases first, then its
// characters), so a text in traditional characters can be practised with a
// method that codes the simplified ones.
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::script {

// The text (UTF-8) in simplified characters; nullopt when OpenCC or its
// conversion data cannot be opened.
std::optional<std::string> toSimplified(std::string_view utf8);

// How many Chinese characters the text (UTF-8) holds, looked at up to
// `limit` of them, and how many of those are traditional forms that
// simplification changes. Both 0 when OpenCC cannot be opened.
struct ScriptCount {
  int chinese = 0;
  int traditional = 0;
};
ScriptCount countTraditional(std::string_view utf8, int limit = 4000);

// Whether a text with these counts reads as a traditional text: about a third
// of the characters of a traditional text differ from their simplified
// forms, a simplified text has next to none; a fifth, and at least two of
// them, tells the two apart.
bool isMostlyTraditional(const ScriptCount& count);

}  // namespace quorvel::script
