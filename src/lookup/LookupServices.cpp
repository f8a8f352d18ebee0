// Searches over the code tables loaded at frame set-up. Tables are records
// laid end to end; no search reads past a table's end, and a record cut short
// by the end of its table is ignored.
#include "lookup/LookupServices.h"

#include <array>
#include <utility>

#include "data/PracticeKinds.h"
#include "platform/Gbk.h"

namespace quorvel {

namespace {

std::string_view table(const PracticeData& data, int kind) {
  const DrillTable& t = data.tables[static_cast<std::size_t>(kind)];
  if (!t.present) return {};
  std::string_view bytes(t.records);
  const std::size_t zero = bytes.find('\0');  // a zero byte ends a table
  return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

bool isLetter(char c) { return c >= 'a' && c <= 'z'; }

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlankOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlankOrControl(s.back())) s.remove_suffix(1);
  return s;
}

// The code of the first record of a fixed-width table whose text is `text`.
std::string codeInFixed(std::string_view tbl, std::size_t recordBytes, std::size_t textBytes,
                        std::string_view text) {
  if (text.size() != textBytes) return {};
  for (std::size_t at = 0; at + recordBytes <= tbl.size(); at += recordBytes)
    if (tbl.substr(at, textBytes) == text)
      return std::string(tbl.substr(at + textBytes, recordBytes - textBytes));
  return {};
}

struct WordmRecord {
  std::string_view text;
  std::string_view code;
  std::string_view whole;
};

// Walks the many-character word table: a run of non-letter bytes, then four
// code letters. Returns false at the end of the table.
bool nextWordm(std::string_view tbl, std::size_t& at, WordmRecord& record) {
  const std::size_t start = at;
  std::size_t i = at;
  while (i < tbl.size() && !isLetter(tbl[i])) ++i;
  if (i >= tbl.size()) return false;
  const std::size_t codeLen = std::min<std::size_t>(4, tbl.size() - i);
  record.text = tbl.substr(start, i - start);
  record.code = tbl.substr(i, codeLen);
  record.whole = tbl.substr(start, i + codeLen - start);
  at = i + codeLen;
  return true;
}

using Ranges = std::array<std::pair<char, char>, 4>;

Ranges ranges(std::string_view pattern) {
  Ranges r{};
  for (std::size_t i = 0; i < pattern.size() && i < r.size(); ++i)
    r[i] = pattern[i] == '?' ? std::pair<char, char>{'a', 'z'}
                             : std::pair<char, char>{pattern[i], pattern[i]};
  return r;
}

bool codeMatches(std::string_view code, const Ranges& r, std::size_t letters) {
  if (code.size() < letters) return false;
  for (std::size_t i = 0; i < letters; ++i)
    if (code[i] < r[i].first || code[i] > r[i].second) return false;
  return true;
}

void appendMatchingRecords(std::string& out, std::string_view tbl, std::size_t recordBytes,
                           std::size_t textBytes, const Ranges& r, std::size_t letters) {
  for (std::size_t at = 0; at + recordBytes <= tbl.size(); at += recordBytes) {
    if (codeMatches(tbl.substr(at + textBytes, letters), r, letters)) {
      out.append(tbl.substr(at, recordBytes));
      out.push_back(' ');
    }
  }
}

// The code of `text` in the fixed-width drill table of a kind.
std::string codeIn(const PracticeData& data, int kind, std::string_view text) {
  const KindInfo& info = kindInfo(kind);
  return codeInFixed(table(data, kind), static_cast<std::size_t>(info.recordBytes),
                     static_cast<std::size_t>(info.textBytes), text);
}

void appendMatching(std::string& out, const PracticeData& data, int kind, const Ranges& r,
                    std::size_t letters) {
  const KindInfo& info = kindInfo(kind);
  appendMatchingRecords(out, table(data, kind), static_cast<std::size_t>(info.recordBytes),
                        static_cast<std::size_t>(info.textBytes), r, letters);
}

}  // namespace

std::string SplitText(const CharSplit& split) {
  const std::vector<SplitPart>& roots = split.roots;
  if (roots.empty()) return {};
  static const std::string head = gbk::fromUtf8("拆分："), arrow = gbk::fromUtf8(" → "),
                           sound = gbk::fromUtf8("，音 "), open = gbk::fromUtf8("（"),
                           close = gbk::fromUtf8("）"), first = gbk::fromUtf8("，首笔 "),
                           last = gbk::fromUtf8(" 末笔 ");
  // The code takes the first, second and last root; those between are skipped.
  std::string text = head, keys;
  auto key = [&keys](const SplitPart& part) {
    if (!keys.empty()) keys += ' ';
    keys += part.key;
  };
  if (roots.size() <= 3) {
    for (std::size_t i = 0; i < roots.size(); ++i) {
      text += (i ? " " : "") + roots[i].text;
      key(roots[i]);
    }
  } else {
    text += roots[0].text + " " + roots[1].text + open;
    // Run together, so that even fifteen roots fit on one line of the windows.
    for (std::size_t i = 2; i + 1 < roots.size(); ++i) text += roots[i].text;
    text += close + roots.back().text;
    key(roots[0]);
    key(roots[1]);
    key(roots.back());
  }
  if (roots.size() == 1 && split.strokes.size() == 2) {
    text += first + split.strokes[0].text + last + split.strokes[1].text;
    key(split.strokes[0]);
    key(split.strokes[1]);
  }
  return text + arrow + keys + sound + split.sound;
}

