// Content rules of the code tables in the built resource library: sizes and
// record widths, codes that follow from the committed splits and readings,
// short codes, word codes, and that every drill item can really be typed
// through the candidate search of code entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data/PracticeData.h"
#include "platform/Gbk.h"
#include "platform/ResourceLibrary.h"
#include "practice/CodeEntry.h"

using namespace quorvel;

namespace {

constexpr std::size_t kMaxCandidates = 6;

// What each drill table must hold, written out here rather than taken from
// the loader so that the two are checked against each other.
struct TableRule {
  int kind;
  const char* name;
  std::size_t textBytes;
  std::size_t minCode, maxCode;  // code letters
  std::size_t minRecords;
  bool exactCount;
  char normalisation;
};
const TableRule kRules[] = {
    {2, "onechar", 2, 1, 1, 26, true, 'A'},       {3, "twochar", 2, 2, 2, 659, false, 'A'},
    {4, "threechar", 2, 3, 3, 5020, false, 'A'},  {5, "allchar", 2, 3, 4, 6727, false, 'B'},
    {6, "twocharsel", 2, 2, 2, 559, false, 'A'},  {7, "threecharSel", 2, 3, 3, 297, false, 'A'},
    {8, "allcharSel", 2, 3, 4, 199, false, 'B'},  {9, "keynameCharsel", 2, 3, 4, 26, true, 'B'},
    {10, "codeCharsel", 2, 3, 4, 49, false, 'B'}, {11, "hardcharsel", 2, 3, 4, 98, false, 'B'},
    {12, "word2", 4, 4, 4, 13432, false, 'A'},    {13, "word3", 6, 4, 4, 3383, false, 'A'},
    {14, "word4", 8, 4, 4, 3559, false, 'A'},
};
constexpr int kWordm = 15;
constexpr std::size_t kWordmEntries = 296;
constexpr std::size_t kWordmPageItems = 125 * 21;

struct Record {
  std::string text;  // GBK
  std::string code;  // letters only (the padding blank of a 3-letter full code removed)
};

bool isLower(char c) { return c >= 'a' && c <= 'z'; }

bool isGb2312Hanzi(std::string_view text) {
  if (text.empty() || text.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const auto hi = static_cast<unsigned char>(text[i]);
    const auto lo = static_cast<unsigned char>(text[i + 1]);
    if (hi < 0xB0 || hi > 0xF7 || lo < 0xA1 || lo > 0xFE) return false;
  }
  return true;
}

// UTF-8 text cut into code points.
std::vector<std::string> codePoints(const std::string& utf8) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    out.push_back(utf8.substr(i, n));
    i += n;
  }
  return out;
}

std::vector<std::vector<std::string>> tsvRows(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::stringstream ss(line);
    std::string f;
    while (std::getline(ss, f, '\t')) fields.push_back(f);
    rows.push_back(fields);
  }
  return rows;
}

// The method as committed: the roots with their keys, and per character its
// split, sound code, the first and last stroke of a one-root character, and
// the full code written beside them.
struct Method {
  std::map<std::string, char> keyOfRoot;  // UTF-8 root -> 'a'..'z'
  std::vector<std::vector<std::string>> rootRows;
  struct Char {
    std::vector<std::string> roots;
    char sound = 0;
    std::vector<std::string> strokes;
    std::string written;
  };
  std::map<std::string, Char> chars;  // GBK character -> its entry
};

// The full code that the coding rule gives a committed split.
std::string codeFromRule(const Method& m, const Method::Char& c) {
  std::string shape;
  auto key = [&](const std::string& root) {
    auto it = m.keyOfRoot.find(root);
    return it == m.keyOfRoot.end() ? '?' : it->second;
  };
  const auto& r = c.roots;
  if (r.size() >= 3) {
    shape = {key(r[0]), key(r[1]), key(r.back())};
  } else if (r.size() == 2) {
    shape = {key(r[0]), key(r[1])};
  } else if (r.size() == 1 && c.strokes.size() == 2) {
    shape = {key(r[0]), key(c.strokes[0]), key(c.strokes[1])};
  } else {
    return "?";
  }
  return shape + c.sound;
}

