// A practice text is any file the learner picks: decoding it to GBK and
// cutting it into cells must take any bytes.
#include <cstdlib>

#include "FuzzInput.h"
#include "textpractice/TextCells.h"
#include "textpractice/TextFile.h"

namespace {

// The frame relies on these: both texts end with three zero bytes, and every
// line-break cell of the model is in the entry text at the same offset.
void checkCells(const quorvel::PracticeCells& cells) {
  const auto& m = cells.model;
  if (m.size() != cells.entry.size() || m.size() < 3 || m.size() > quorvel::kModelCellBytes + 3)
    std::abort();
  if (m[m.size() - 1] != 0 || m[m.size() - 2] != 0 || m[m.size() - 3] != 0) std::abort();
  // A CR in the model comes only from a line-break cell.
  for (std::size_t i = 0; i < m.size(); ++i)
    if (m[i] == '\r' && cells.entry[i] != '\r') std::abort();
  // Cells stay aligned: a lead byte starts a cell and has its trail byte
  // (0x40..0xFE) with it; a cell that starts below 0x80 holds no byte above.
  for (std::size_t i = 0; i + 1 < m.size() - 3; i += 2) {
    const auto a = static_cast<unsigned char>(m[i]), b = static_cast<unsigned char>(m[i + 1]);
    if (a >= 0x80 && (a < 0x81 || a == 0xFF || b < 0x40 || b == 0x7F || b == 0xFF)) std::abort();
    if (a < 0x80 && b >= 0x80) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel;
  if (size < 1) return 0;
  // The first byte picks a small read limit and whether the file goes on.
  const std::size_t limit = data[0] & 0x7F;
  const bool more = (data[0] & 0x80) != 0;
  const std::string_view raw = fuzz::bytes(data + 1, size - 1);

  // A text is refused only with a reason; one taken is never longer than
  // asked, in simplified characters too.
  for (const std::size_t max : {limit, textfile::kMaxGbkBytes}) {
    for (const bool simplified : {false, true}) {
      const textfile::LoadedText text = textfile::decodePracticeText(raw, more, max, simplified);
      if (text.ok != text.error.empty() || text.gbk.size() > max) std::abort();
      checkCells(convertToCells(text.gbk));
      if (textfile::simplifiedGbk(text.gbk, max).size() > max) std::abort();
    }
  }
  checkCells(convertToCells(raw));
  withCrLf(raw);
  if (cutUserName(raw).size() > 16) std::abort();
  return 0;
}
