#include "EngineTables.h"

#include <cstdint>
#include <set>
#include <sstream>

#include "TextSources.h"
#include "data/PracticeData.h"
#include "platform/Gbk.h"
#include "practice/CodeEntry.h"
#include "practice/CodePunctuation.h"

namespace resbuild {
namespace {

// A serial number that changes whenever the table does: ibus-table drops its
// cached candidates when the serial number of the table changes.
std::uint32_t tableSerial(const std::vector<CodePage>& pages) {
  std::uint32_t hash = 2166136261u;
  auto mix = [&](std::string_view s) {
    for (unsigned char c : s) hash = (hash ^ c) * 16777619u;
    hash = (hash ^ '\n') * 16777619u;
  };
  for (const auto& page : pages) {
    mix(page.code);
    for (const auto& text : page.texts) mix(text);
  }
  return hash % 2000000000u + 1;
}

// A YAML double-quoted scalar.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::vector<CodeLine> parseCodeLines(std::string_view utf8, const std::string& origin) {
  // The tutor's own conversion rejects what the tutor could not read.
  convertBaseTable(utf8, origin);
  std::vector<CodeLine> lines;
  std::istringstream in{std::string(utf8)};
  std::string code, text;
  while (in >> code >> text) lines.push_back({code, text});
  return lines;
}

std::vector<CodePage> tutorPages(std::string_view utf8, const std::string& origin) {
  const quorvel::BaseSegments base = quorvel::splitBase(convertBaseTable(utf8, origin));
  std::vector<CodePage> pages;
  std::set<std::string> seen;
  for (const auto& line : parseCodeLines(utf8, origin)) {
    for (std::size_t n = 1; n <= line.code.size(); ++n) {
      std::string code = line.code.substr(0, n);
      if (!seen.insert(code).second) continue;
      CodePage page{code, {}};
      for (const auto& text : quorvel::findCandidates(base, code))
        if (!text.empty()) page.texts.push_back(quorvel::gbk::toUtf8(text));
      pages.push_back(std::move(page));
    }
  }
  return pages;
}

std::string libimeTableText(const std::vector<CodePage>& pages) {
  std::string out = "KeyCode=abcdefghijklmnopqrstuvwxyz\nLength=4\n[Data]\n";
  for (const auto& page : pages)
    for (const auto& text : page.texts) out += page.code + " " + text + "\n";
  return out;
}

std::string fcitx5InputMethodConf(const MethodFacts& facts) {
  std::ostringstream out;
  // The dictionary holds each code's page whole, so only the whole typed code
  // is matched (fcitx5-table's own completion sorts by code length on one
  // letter). OrderPolicy=No and SortByCodeLength=False keep the dictionary's
  // order; no learning and no language model, so the order never drifts
  // from the tutor's. AutoSelect with length -1 commits a unique
  // full-length code.
  out << "[InputMethod]\n"
      << "Name=" << facts.name << "\n"
      << "Icon=" << facts.icon << "\n"
      << "Label=" << facts.label << "\n"
      << "LangCode=zh_CN\n"
      << "Addon=table\n"
      << "Configurable=True\n"
      << "\n[Table]\n"
      << "File=table/" << facts.id << ".main.dict\n"
      << "PageSize=6\n"
      << "OrderPolicy=No\n"
      << "SortByCodeLength=False\n"
      << "ExactMatch=True\n"
      << "Learning=False\n"
      << "AutoPhraseLength=-1\n"
      << "UseSystemLanguageModel=False\n"
      << "AutoSelect=True\n"
      << "AutoSelectLength=-1\n"
      << "NoMatchAutoSelectLength=-1\n"
      << "CommitRawInput=False\n"
      << "Hint=False\n";
  return out.str();
}

std::string ibusTableSource(const std::vector<CodePage>& pages, const MethodFacts& facts) {
  std::ostringstream out;
  out << "### " << facts.fullName << ": written by Quorvel's engexport from its code tables.\n"
      << "SCIM_Generic_Table_Phrase_Library_TEXT\n"
      << "VERSION_1_0\n"
      << "BEGIN_DEFINITION\n"
      << "UUID = 4f1c2a9e-7d3b-4c55-9a61-2b8e0c5d7f30\n"
      << "SERIAL_NUMBER = " << tableSerial(pages) << "\n"
      << "ICON = " << facts.id << ".png\n"
      << "SYMBOL = " << facts.label << "\n"
      << "NAME = " << facts.name << "\n"
      << "NAME.zh_CN = " << facts.name << "\n"
      << "DESCRIPTION = " << facts.fullName << "\n"
      << "LANGUAGES = zh_CN\n"
      << "LICENSE = GPL-3.0-or-later\n"
      << "AUTHOR = Quorvel\n"
      << "STATUS_PROMPT = " << facts.label << "\n"
      << "VALID_INPUT_CHARS = abcdefghijklmnopqrstuvwxyz\n"
      << "LAYOUT = us\n"
      << "MAX_KEY_LENGTH = 4\n"
      // The table holds every code's page whole, so only the typed code is
      // looked up; ibus-table would list a text once for each longer code
      // it has, and rank by frequency across codes. AUTO_COMMIT stays off:
      // it would commit a lone candidate at any length, before the fourth
      // letter of a code the tutor completes. A lone four-letter candidate
      // goes into the preedit with the next letter and is committed with
      // Space, Enter or punctuation. The table's order is never re-ranked
      // by use.
      << "AUTO_WILDCARD = FALSE\n"
      // All characters in every locale: no filter by script.
      << "LANGUAGE_FILTER = cm4\n"
      << "SELECT_KEYS = 1,2,3,4,5,6\n"
      << "AUTO_COMMIT = FALSE\n"
      << "AUTO_SELECT = FALSE\n"
      << "ALWAYS_SHOW_LOOKUP = TRUE\n"
      << "DYNAMIC_ADJUST = FALSE\n"
      << "USER_CAN_DEFINE_PHRASE = FALSE\n"
      << "PINYIN_MODE = FALSE\n"
      << "SUGGESTION_MODE = FALSE\n"
      << "DEF_FULL_WIDTH_PUNCT = TRUE\n"
      << "DEF_FULL_WIDTH_LETTER = FALSE\n"
      << "END_DEFINITION\n"
      << "BEGIN_TABLE\n";
  std::size_t frequency = 0;
  for (const auto& page : pages) frequency += page.texts.size();
  for (const auto& page : pages)
    for (const auto& text : page.texts)
      out << page.code << '\t' << text << '\t' << frequency-- << '\n';
  out << "END_TABLE\n";
  return out.str();
}

std::string rimeSchema(const MethodFacts& facts) {
  std::ostringstream out;
  out << "# " << facts.fullName << ": written by Quorvel's engexport from its code tables.\n"
      << "schema:\n"
      << "  schema_id: " << facts.id << "\n"
      << "  name: " << facts.name << "\n"
      << "  version: \"" << facts.version << "\"\n"
      << "  description: |\n"
      << "    " << facts.fullName << "，码表与 Quorvel 打字教程相同。\n"
      << "switches:\n"
      << "  - name: ascii_mode\n"
      << "    reset: 0\n"
      << "    states: [ 中文, 西文 ]\n"
      << "engine:\n"
      << "  processors: [ ascii_composer, recognizer, key_binder, speller, punctuator, selector,"
         " navigator, express_editor ]\n"
      << "  segmentors: [ ascii_segmentor, matcher, abc_segmentor, punct_segmentor,"
         " fallback_segmentor ]\n"
      << "  translators: [ punct_translator, table_translator ]\n"
      << "speller:\n"
      << "  alphabet: abcdefghijklmnopqrstuvwxyz\n"
      // No delimiter but the blank: the apostrophe is a quote mark.
      << "  delimiter: \" \"\n"
      // A unique candidate at four letters commits at once; a fifth letter
      // commits the first candidate and starts the next code.
      << "  max_code_length: 4\n"
      << "  auto_select: true\n"
      << "translator:\n"
      << "  dictionary: " << facts.id << "\n"
      << "  enable_charset_filter: false\n"
      << "  enable_sentence: false\n"
      << "  enable_completion: false\n"
      << "  enable_user_dict: false\n"
      << "  enable_encoder: false\n"
      << "menu:\n"
      << "  page_size: 6\n"
      << "punctuator:\n"
      << "  full_shape:\n"
      << "    \" \": \"　\"\n"
      << "  half_shape:\n";
  for (const auto& p : quorvel::codePunctuation())
    out << "    " << quoted(std::string(1, p.key)) << ": " << quoted(p.text) << "\n";
  for (const bool doubled : {false, true}) {
    const auto marks = quorvel::quoteMarks(doubled);
    out << "    " << quoted(doubled ? "\"" : "'") << ": { pair: [ " << quoted(marks.open) << ", "
        << quoted(marks.close) << " ] }\n";
  }
  return out.str();
}

std::string rimeSchemaListPatch(const MethodFacts& facts) {
  return "# Adds " + facts.name +
         " to the end of the learner's Rime schemas, keeping the\n"
         "# others: put it in the Rime user folder (or add the schema_list/+ lines\n"
         "# under the patch: of a default.custom.yaml there) and redeploy.\n"
         "patch:\n  schema_list/+:\n    - schema: " +
         facts.id + "\n";
}

std::string rimeDictionary(const std::vector<CodePage>& pages, const MethodFacts& facts) {
  std::string out =
      "# " + facts.fullName + ": written by Quorvel's engexport from its code tables.\n";
  out += "---\nname: " + facts.id + "\nversion: \"" + facts.version +
         "\"\nsort: original\nuse_preset_vocabulary: false\ncolumns:\n  - text\n  - code\n...\n";
  for (const auto& page : pages)
    for (const auto& text : page.texts) out += text + "\t" + page.code + "\n";
  return out;
}

}  // namespace resbuild