std::string wordCodeFromRule(const std::vector<std::string>& codes) {
  const std::size_t n = codes.size();
  if (n == 2) return codes[0].substr(0, 2) + codes[1].substr(0, 2);
  if (n == 3) return std::string{codes[0][0], codes[1][0]} + codes[2].substr(0, 2);
  return std::string{codes[0][0], codes[1][0], codes[2][0], codes[n - 1][0]};
}

struct Built {
  bool present = false;
  BaseSegments base;
  std::map<int, std::string> normalised;
  std::map<int, std::vector<Record>> records;
  std::vector<WordmEntry> wordm;
  Method method;
  std::string methodError;
};

Built load() {
  Built b;
  const platform::ResourceLibrary library{std::filesystem::path(QUORVEL_BUILT_LIBRARY)};
  const auto base = library.read("chardata", "base");
  if (!base.ok()) return b;
  b.present = true;
  b.base = splitBase(base.bytes);
  for (const auto& rule : kRules) {
    const auto raw = library.read("chardata", rule.name);
    if (!raw.ok()) continue;
    const std::string n =
        rule.normalisation == 'B' ? normaliseRuleB(raw.bytes) : normaliseRuleA(raw.bytes);
    b.normalised[rule.kind] = n;
    const std::size_t width = rule.textBytes + (rule.normalisation == 'B' ? 4 : rule.maxCode);
    auto& out = b.records[rule.kind];
    for (std::size_t at = 0; at + width <= n.size(); at += width) {
      Record r{n.substr(at, rule.textBytes), n.substr(at + rule.textBytes, width - rule.textBytes)};
      if (!r.code.empty() && r.code.back() == ' ') r.code.pop_back();
      out.push_back(r);
    }
  }
  if (const auto raw = library.read("chardata", "wordm"); raw.ok()) {
    b.normalised[kWordm] = normaliseRuleA(raw.bytes);
    b.wordm = splitWordm(b.normalised[kWordm], static_cast<int>(kWordmEntries) + 1);
    for (const auto& e : b.wordm) b.records[kWordm].push_back({e.text, e.code});
  }

  const std::filesystem::path dir =
      std::filesystem::path(QUORVEL_SOURCE_DIR) / "resources" / "method";
  b.method.rootRows = tsvRows(dir / "roots.tsv");
  for (const auto& row : b.method.rootRows) {
    if (row.size() == 4 && row[1].size() == 1)
      b.method.keyOfRoot[row[2]] = static_cast<char>(row[1][0] - 'A' + 'a');
  }
  for (const auto& row : tsvRows(dir / "splits.tsv")) {
    const auto gbk = row.empty() ? std::nullopt : gbk::fromUtf8Strict(row[0]);
    if (row.size() != 5 || !gbk || row[2].size() != 1) {
      b.methodError = "malformed splits.tsv row: " + (row.empty() ? std::string() : row[0]);
      continue;
    }
    Method::Char c;
    c.roots = codePoints(row[1]);
    c.sound = row[2][0];
    if (row[3] != "-") c.strokes = codePoints(row[3]);
    c.written = row[4];
    b.method.chars[*gbk] = c;
  }
  return b;
}

class BuiltTables : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { built_ = new Built(load()); }
  static void TearDownTestSuite() {
    delete built_;
    built_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(built_->present) << "the resource library " << QUORVEL_BUILT_LIBRARY
                                 << " has no \"base\"";
  }
  static const std::vector<Record>& table(int kind) { return built_->records[kind]; }
  static const Method& method() { return built_->method; }
  static std::string fullCode(const std::string& gbkChar) {
    auto it = method().chars.find(gbkChar);
    return it == method().chars.end() ? std::string() : it->second.written;
  }
  static std::string u8(const std::string& gbk) { return gbk::toUtf8(gbk); }

  static Built* built_;
};
Built* BuiltTables::built_ = nullptr;

