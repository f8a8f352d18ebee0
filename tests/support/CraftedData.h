#pragma once
// Practice data made up for the tests: every drill table at its full record
// count, and a lookup dictionary in which each letter alone gives the
// character of the level-1 table ("a" -> hz(0), ... "z" -> hz(25)) and the
// codes "w" + three letters give the first two-character words.
#include <map>
#include <string>
#include <vector>

#include "data/PracticeData.h"

namespace quorvel::testing {

// The i-th character of the first GB2312 level (0 <= i < 3666), two GBK bytes.
inline std::string hz(int i) {
  i %= 3666;
  return {static_cast<char>(0xB0 + i / 94), static_cast<char>(0xA1 + i % 94)};
}

// `count` lower-case letters spelling `value` in base 26, most significant first.
inline std::string letters(int value, int count) {
  std::string s(static_cast<std::size_t>(count), 'a');
  for (int i = count - 1; i >= 0; --i) {
    s[static_cast<std::size_t>(i)] = static_cast<char>('a' + value % 26);
    value /= 26;
  }
  return s;
}

// Word r of the two-, three- and four-character tables.
inline std::string word(int chars, int r) {
  std::string w;
  for (int c = 0; c < chars; ++c) w += hz(100 + r * chars + c);
  return w;
}
inline std::string wordCode(int r) {
  std::string code(1, 'w');
  code += letters(r, 3);
  return code;
}

// A "base" text from lines grouped by letter; every letter gets at least its own line.
inline std::string baseText(const std::map<char, std::vector<std::string>>& extra) {
  std::string base;
  for (char x = 'a'; x <= 'z'; ++x) {
    base += std::string(1, x) + " " + hz(x - 'a') + "\r";
    if (auto it = extra.find(x); it != extra.end())
      for (const std::string& line : it->second) base += line + "\r";
  }
  return base;
}

inline std::string defaultBase() {
  std::vector<std::string> words;
  for (int r = 0; r < 12; ++r) words.push_back(wordCode(r) + " " + word(2, r));
  return baseText({{'w', words}});
}

// Kind 15's table: entry i has `lengths[i]` characters and the code "m" + 3 letters.
inline std::string wordmRecords(const std::vector<int>& lengths) {
  std::string records;
  int c = 2000;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    for (int k = 0; k < lengths[i]; ++k) records += hz(c++);
    records += 'm';
    records += letters(static_cast<int>(i), 3);
  }
  return records;
}

inline void setWordm(PracticeData& data, const std::vector<int>& lengths) {
  data.tables[15].records = wordmRecords(lengths);
  data.tables[15].present = true;
  data.wordm = splitWordm(data.tables[15].records, 296);
}

inline PracticeData craftedData() {
  PracticeData data;
  data.base = splitBase(defaultBase());
  data.basePresent = true;
  for (auto& picture : data.rootPictures)
    picture = platform::RgbImage{16, 16, std::vector<std::uint8_t>(16 * 16 * 3, 0)};
  auto table = [&](int kind, int records, int codeLetters, bool padTo4) {
    std::string t;
    for (int i = 0; i < records; ++i) {
      t += hz(kind == 2 ? i : 300 + i);
      std::string code =
          kind == 2 ? std::string(1, static_cast<char>('a' + i)) : letters(i, codeLetters);
      if (padTo4 && code.size() < 4) code += ' ';
      t += code;
    }
    data.tables[static_cast<std::size_t>(kind)] = {true, t};
  };
  table(2, 26, 1, false);
  table(3, 659, 2, false);
  table(4, 5020, 3, false);
  table(5, 6727, 4, true);
  table(6, 559, 2, false);
  table(7, 297, 3, false);
  table(8, 199, 4, true);
  table(9, 26, 4, true);
  table(10, 49, 4, true);
  table(11, 98, 4, true);
  auto words = [&](int kind, int chars, int records) {
    std::string t;
    for (int r = 0; r < records; ++r) t += word(chars, r) + wordCode(r);
    data.tables[static_cast<std::size_t>(kind)] = {true, t};
  };
  words(12, 2, 13432);
  words(13, 3, 3383);
  words(14, 4, 3559);
  setWordm(data, std::vector<int>(296, 2));
  // The splits of hz(300) (code aaaa, four roots) and hz(303) (one root);
  // the other characters have none.
  data.splits = parseCharSplits(hz(300) + "\t" + hz(10) + "A " + hz(11) + "A " + hz(12) + "Q " +
                                    hz(13) + "A\tA\t-\r\n" + hz(303) + "\t" + hz(14) + "A\tD\t" +
                                    hz(15) + "A " + hz(16) + "D\r\n",
                                nullptr);
  return data;
}

}  // namespace quorvel::testing
