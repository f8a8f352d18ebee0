#include "data/PracticeData.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/Log.h"

namespace quorvel {
namespace {

constexpr char kCR = '\r';

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char toLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Both rules walk the raw bytes the same way and differ only in what a CR
// becomes. The byte after a CR is dropped whatever it is (the LF of CR LF).
template <typename AtCR>
std::string normalise(std::string_view raw, AtCR atCR) {
  std::string out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == kCR) {
      atCR(raw, i, out);
      ++i;  // skip the following byte; at the very end there is none
      continue;
    }
    out.push_back(toLowerAscii(raw[i]));
  }
  return out;
}

constexpr std::size_t kWordmTextMax = 26;
constexpr std::size_t kWordmCodeLength = 4;

bool isLowerLetter(char c) { return c >= 'a' && c <= 'z'; }

// GB2312 only: no byte of a character may fall in the ASCII range, which the
// normalisation would fold, nor be a CR or LF.
bool isGb2312Text(std::string_view text) {
  if (text.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead < 0xA1 || lead > 0xF7 || trail < 0xA1 || trail > 0xFE) return false;
  }
  return true;
}

std::string atLine(std::size_t line, std::string_view what) {
  return "line " + std::to_string(line) + ": " + std::string(what);
}

// Walks the lines of `raw` ending with `lineEnd`, handing each (without its
// end) to `check`; the first fault wins.
template <typename Check>
std::optional<std::string> checkLines(std::string_view raw, std::string_view lineEnd, Check check) {
  std::size_t number = 1;
  for (std::size_t pos = 0; pos < raw.size(); ++number) {
    const std::size_t cr = raw.find(kCR, pos);
    const bool wantsLf = lineEnd.size() == 2;
    if (raw.substr(pos, cr == std::string_view::npos ? cr : cr - pos).find('\n') !=
        std::string_view::npos)
      return atLine(number, wantsLf ? "ends with LF alone; this table ends lines with CR LF"
                                    : "holds an LF; the dictionary ends lines with CR alone");
    if (cr == std::string_view::npos) return atLine(number, "has no line end (cut off?)");
    if (wantsLf && (cr + 1 >= raw.size() || raw[cr + 1] != '\n'))
      return atLine(number, "ends with CR alone; this table ends lines with CR LF");
    if (auto fault = check(raw.substr(pos, cr - pos))) return atLine(number, *fault);
    pos = cr + lineEnd.size();
  }
  return std::nullopt;
}

}  // namespace

namespace {

// GBK double-byte characters only: no ASCII byte (blank, tab, letter) inside.
bool isGbkText(std::string_view text) {
  if (text.empty() || text.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE || trail == 0x7F) return false;
  }
  return true;
}

bool isUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

// Cuts `s` at each separator into `out`; returns how many fields there are
// (more than out.size() when the rest did not fit). Start-up reads thousands
// of lines this way, so nothing is allocated.
template <std::size_t N>
std::size_t cutAt(std::string_view s, char separator, std::array<std::string_view, N>& out) {
  std::size_t count = 0;
  for (std::size_t start = 0;;) {
    const std::size_t end = s.find(separator, start);
    if (count < N) out[count] = s.substr(start, end == std::string_view::npos ? end : end - start);
    ++count;
    if (end == std::string_view::npos) return count;
    start = end + 1;
  }
}

// "礻Z 土T": roots (or strokes) each followed by its key letter; counted,
// and kept in `parts` when given.
std::optional<std::string> readParts(std::string_view field, std::vector<SplitPart>* parts,
                                     std::size_t& count) {
  count = 0;
  for (std::size_t start = 0;;) {
    const std::size_t end = field.find(' ', start);
    const std::string_view token =
        field.substr(start, end == std::string_view::npos ? end : end - start);
    if (token.size() < 3 || !isUpperLetter(token.back()) ||
        !isGbkText(token.substr(0, token.size() - 1)))
      return "\"" + std::string(token) + "\" is not a root followed by its key letter";
    if (parts) parts->push_back({std::string(token.substr(0, token.size() - 1)), token.back()});
    ++count;
    if (end == std::string_view::npos) return std::nullopt;
    start = end + 1;
  }
}