TEST_F(BuiltTables, EveryTableHasItsRecordCountAndWidth) {
  for (const auto& rule : kRules) {
    SCOPED_TRACE(rule.name);
    ASSERT_TRUE(built_->normalised.count(rule.kind)) << "missing from the library";
    const std::string& n = built_->normalised.at(rule.kind);
    const std::size_t width = rule.textBytes + (rule.normalisation == 'B' ? 4 : rule.maxCode);
    EXPECT_EQ(n.size() % width, 0u)
        << "normalised size " << n.size() << " is not a multiple of " << width;
    const auto& recs = table(rule.kind);
    if (rule.exactCount) {
      EXPECT_EQ(recs.size(), rule.minRecords);
    } else {
      EXPECT_GE(recs.size(), rule.minRecords);
    }
    // The loader's idea of the table must be the same.
    EXPECT_STREQ(kindInfo(rule.kind).resource, rule.name);
    EXPECT_EQ(kindInfo(rule.kind).rule, rule.normalisation);
    for (const auto& r : recs) {
      ASSERT_TRUE(isGb2312Hanzi(r.text)) << "record text is not GB2312 hanzi: " << u8(r.text);
      ASSERT_GE(r.code.size(), rule.minCode) << u8(r.text) << r.code;
      ASSERT_LE(r.code.size(), rule.maxCode) << u8(r.text) << r.code;
      ASSERT_TRUE(std::all_of(r.code.begin(), r.code.end(), isLower)) << u8(r.text) << r.code;
    }
  }
}

TEST_F(BuiltTables, WordmSplitsIntoItsWordsAndFitsTwentyOnePages) {
  const auto& words = built_->wordm;
  ASSERT_EQ(words.size(), kWordmEntries) << "the table holds a different number of words";
  std::size_t items = 0;
  for (const auto& w : words) {
    EXPECT_TRUE(isGb2312Hanzi(w.text)) << u8(w.text);
    EXPECT_GE(w.text.size(), 10u) << u8(w.text);
    EXPECT_LE(w.text.size(), 26u) << u8(w.text);
    EXPECT_EQ(w.code.size(), 4u) << u8(w.text);
    items += w.text.size() / 2 + 1;  // its characters and the separator
  }
  EXPECT_LT(items, kWordmPageItems - 125) << "the words would nearly fill every page of the drill";
}

TEST_F(BuiltTables, OnlyTheDrawnDrillsRepeatAndOnlyWholeRecords) {
  // twochar, threechar and allchar repeat the records of frequent characters
  // so that their drills draw them more often; no other table repeats an item.
  for (const auto& [kind, recs] : built_->records) {
    const bool repeats = kind == 3 || kind == 4 || kind == 5;
    std::map<std::string, std::string> codeOf;
    for (const auto& r : recs) {
      const auto [at, fresh] = codeOf.emplace(r.text, r.code);
      if (!fresh) {
        EXPECT_TRUE(repeats && at->second == r.code)
            << "kind " << kind << " repeats " << u8(r.text);
      }
    }
  }
}

TEST_F(BuiltTables, CommittedSplitsGiveTheWrittenFullCodes) {
  ASSERT_TRUE(built_->methodError.empty()) << built_->methodError;
  ASSERT_EQ(method().chars.size(), 6763u) << "splits.tsv must cover every GB2312 hanzi";
  for (const auto& [ch, c] : method().chars) {
    EXPECT_EQ(codeFromRule(method(), c), c.written) << u8(ch);
  }
  // Every full code in the tables is the one the rule gives.
  for (int kind : {5, 8, 9, 10, 11}) {
    for (const auto& r : table(kind))
      EXPECT_EQ(r.code, fullCode(r.text)) << "kind " << kind << ": " << u8(r.text);
  }
  // The full-code table leaves out at most the 36 characters its drill never draws.
  EXPECT_GE(table(5).size(), 6727u);
}

TEST_F(BuiltTables, ShortCodesArePrefixesOfTheFullCode) {
  for (int kind : {2, 3, 4, 6, 7}) {
    for (const auto& r : table(kind)) {
      const std::string full = fullCode(r.text);
      EXPECT_EQ(full.rfind(r.code, 0), 0u)
          << "kind " << kind << ": " << u8(r.text) << r.code << " vs " << full;
      EXPECT_LT(r.code.size(), full.size()) << "a short code must be shorter: " << u8(r.text);
    }
  }
  std::string letters;
  for (const auto& r : table(2)) letters += r.code;
  std::sort(letters.begin(), letters.end());
  EXPECT_EQ(letters, "abcdefghijklmnopqrstuvwxyz") << "level 1 has one character per letter";
  // The preferred selections are drawn from their level.
  auto pairs = [](const std::vector<Record>& v) {
    std::set<std::pair<std::string, std::string>> s;
    for (const auto& r : v) s.insert({r.text, r.code});
    return s;
  };
  const auto two = pairs(table(3)), three = pairs(table(4)), all = pairs(table(5));
  for (const auto& r : table(6)) EXPECT_TRUE(two.count({r.text, r.code})) << u8(r.text);
  for (const auto& r : table(7)) EXPECT_TRUE(three.count({r.text, r.code})) << u8(r.text);
  for (const auto& r : table(8)) EXPECT_TRUE(all.count({r.text, r.code})) << u8(r.text);
}

