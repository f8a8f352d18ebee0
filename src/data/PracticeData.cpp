#include "data/PracticeData.h"

#include <algorithm>
#include <string>

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
constexpr int kRootPictureSize = 16;

}  // namespace

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

  const platform::ResourceData base = library.read("chardata", "base");
  if (base.ok()) {
    data.base = splitBase(base.bytes);
    data.basePresent = true;
  }

  // Each item is read on its own: one that is missing or damaged leaves only
  // itself absent, and the rest of set-up goes on.
  for (int i = 0; i < kRootCount; ++i) {
    const platform::ResourceData bmp = library.read("RCDATA", "root" + std::to_string(i + 1));
    if (!bmp.ok()) continue;
    auto picture = platform::decodeBmp(bmp.bytes);
    // The root image list holds 16 x 16 images; another size would not fit its slot.
    if (picture && picture->width == kRootPictureSize && picture->height == kRootPictureSize) {
      data.rootPictures[static_cast<std::size_t>(i)] = std::move(picture);
    }
  }

  for (int kind = pkNone + 1; kind < kKindCount; ++kind) {
    if (!hasDrillTable(kind)) continue;
    const KindInfo& info = kindInfo(kind);
    DrillTable& table = data.tables[static_cast<std::size_t>(kind)];
    const platform::ResourceData raw = library.read("chardata", info.resource);
    if (!raw.ok()) continue;
    std::string records = info.rule == 'B' ? normaliseRuleB(raw.bytes) : normaliseRuleA(raw.bytes);
    // The drills draw record indexes up to the fixed count, so a shorter
    // table would be read past its end: it is treated as absent.
    if (!hasEnoughRecords(kind, records)) continue;
    if (info.recordBytes == 0) data.wordm = splitWordm(records, info.records);
    table.records = std::move(records);
    table.present = true;
  }
  return data;
}

std::optional<std::string> loadText(const platform::ResourceLibrary& library,
                                    std::string_view name) {
  platform::ResourceData text = library.read("TIPDATA", name);
  if (!text.ok()) return std::nullopt;
  return std::move(text.bytes);
}

}  // namespace quorvel