// One line of the splits: checked, and read into `split` when given.
std::optional<std::string> readSplitLine(std::string_view line, CharSplit* split) {
  std::array<std::string_view, 4> fields;
  if (cutAt(line, '\t', fields) != fields.size())
    return "expected character, roots, sound and strokes between tabs";
  if (fields[0].size() != 2 || !isGbkText(fields[0]))
    return "the character is not one GBK character";
  std::size_t roots = 0, strokes = 0;
  if (auto bad = readParts(fields[1], split ? &split->roots : nullptr, roots)) return bad;
  if (fields[2].size() != 1 || !isUpperLetter(fields[2][0]))
    return "the sound is not one upper-case letter";
  if (split) split->sound = fields[2][0];
  if (fields[3] != "-") {
    if (auto bad = readParts(fields[3], split ? &split->strokes : nullptr, strokes)) return bad;
  }
  // Only a character that is one root is coded by its first and last strokes.
  if (roots == 1 ? strokes != 2 : strokes != 0)
    return roots == 1 ? "a one-root character needs its first and last stroke"
                      : "strokes are given only for a one-root character";
  return std::nullopt;
}

std::uint16_t gbkPair(std::string_view character) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(character[0]) << 8 |
                                    static_cast<unsigned char>(character[1]));
}

}  // namespace

CharSplits parseCharSplits(std::string_view raw, std::string* fault) {
  CharSplits splits;
  std::vector<bool> seen(0x10000);
  std::size_t lineStart = 0;
  auto problem = checkLines(raw, "\r\n", [&](std::string_view line) -> std::optional<std::string> {
    if (auto bad = readSplitLine(line, nullptr)) return bad;
    const std::uint16_t character = gbkPair(line);
    if (seen[character]) return "the character is split a second time";
    seen[character] = true;
    splits.lines_.emplace_back(character, static_cast<std::uint32_t>(lineStart));
    lineStart += line.size() + 2;
    return std::nullopt;
  });
  if (problem) {
    if (fault) *fault = std::move(*problem);
    return {};
  }
  splits.raw_ = std::string(raw);
  std::sort(splits.lines_.begin(), splits.lines_.end());
  return splits;
}

std::optional<CharSplit> CharSplits::find(std::string_view character) const {
  if (character.size() != 2) return std::nullopt;
  const std::uint16_t wanted = gbkPair(character);
  const auto at = std::lower_bound(lines_.begin(), lines_.end(), std::make_pair(wanted, 0u));
  if (at == lines_.end() || at->first != wanted) return std::nullopt;
  const std::string_view rest = std::string_view(raw_).substr(at->second);
  CharSplit split;
  readSplitLine(rest.substr(0, rest.find('\r')), &split);  // checked when read
  return split;
}

void CharSplits::forEach(
    const std::function<void(std::string_view, const CharSplit&)>& visit) const {
  for (const auto& [character, start] : lines_) {
    const std::string_view text = std::string_view(raw_).substr(start, 2);
    if (const auto split = find(text)) visit(text, *split);
  }
}

char rootKey(int rootIndex) {
  if (rootIndex < 0 || rootIndex >= kRootCount) return 0;
  for (int key = 0; key < 26; ++key) {
    if (rootIndex < kRootKeyCounts[key]) return static_cast<char>('A' + key);
    rootIndex -= kRootKeyCounts[key];
  }
  return 0;
}

std::string normaliseRuleA(std::string_view raw) {
  return normalise(raw, [](std::string_view, std::size_t, std::string&) {});
}

std::string normaliseRuleB(std::string_view raw) {
  return normalise(raw, [](std::string_view r, std::size_t crAt, std::string& out) {
    // A full code of four letters fills the record; a three-letter code is
    // padded with a space. Near the start of the data there is no fourth byte
    // before the CR, which counts as "not a letter".
    const bool fourLetters = crAt >= 4 && isAsciiLetter(r[crAt - 4]);
    if (!fourLetters) out.push_back(' ');
  });
}

std::vector<WordmEntry> splitWordm(std::string_view normalised, int count) {
  std::vector<WordmEntry> entries;
  std::size_t pos = 0;
  for (int n = 0; n < count; ++n) {
    std::size_t codeAt = pos;
    while (codeAt < normalised.size() && !(normalised[codeAt] >= 'a' && normalised[codeAt] <= 'z'))
      ++codeAt;
    // An entry needs its whole code; a text or code cut off by the end of the
    // data is not an entry.
    if (normalised.size() - codeAt < kWordmCodeLength) break;
    WordmEntry entry;
    entry.text = std::string(normalised.substr(pos, std::min(codeAt - pos, kWordmTextMax)));
    entry.code = std::string(normalised.substr(codeAt, kWordmCodeLength));
    entries.push_back(std::move(entry));
    pos = codeAt + kWordmCodeLength;
  }
  return entries;
}