TEST_F(BuiltTables, WordCodesFollowTheWordRules) {
  for (int kind : {12, 13, 14, kWordm}) {
    for (const auto& r : table(kind)) {
      std::vector<std::string> codes;
      for (std::size_t i = 0; i + 1 < r.text.size(); i += 2)
        codes.push_back(fullCode(r.text.substr(i, 2)));
      ASSERT_GE(codes.size(), 2u);
      ASSERT_TRUE(
          std::none_of(codes.begin(), codes.end(), [](const std::string& c) { return c.empty(); }))
          << u8(r.text) << " holds a character without a full code";
      EXPECT_EQ(r.code, wordCodeFromRule(codes)) << "kind " << kind << ": " << u8(r.text);
    }
  }
}

TEST_F(BuiltTables, FixedRootsAndTheCodingRuleExamples) {
  const auto& rows = method().rootRows;
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRootCount));
  std::array<int, 26> perKey{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].size(), 4u);
    EXPECT_EQ(rows[i][0], std::to_string(i + 1));
    const char key = rows[i][1][0];
    ASSERT_TRUE(key >= 'A' && key <= 'Z');
    ++perKey[static_cast<std::size_t>(key - 'A')];
    // Root numbers run in key order, as the root pictures are numbered.
    EXPECT_EQ(rootKey(static_cast<int>(i)), key) << "root " << i + 1;
  }
  EXPECT_EQ(perKey, kRootKeyCounts);
  const std::map<std::string, char> fixed = {
      {"礻", 'z'}, {"土", 't'}, {"人", 'i'}, {"二", 'd'}, {"厶", 'y'}};
  for (const auto& [root, key] : fixed) {
    ASSERT_TRUE(method().keyOfRoot.count(root)) << root;
    EXPECT_EQ(method().keyOfRoot.at(root), key) << root;
  }
  const std::string she = gbk::fromUtf8("社"), hui = gbk::fromUtf8("会");
  EXPECT_EQ(fullCode(she), "zts");
  EXPECT_EQ(fullCode(hui), "idyh");
  const auto findIn = [](const std::vector<Record>& v, const std::string& text) {
    auto it = std::find_if(v.begin(), v.end(), [&](const Record& r) { return r.text == text; });
    return it == v.end() ? std::string("(none)") : it->code;
  };
  EXPECT_EQ(findIn(table(5), she), "zts");
  EXPECT_EQ(findIn(table(5), hui), "idyh");
  EXPECT_EQ(findIn(table(3), she), "zt");
  EXPECT_EQ(findIn(table(3), hui), "id");
  EXPECT_EQ(findCandidates(built_->base, "zt")[0], she);
  EXPECT_EQ(findCandidates(built_->base, "id")[0], hui);
  const Candidates full = findCandidates(built_->base, "zts");
  EXPECT_NE(std::find(full.begin(), full.end(), she), full.end());
}

TEST_F(BuiltTables, EveryShortCodeBelongsToOneCharacter) {
  std::map<std::string, std::string> holder;
  std::map<std::string, int> levelOf;
  for (int kind : {2, 3, 4}) {
    for (const auto& r : table(kind)) {
      const auto [at, fresh] = holder.emplace(r.code, r.text);
      EXPECT_TRUE(fresh || at->second == r.text)
          << r.code << " is held by " << u8(at->second) << " and " << u8(r.text);
      const auto [lv, first] = levelOf.emplace(r.text, kind);
      EXPECT_TRUE(first || lv->second == kind) << u8(r.text) << " has short codes of two levels";
    }
  }
  // A learner who knows a short code finds its character first.
  for (const auto& [code, text] : holder)
    EXPECT_EQ(findCandidates(built_->base, code).at(0), text) << code;
}

