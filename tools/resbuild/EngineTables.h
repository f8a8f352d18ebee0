#pragma once
// The method's code tables written as the sources three input-method engines
// compile: fcitx5 (libime table text and the fcitx5-table .conf), IBus
// (ibus-table source) and Rime (schema and dictionary). All are built from
// the lookup dictionary base.txt through the tutor's own candidate search, so
// every engine offers each code's candidates in the tutor's order.
#include <string>
#include <string_view>
#include <vector>

namespace resbuild {

struct CodeLine {
  std::string code;  // 1 to 4 lower-case letters
  std::string text;  // UTF-8
};

// The lines of base.txt ("code text"), in file order; throws SourceError on a
// line the tutor would refuse.
std::vector<CodeLine> parseCodeLines(std::string_view utf8, const std::string& origin);

// What the tutor lists for a code a learner can type (every beginning of a
// code of base.txt): at most six texts, in its order.
struct CodePage {
  std::string code;
  std::vector<std::string> texts;  // UTF-8
};
// The pages in the order their codes first begin a line of base.txt; `utf8`
// is base.txt, read as the tutor reads it.
std::vector<CodePage> tutorPages(std::string_view utf8, const std::string& origin);

// What the engines show of the method.
struct MethodFacts {
  std::string id = "lanchuan";              // file and schema names
  std::string name = "岚川形音";            // shown in the engines' menus
  std::string fullName = "岚川形音输入法";  // descriptions
  std::string label = "岚";                 // one-character status label
  std::string icon = "quorvel-lanchuan";    // icon theme name (fcitx5)
  std::string version = "1.2";
};

// libime table text for `libime_tabledict`: each page's texts under its code,
// in its order, which libime keeps as the order of candidates under one code;
// fcitx5-table then matches only the whole typed code (ExactMatch).
std::string libimeTableText(const std::vector<CodePage>& pages);
// The fcitx5-table input method .conf (installed under fcitx5/inputmethod).
std::string fcitx5InputMethodConf(const MethodFacts& facts);
// ibus-table source for `ibus-table-createdb`: each page under its code, the
// frequency counting down the file, matched only as a whole code (ibus-table
// lists a text again for each longer code that begins with the typed letters).
std::string ibusTableSource(const std::vector<CodePage>& pages, const MethodFacts& facts);
// Rime schema (no completion, since the dictionary holds every page whole;
// the punctuation of the tutor's code entry) and dictionary (`sort:
// original` keeps the order).
std::string rimeSchema(const MethodFacts& facts);
// default.custom.yaml for a Rime user folder: appends the schema to the
// learner's schema list instead of replacing it.
std::string rimeSchemaListPatch(const MethodFacts& facts);
std::string rimeDictionary(const std::vector<CodePage>& pages, const MethodFacts& facts);

}  // namespace resbuild