TCharCodes LookupCharCodes(const PracticeData& data, std::string_view character) {
  TCharCodes codes;
  codes.Text = std::string(character.substr(0, 4));
  if (character.size() != 2) return codes;
  codes.OneCode = codeIn(data, pkOnechar, character);
  codes.TwoCode = codeIn(data, pkTwochar, character);
  codes.ThreeCode = codeIn(data, pkThreechar, character);
  codes.AllCode = codeIn(data, pkAllchar, character);
  if (const auto split = data.splits.find(character)) codes.Split = SplitText(*split);
  return codes;
}

std::string LookupWordCodeIn(const PracticeData& data, int kind, std::string_view word) {
  const KindInfo& info = kindInfo(kind);
  if (word.empty() || info.tip != TipKind::Word || !hasDrillTable(kind)) return {};
  if (info.recordBytes > 0) return codeIn(data, kind, word);
  // The word table of varying width: whole entries only, so a word that
  // merely begins a longer entry is not it.
  const std::string_view tbl = table(data, kind);
  std::size_t at = 0;
  WordmRecord record;
  while (nextWordm(tbl, at, record))
    if (trimmed(record.text) == word) return std::string(record.code);
  return {};
}

std::string LookupWordCode(const PracticeData& data, std::string_view word) {
  for (int kind : {pkWord2, pkWord3, pkWord4, pkWordm}) {
    std::string code = LookupWordCodeIn(data, kind, word);
    if (!code.empty()) return code;
  }
  return {};
}

std::string FindCharsByCode(const PracticeData& data, std::string_view pattern) {
  std::string out;
  const Ranges r = ranges(pattern);
  switch (pattern.size()) {
    case 1: {
      const std::string_view tbl = table(data, pkOnechar);
      for (char x = r[0].first; x >= r[0].first && x <= r[0].second; ++x) {
        for (std::size_t at = 0; at + 3 <= tbl.size(); at += 3) {
          if (tbl[at + 2] != x) continue;
          out.append(tbl.substr(at, 3));
          out.push_back(' ');
          break;
        }
        if (x == r[0].second) break;  // also ends a range that reaches the top byte
      }
      break;
    }
    case 2: {
      const std::string_view tbl = table(data, pkTwochar);
      for (char x = r[0].first; x >= r[0].first && x <= r[0].second; ++x) {
        for (char y = r[1].first; y >= r[1].first && y <= r[1].second; ++y) {
          for (std::size_t at = 0; at + 4 <= tbl.size(); at += 4) {
            if (tbl[at + 2] != x || tbl[at + 3] != y) continue;
            out.append(tbl.substr(at, 4));
            out.push_back(' ');
            break;
          }
          if (y == r[1].second) break;
        }
        if (x == r[0].second) break;
      }
      break;
    }
    case 3:
      appendMatching(out, data, pkThreechar, r, 3);
      break;
    case 4:
      appendMatching(out, data, pkAllchar, r, 4);
      break;
    default:
      break;
  }
  return out;
}

std::string FindWordsByCode(const PracticeData& data, std::string_view pattern) {
  std::string out;
  if (pattern.size() != 4) return out;
  const Ranges r = ranges(pattern);
  appendMatching(out, data, pkWord2, r, 4);
  appendMatching(out, data, pkWord3, r, 4);
  appendMatching(out, data, pkWord4, r, 4);
  const std::string_view tbl = table(data, pkWordm);
  std::size_t at = 0;
  WordmRecord record;
  while (nextWordm(tbl, at, record)) {
    if (!codeMatches(record.code, r, 4)) continue;
    out.append(record.whole);
    out.push_back(' ');
  }
  return out;
}

std::string WordAtPosition(std::string_view text, std::size_t p) {
  if (p >= text.size()) return {};
  const std::size_t last = text.size() - 1;
  std::size_t start = p;
  while (start != 0) {
    if (text[start] == ' ') {
      ++start;
      break;
    }
    --start;
  }
  // end may step to before start (a blank at p): then there is no word.
  long long end = static_cast<long long>(p);
  while (static_cast<std::size_t>(end) != last) {
    if (text[static_cast<std::size_t>(end)] == ' ') {
      --end;
      break;
    }
    ++end;
  }
  if (end < static_cast<long long>(start)) return {};
  return std::string(text.substr(start, static_cast<std::size_t>(end) - start + 1));
}

}  // namespace quorvel