// The first six different texts under every typed prefix of one letter's
// lines, from one pass over the lines in dictionary order, to find the
// candidates of many codes quickly.
std::map<std::string, Candidates> firstSix(const std::string& seg) {
  std::map<std::string, Candidates> out;
  std::map<std::string, std::size_t> filled;
  std::istringstream in(seg);
  std::string line;
  while (std::getline(in, line, '\r')) {
    const std::size_t space = line.find(' ');
    const std::string code = line.substr(0, space);
    const std::string text = line.substr(line.find_first_not_of(' ', space));
    for (std::size_t n = 1; n <= code.size(); ++n) {
      const std::string prefix = code.substr(0, n);
      std::size_t& count = filled[prefix];
      Candidates& c = out[prefix];
      if (count < kMaxCandidates &&
          std::find(c.begin(), c.begin() + count, text) == c.begin() + count)
        c[count++] = text;
    }
  }
  return out;
}

TEST_F(BuiltTables, EveryDrillItemCanBeTypedThroughTheCandidates) {
  // How many characters hold each short code, over the three levels.
  std::map<std::string, std::set<std::string>> holders;
  for (int kind : {2, 3, 4}) {
    for (const auto& r : table(kind)) holders[r.code].insert(r.text);
  }
  // The candidates of every prefix from one pass over each letter's lines;
  // every 97th code is also searched through the tutor's own search to show
  // that both agree.
  std::array<std::map<std::string, Candidates>, 26> index;
  for (std::size_t i = 0; i < 26; ++i) index[i] = firstSix(built_->base[i]);
  std::set<std::string> seen;
  std::size_t fullSearches = 0;
  const Candidates none{};
  const auto candidatesOf = [&](const std::string& code) -> const Candidates& {
    const auto& ix = index[static_cast<std::size_t>(code[0] - 'a')];
    const auto it = ix.find(code);
    const Candidates& c = it == ix.end() ? none : it->second;
    if (seen.insert(code).second && seen.size() % 97 == 0) {
      ++fullSearches;
      EXPECT_EQ(findCandidates(built_->base, code), c) << "index and search disagree for " << code;
    }
    return c;
  };
  std::size_t checked = 0;
  for (const auto& [kind, recs] : built_->records) {
    const bool shortCodes = kind == 2 || kind == 3 || kind == 4 || kind == 6 || kind == 7;
    for (const auto& r : recs) {
      const Candidates& c = candidatesOf(r.code);
      const auto at = std::find(c.begin(), c.end(), r.text);
      ASSERT_NE(at, c.end()) << "kind " << kind << ": typing " << r.code << " does not list "
                             << u8(r.text) << " (" << u8(candidateLine(c)) << ")";
      if (shortCodes && holders[r.code].size() == 1) {
        EXPECT_EQ(at - c.begin(), 0)
            << "kind " << kind << ": " << u8(r.text) << " is not first for " << r.code;
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 35000u);
  EXPECT_GT(fullSearches, 100u);
}

TEST_F(BuiltTables, BaseDictionaryIsGroupedByFirstLetter) {
  std::size_t lines = 0;
  for (int letter = 0; letter < 26; ++letter) {
    const std::string& seg = built_->base[static_cast<std::size_t>(letter)];
    ASSERT_FALSE(seg.empty()) << "no group for " << static_cast<char>('a' + letter);
    ASSERT_EQ(seg.back(), '\r');
    std::istringstream in(seg);
    std::string line;
    while (std::getline(in, line, '\r')) {
      ++lines;
      const auto space = line.find(' ');
      ASSERT_NE(space, std::string::npos) << line;
      const std::string code = line.substr(0, space);
      const std::string text = line.substr(line.find_first_not_of(' ', space));
      ASSERT_EQ(code[0], 'a' + letter);
      ASSERT_LE(code.size(), 4u);
      ASSERT_TRUE(std::all_of(code.begin(), code.end(), isLower)) << code;
      ASSERT_TRUE(isGb2312Hanzi(text)) << code;
      ASSERT_LE(text.size(), 26u) << code;
    }
  }
  // Every character's full code has its line.
  for (const auto& [ch, c] : method().chars) {
    const std::string& seg = built_->base[static_cast<std::size_t>(c.written[0] - 'a')];
    const std::string line = c.written + " " + ch + "\r";
    const auto at = seg.find(line);
    EXPECT_TRUE(at != std::string::npos && (at == 0 || seg[at - 1] == '\r'))
        << u8(ch) << " " << c.written;
  }
  EXPECT_GT(lines, 6763u + 13432u);
}

}  // namespace
