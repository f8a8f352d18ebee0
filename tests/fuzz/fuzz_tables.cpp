// Drill tables and the lookup dictionary come out of the library as bytes:
// the checks, both normalisation rules, the cutting of the word table and
// the dictionary, and the reader of the splits must take anything.
#include <cstdlib>

#include "FuzzInput.h"
#include "data/PracticeData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  const std::string_view raw = fuzz::bytes(data, size);

  for (int kind = pkNone + 1; kind < kKindCount; ++kind) {
    if (!hasDrillTable(kind)) continue;
    const auto problem = checkDrillTable(kind, raw);
    const KindInfo& info = kindInfo(kind);
    const std::string records = info.rule == 'B' ? normaliseRuleB(raw) : normaliseRuleA(raw);
    // A table that passes its check normalises to whole records of its width.
    if (!problem && info.recordBytes > 0 && records.size() % info.recordBytes != 0) std::abort();
    hasEnoughRecords(kind, records);
  }

  const std::string normalised = normaliseRuleA(raw);
  for (const WordmEntry& e : splitWordm(normalised, 1000)) {
    if (e.text.size() > 26 || e.code.size() != 4) std::abort();
  }

  const BaseSegments segments = splitBase(raw);
  std::size_t total = 0;
  for (const auto& s : segments) total += s.size();
  if (total > raw.size()) std::abort();  // segments are cut from the data, never made up
  checkBaseTable(raw);

  // The splits are all or nothing, and every split read has roots and keys.
  std::string fault;
  parseCharSplits(raw, &fault)
      .forEach([&fault](std::string_view character, const CharSplit& split) {
        if (!fault.empty() || character.size() != 2 || split.roots.empty()) std::abort();
        for (const SplitPart& part : split.roots)
          if (part.key < 'A' || part.key > 'Z' || part.text.empty()) std::abort();
      });
  return 0;
}
