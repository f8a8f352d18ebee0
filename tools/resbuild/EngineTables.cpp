#include "EngineTables.h"

#include <cstdint>
#include <sstream>

#include "TextSources.h"

namespace resbuild {
namespace {

// A serial number that changes whenever the table does: ibus-table drops its
// cached candidates when the serial number of the table changes.
std::uint32_t tableSerial(const std::vector<CodeLine>& lines) {
  std::uint32_t hash = 2166136261u;
  auto mix = [&](std::string_view s) {
    for (unsigned char c : s) hash = (hash ^ c) * 16777619u;
    hash = (hash ^ '\n') * 16777619u;
  };
  for (const auto& line : lines) {
    mix(line.code);
    mix(line.text);
  }
  return hash % 2000000000u + 1;
}

// Chinese punctuation for the keys a learner types between words; Rime has no
// punctuation unless the schema brings it (the presets live in rime-data,
// which need not be installed).
const char* const kRimePunctuation[][2] = {
    {",", "，"},    {".", "。"}, {"?", "？"}, {"!", "！"}, {":", "："}, {";", "；"},
    {"\\\\", "、"}, {"(", "（"}, {")", "）"}, {"<", "《"}, {">", "》"}, {"~", "～"},
};

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

std::string libimeTableText(const std::vector<CodeLine>& lines) {
  std::string out = "KeyCode=abcdefghijklmnopqrstuvwxyz\nLength=4\n[Data]\n";
  for (const auto& line : lines) out += line.code + " " + line.text + "\n";
  return out;
}

std::string fcitx5InputMethodConf(const MethodFacts& facts) {
  std::ostringstream out;
  // OrderPolicy=No and SortByCodeLength=False keep the dictionary's order; no
  // learning and no language model, so the order never drifts from the
  // tutor's. AutoSelect with length -1 commits a unique full-length code.
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
      << "ExactMatch=False\n"
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

std::string ibusTableSource(const std::vector<CodeLine>& lines, const MethodFacts& facts) {
  std::ostringstream out;
  out << "### " << facts.fullName << ": written by Quorvel's engexport from its code tables.\n"
      << "SCIM_Generic_Table_Phrase_Library_TEXT\n"
      << "VERSION_1_0\n"
      << "BEGIN_DEFINITION\n"
      << "UUID = 4f1c2a9e-7d3b-4c55-9a61-2b8e0c5d7f30\n"
      << "SERIAL_NUMBER = " << tableSerial(lines) << "\n"
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
      // Prefix search as in the tutor; a code whose only candidate it is
      // commits at once; the table's order is never re-ranked by use.
      << "AUTO_WILDCARD = TRUE\n"
      << "AUTO_COMMIT = TRUE\n"
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
  std::size_t frequency = lines.size();
  for (const auto& line : lines)
    out << line.code << '\t' << line.text << '\t' << frequency-- << '\n';
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
      // The tutor lists each text once, though a character stands under its
      // short and its full code.
      << "  filters: [ uniquifier ]\n"
      << "speller:\n"
      << "  alphabet: abcdefghijklmnopqrstuvwxyz\n"
      << "  delimiter: \" '\"\n"
      // A unique candidate at four letters commits at once; a fifth letter
      // commits the first candidate and starts the next code.
      << "  max_code_length: 4\n"
      << "  auto_select: true\n"
      << "translator:\n"
      << "  dictionary: " << facts.id << "\n"
      << "  enable_charset_filter: false\n"
      << "  enable_sentence: false\n"
      << "  enable_completion: true\n"
      << "  enable_user_dict: false\n"
      << "  enable_encoder: false\n"
      << "menu:\n"
      << "  page_size: 6\n"
      << "punctuator:\n"
      << "  full_shape:\n"
      << "    \" \": \"　\"\n"
      << "  half_shape:\n";
  for (const auto& [key, mark] : kRimePunctuation)
    out << "    \"" << key << "\": \"" << mark << "\"\n";
  out << "recognizer:\n"
      << "  patterns:\n"
      << "    punct: \"^/([0-9]0?|[A-Za-z]+)$\"\n";
  return out.str();
}

std::string rimeDictionary(const std::vector<CodeLine>& lines, const MethodFacts& facts) {
  std::string out =
      "# " + facts.fullName + ": written by Quorvel's engexport from its code tables.\n";
  out += "---\nname: " + facts.id + "\nversion: \"" + facts.version +
         "\"\nsort: original\nuse_preset_vocabulary: false\ncolumns:\n  - text\n  - code\n...\n";
  for (const auto& line : lines) out += line.text + "\t" + line.code + "\n";
  return out;
}

}  // namespace resbuild