BaseSegments splitBase(std::string_view base) {
  BaseSegments segments;
  int letter = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < base.size() && letter < 26; ++i) {
    if (base[i] != kCR) continue;
    const char next = i + 1 < base.size() ? base[i + 1] : '\0';
    if (next == static_cast<char>('a' + letter)) continue;  // the group goes on
    segments[static_cast<std::size_t>(letter)] = std::string(base.substr(start, i + 1 - start));
    ++letter;
    start = i + 1;
  }
  return segments;
}

std::optional<std::string> checkDrillTable(int kind, std::string_view raw) {
  const KindInfo& info = kindInfo(kind);
  if (!hasDrillTable(kind)) return "kind " + std::to_string(kind) + " has no drill table";
  const bool words = info.recordBytes == 0;
  const std::size_t codeWidth = words ? kWordmCodeLength : info.recordBytes - info.textBytes;
  // Rule B pads a three-letter code to the record's width.
  const std::size_t fewestLetters = info.rule == 'B' ? codeWidth - 1 : codeWidth;
  return checkLines(raw, "\r\n", [&](std::string_view line) -> std::optional<std::string> {
    std::size_t codeAt = line.size();
    while (codeAt > 0 && isAsciiLetter(line[codeAt - 1])) --codeAt;
    const std::string_view text = line.substr(0, codeAt), code = line.substr(codeAt);
    if (!isGb2312Text(text)) return "the text is not GB2312 characters";
    if (words ? text.empty() || text.size() > kWordmTextMax
              : text.size() != static_cast<std::size_t>(info.textBytes))
      return "the text has " + std::to_string(text.size()) + " bytes";
    if (code.size() < fewestLetters || code.size() > codeWidth)
      return "the code has " + std::to_string(code.size()) + " letters, not " +
             std::to_string(codeWidth);
    if (!std::all_of(code.begin(), code.end(), isLowerLetter)) return "the code is not lower case";
    return std::nullopt;
  });
}

std::optional<std::string> checkBaseTable(std::string_view raw) {
  char lastLetter = 'a';
  return checkLines(raw, "\r", [&](std::string_view line) -> std::optional<std::string> {
    const std::size_t space = line.find(' ');
    const std::string_view code = line.substr(0, space);
    if (space == std::string_view::npos || code.empty() || code.size() > 4 ||
        !std::all_of(code.begin(), code.end(), isLowerLetter))
      return "expected a code of 1 to 4 lower-case letters, a space and a text";
    const std::size_t textAt = line.find_first_not_of(' ', space);
    const std::string_view text = line.substr(std::min(textAt, line.size()));
    if (text.empty() || text.size() > kWordmTextMax || !isGb2312Text(text))
      return "the text is not 1 to 13 GB2312 characters";
    // The dictionary is cut at each change of first letter, so the groups
    // must come in order.
    if (code[0] < lastLetter) return "not grouped by first letter a to z";
    lastLetter = code[0];
    return std::nullopt;
  });
}

int recordWidth(int kind) { return kindInfo(kind).recordBytes; }

int requiredRecords(int kind) { return hasDrillTable(kind) ? kindInfo(kind).records : 0; }

bool hasEnoughRecords(int kind, std::string_view records) {
  const KindInfo& info = kindInfo(kind);
  if (!hasDrillTable(kind) || info.records <= 0) return false;
  if (info.recordBytes == 0) {  // the word table: entries of varying width
    return splitWordm(records, info.records).size() == static_cast<std::size_t>(info.records);
  }
  return records.size() / static_cast<std::size_t>(info.recordBytes) >=
         static_cast<std::size_t>(info.records);
}

PracticeData loadPracticeData(const platform::ResourceLibrary& library) {
  PracticeData data;

  const auto reject = [&](std::string_view entry, std::string reason) {
    std::string problem = "chardata/" + std::string(entry) + ": " + reason;
    platform::logProblem(problem);
    data.problems.push_back(std::move(problem));
  };

  // One open for the whole set-up: each open reads the library's directory again.
  const platform::ResourceLibrary::Batch batch(library);
  if (!batch.available()) {
    platform::logProblem(library.file().empty()
                             ? std::string("no resource library found: the drills have no data")
                             : library.file().string() +
                                   ": cannot be opened as a zip archive: the drills have no data");
    return data;
  }

  const platform::ResourceData base = batch.read("chardata", "base");
  if (base.ok()) {
    if (auto fault = checkBaseTable(base.bytes)) {
      reject("base", *fault);
    } else {
      data.base = splitBase(base.bytes);
      data.basePresent = true;
    }
  } else if (base.status == platform::ResourceStatus::ReadError) {
    reject("base", "damaged in the library");
  }

  // Each item is read on its own: one that is missing or damaged leaves only
  // itself absent, and the rest of set-up goes on.
  for (int i = 0; i < kRootCount; ++i) {
    const platform::ResourceData bmp = batch.read("RCDATA", "root" + std::to_string(i + 1));
    if (!bmp.ok()) continue;
    auto picture = platform::decodeBmp(bmp.bytes);
    // The root image list holds 16 x 16 images; another size would not fit its slot.
    if (picture && picture->width == kRootPictureSize && picture->height == kRootPictureSize) {
      data.rootPictures[static_cast<std::size_t>(i)] = std::move(picture);
    }
  }

  // Lines of "root<TAB>name"; a line that is not is left empty.
  if (const platform::ResourceData names = batch.read("RCDATA", "rootnames"); names.ok()) {
    std::string_view rest = names.bytes;
    for (std::size_t i = 0; i < data.rootNames.size() && !rest.empty(); ++i) {
      const std::size_t end = std::min(rest.find('\n'), rest.size());
      std::string_view line = rest.substr(0, end);
      rest.remove_prefix(std::min(end + 1, rest.size()));
      const std::size_t tab = line.find('\t');
      if (tab == std::string_view::npos || tab == 0 || line.size() > 64) continue;
      data.rootNames[i] =
          std::string(line.substr(0, tab)) + " " + std::string(line.substr(tab + 1));
    }
  }

  for (int kind = pkNone + 1; kind < kKindCount; ++kind) {
    if (!hasDrillTable(kind)) continue;
    const KindInfo& info = kindInfo(kind);
    DrillTable& table = data.tables[static_cast<std::size_t>(kind)];
    const platform::ResourceData raw = batch.read("chardata", info.resource);
    if (!raw.ok()) {
      if (raw.status == platform::ResourceStatus::ReadError)
        reject(info.resource, "damaged in the library");
      continue;
    }
    // A table of the wrong form would show the learner junk: it is treated as absent.
    if (auto fault = checkDrillTable(kind, raw.bytes)) {
      reject(info.resource, *fault);
      continue;
    }
    std::string records = info.rule == 'B' ? normaliseRuleB(raw.bytes) : normaliseRuleA(raw.bytes);
    // The drills draw record indexes up to the fixed count, so a shorter
    // table would be read past its end: it is treated as absent.
    if (!hasEnoughRecords(kind, records)) {
      reject(info.resource,
             "fewer than the " + std::to_string(info.records) + " records its drill draws from");
      continue;
    }
    if (info.recordBytes == 0) data.wordm = splitWordm(records, info.records);
    table.records = std::move(records);
    table.present = true;
  }

  // The splits only add to the hints: without them the hints show the codes alone.
  const platform::ResourceData splits = batch.read("chardata", "splits");
  if (splits.ok()) {
    std::string fault;
    data.splits = parseCharSplits(splits.bytes, &fault);
    if (!fault.empty()) reject("splits", fault);
  } else if (splits.status == platform::ResourceStatus::ReadError) {
    reject("splits", "damaged in the library");
  } else {
    platform::logProblem("chardata/splits: not in the library: the hints show no splits");
  }
  return data;
}

std::array<std::optional<platform::RgbImage>, kRootCount> loadRootPictures(
    const platform::ResourceLibrary& library, int size) {
  std::array<std::optional<platform::RgbImage>, kRootCount> pictures;
  const platform::ResourceLibrary::Batch batch(library);
  for (int i = 0; i < kRootCount; ++i) {
    const platform::ResourceData bmp =
        batch.read("RCDATA", "root" + std::to_string(size) + "_" + std::to_string(i + 1));
    if (!bmp.ok()) continue;
    auto picture = platform::decodeBmp(bmp.bytes);
    if (picture && picture->width == size && picture->height == size)
      pictures[static_cast<std::size_t>(i)] = std::move(picture);
  }
  return pictures;
}

std::optional<std::string> loadText(const platform::ResourceLibrary& library,
                                    std::string_view name) {
  platform::ResourceData text = library.read("TIPDATA", name);
  if (!text.ok()) return std::nullopt;
  return std::move(text.bytes);
}

}  // namespace quorvel
