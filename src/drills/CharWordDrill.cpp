#include "drills/CharWordDrill.h"

#include <algorithm>

#include "history/WeakDraw.h"
#include "lookup/LookupServices.h"
#include "platform/Gbk.h"
#include "practice/FrameTexts.h"

namespace quorvel {

namespace {

constexpr int kLineItems = kGridColumns;
constexpr int kPageLines = kGridRows / 2;

int textCellOf(int pos) { return cellIndex(pos % kLineItems, 2 * (pos / kLineItems)); }
int entryCellOf(int pos) { return textCellOf(pos) + 1; }

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlankOrControl(s[b])) ++b;
  while (e > b && isBlankOrControl(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

}  // namespace

CharWordDrill::CharWordDrill(KindContext& context, const KindInfo& info)
    : ctx_(context),
      info_(info),
      sequence_(static_cast<std::size_t>(info.sequenceBytes) + 1, '\0'),
      typed_(static_cast<std::size_t>(info.sequenceBytes) + 1, '\0'),
      typedMs_(static_cast<std::size_t>(info.sequenceBytes) / 2 + 1, -1),
      pageStarts_(static_cast<std::size_t>(info.lastPage) + 2, 0) {}

bool CharWordDrill::canStart() const {
  if (info_.weakItems) return !weakPool().weak.empty();
  if (info_.plannedItems) return ctx_.plan().kind == info_.kind && !ctx_.plan().items.empty();
  const PracticeData& data = ctx_.data();
  const DrillTable& table = data.tables[static_cast<std::size_t>(info_.kind)];
  if (!table.present) return false;
  // A table shorter than the draw needs would make the draw read past its end.
  if (info_.recordBytes == 0) return data.wordm.size() >= static_cast<std::size_t>(info_.records);
  return table.records.size() >=
         static_cast<std::size_t>(info_.records) * static_cast<std::size_t>(info_.recordBytes);
}

void CharWordDrill::start() {
  std::fill(pageStarts_.begin(), pageStarts_.end(), 0);
  std::fill(sequence_.begin(), sequence_.end(), '\0');
  std::fill(typed_.begin(), typed_.end(), '\0');
  std::fill(typedMs_.begin(), typedMs_.end(), -1);
  draw();
  practicePage_ = viewPage_ = position_ = offset_ = 0;
  if (!showPage(0)) return;
  tally_ = RunTally{};
  tally_.started = tally_.counted = ctx_.clock().now();
  ctx_.changed();
}

std::string CharWordDrill::shownName() const {
  return info_.plannedItems ? ctx_.plan().title : std::string();
}

std::string CharWordDrill::refusal() const {
  if (info_.plannedItems) return frameTexts().noSession;
  if (!info_.weakItems) return {};
  return info_.tip == TipKind::Word ? frameTexts().noWeakWords : frameTexts().noHistory;
}

namespace {
// A character of GB2312's hanzi rows: what the character drills teach. Other
// items of the text kinds (letters, punctuation) are left out of the drill.
bool isHanzi(const std::string& gbkText) {
  if (gbkText.size() != 2) return false;
  const auto lead = static_cast<unsigned char>(gbkText[0]);
  const auto trail = static_cast<unsigned char>(gbkText[1]);
  return lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE;
}

// How many of the weakest and of the mastered a weak run draws from.
constexpr int kWeakPool = 60;
constexpr int kMasteredPool = 60;
constexpr int kMasteredMinTries = 2;
// The longest word a word entry holds: thirteen characters.
constexpr std::size_t kWordTextMax = 26;
}  // namespace

bool CharWordDrill::typeable(const std::string& gbkText) const {
  if (info_.tip != TipKind::Word) return isHanzi(gbkText);
  // A word is typed by its code: one the word tables no longer hold, or one
  // too long for a word entry, cannot be practised.
  return gbkText.size() >= 4 && gbkText.size() <= kWordTextMax &&
         !LookupWordCode(ctx_.data(), gbkText).empty();
}

CharWordDrill::WeakPool CharWordDrill::weakPool() const {
  WeakPool pool;
  history::HistoryStore* store = ctx_.history();
  if (store == nullptr) return pool;
  const history::ItemClass cls = weakItemClass(info_);
  auto typeableOnly = [this](std::vector<history::ItemStat> items) {
    std::vector<history::ItemStat> kept;
    for (history::ItemStat& item : items) {
      item.item = gbk::fromUtf8(item.item);
      if (typeable(item.item)) kept.push_back(std::move(item));
    }
    return kept;
  };
  pool.weak = typeableOnly(store->weakest(cls, 1, kWeakPool));
  if (!pool.weak.empty())
    pool.mastered = typeableOnly(store->mastered(cls, kMasteredMinTries, kMasteredPool));
  return pool;
}

void CharWordDrill::drawWeak() {
  const WeakPool pool = weakPool();
  const auto now =
      std::chrono::duration_cast<std::chrono::seconds>(ctx_.clock().now().time_since_epoch())
          .count();
  placeItems(history::drawWeakItems(pool.weak, pool.mastered, info_.drawn, ctx_.random(), now));
}

void CharWordDrill::placeItems(const std::vector<std::string>& items) {
  // Words are followed by their separator, as in the word drills; the run
  // ends before the first item that does not fit.
  const std::size_t separator = info_.tip == TipKind::Word ? 2 : 0;
  std::size_t out = 0;
  int placed = 0;
  for (const std::string& item : items) {
    if (placed == info_.drawn ||
        out + item.size() + separator > static_cast<std::size_t>(info_.sequenceBytes))
      break;
    for (char c : item) sequence_[out++] = c;
    for (std::size_t i = 0; i < separator; ++i) sequence_[out++] = ' ';
    ++placed;
  }
}

void CharWordDrill::draw() {
  platform::RandomSource& random = ctx_.random();
  random.seedFromClock();
  if (info_.weakItems) {
    drawWeak();
    return;
  }
  if (info_.plannedItems) {
    std::vector<std::string> typeableItems;
    for (const std::string& item : ctx_.plan().items)
      if (typeable(item)) typeableItems.push_back(item);
    placeItems(typeableItems);
    return;
  }
  if (info_.recordBytes == 0) {
    drawWordm();
    return;
  }
  const std::string& records = ctx_.data().tables[static_cast<std::size_t>(info_.kind)].records;
  const bool words = info_.tip == TipKind::Word;
  const int textBytes = info_.textBytes;
  std::size_t out = 0;
  for (int i = 0; i < info_.drawn; ++i) {
    const std::size_t at = static_cast<std::size_t>(random.uniform(info_.records)) *
                           static_cast<std::size_t>(info_.recordBytes);
    for (int b = 0; b < textBytes; ++b)
      sequence_[out++] = records[at + static_cast<std::size_t>(b)];
    if (words) {
      sequence_[out++] = ' ';
      sequence_[out++] = ' ';
    }
  }
  // The buffers were zeroed, so the terminator is already in place.
}

void CharWordDrill::drawWordm() {
  platform::RandomSource& random = ctx_.random();
  constexpr int n = 296;
  std::array<int, n> slot{};
  for (int& s : slot) s = random.uniform(n - 1);
  for (int i = 0; i < n; ++i) {
    if (slot[i] == 0) continue;
    for (int j = i + 1; j < n; ++j)
      if (slot[j] == slot[i]) slot[j] = 0;
  }
  std::array<bool, n> missing{};
  missing.fill(true);
  for (int s : slot)
    if (s != 0) missing[static_cast<std::size_t>(s)] = false;
  // A slot holding 0 is empty, so entry 0 is always placed here.
  int from = 0;
  for (int number = n - 1; number >= 0; --number) {
    if (!missing[static_cast<std::size_t>(number)]) continue;
    while (from < n && slot[static_cast<std::size_t>(from)] != 0) ++from;
    if (from == n) break;
    slot[static_cast<std::size_t>(from)] = number;
  }

  const std::vector<WordmEntry>& entries = ctx_.data().wordm;
  std::size_t out = 0;
  for (int s : slot) {
    const std::string text = trimmed(entries[static_cast<std::size_t>(s)].text);
    // The run must stay below 21 full pages; the rest of the words are left out.
    if (out + text.size() + 2 > static_cast<std::size_t>(kWordmMaxRunBytes)) break;
    for (char c : text) sequence_[out++] = c;
    sequence_[out++] = ' ';
    sequence_[out++] = ' ';
  }
}

std::string CharWordDrill::sequenceText() const {
  const auto end = std::find(sequence_.begin(), sequence_.end(), '\0');
  return std::string(sequence_.begin(), end);
}

bool CharWordDrill::itemAt(int off) const {
  return off >= 0 && static_cast<std::size_t>(off) + 1 < sequence_.size() &&
         sequence_[static_cast<std::size_t>(off)] != '\0';
}

std::string CharWordDrill::itemText(int off) const {
  const std::size_t at = static_cast<std::size_t>(off);
  std::string text{sequence_[at], sequence_[at + 1]};
  if (text[1] == '\0') text.resize(1);
  return text;
}

std::string CharWordDrill::entryText(int off) const {
  const std::size_t at = static_cast<std::size_t>(off);
  std::string text{typed_[at], typed_[at + 1]};
  if (text[1] == '\0') text.resize(1);
  return text;
}

bool CharWordDrill::entryRight(int off) const {
  const std::size_t at = static_cast<std::size_t>(off);
  return typed_[at] == sequence_[at] && typed_[at + 1] == sequence_[at + 1];
}

void CharWordDrill::setText(int pos, std::string text, bool green) {
  CellLabel& cell = ctx_.view().cells[static_cast<std::size_t>(textCellOf(pos))];
  cell.text = std::move(text);
  cell.filled = green;
  cell.colour = green ? colour::Current : 0;
}

void CharWordDrill::setEntryShown(int pos, int off) {
  CellLabel& cell = ctx_.view().cells[static_cast<std::size_t>(entryCellOf(pos))];
  cell.text = entryText(off);
  cell.filled = true;
  cell.colour = entryRight(off) ? colour::Right : colour::Wrong;
}

void CharWordDrill::setEntryEmpty(int pos) {
  ctx_.view().cells[static_cast<std::size_t>(entryCellOf(pos))] = CellLabel{};
}

void CharWordDrill::setArrow(int pos) {
  ctx_.view().cells[static_cast<std::size_t>(entryCellOf(pos))] =
      CellLabel{frameTexts().arrowUp, false, 0};
}

void CharWordDrill::markCurrent() {
  CellLabel& text = ctx_.view().cells[static_cast<std::size_t>(textCellOf(position_))];
  text.filled = true;
  text.colour = colour::Current;
  setArrow(position_);
}

void CharWordDrill::recordNextStart(int page) {
  const int next = pageStarts_[static_cast<std::size_t>(page)] + kPageItems * 2;
  if (page < info_.lastPage && itemAt(next)) pageStarts_[static_cast<std::size_t>(page) + 1] = next;
}

bool CharWordDrill::yieldAfterLine() { return ctx_.letEventsRun(); }

bool CharWordDrill::showPage(int page) {
  const int start = pageStarts_[static_cast<std::size_t>(page)];
  for (int line = 0; line < kPageLines; ++line) {
    for (int col = 0; col < kLineItems; ++col) {
      const int pos = line * kLineItems + col;
      const int off = start + 2 * pos;
      if (!itemAt(off)) {
        setText(pos, {}, false);
        setEntryEmpty(pos);
        continue;
      }
      setText(pos, itemText(off), false);
      const bool made = page < practicePage_ || (page == practicePage_ && pos < position_);
      if (made)
        setEntryShown(pos, off);
      else
        setEntryEmpty(pos);
    }
    if (!yieldAfterLine()) return false;
  }
  if (page == practicePage_) markCurrent();
  recordNextStart(page);
  return true;
}

void CharWordDrill::enterItem(char b1, char b2) {
  if (!itemAt(offset_)) return;  // the run is over
  const std::size_t at = static_cast<std::size_t>(offset_);
  typed_[at] = b1;
  typed_[at + 1] = b2;
  typedMs_[at / 2] = ctx_.takeEntryMs();
  ++position_;
  if (position_ < kPageItems) {
    const int prev = position_ - 1;
    setEntryShown(prev, offset_);
    ctx_.view().cells[static_cast<std::size_t>(textCellOf(prev))].filled = false;
    markCurrent();
  } else {
    ++practicePage_;
    // A run never reaches beyond one page after its last allowed page.
    if (pageStarts_[static_cast<std::size_t>(practicePage_)] == 0)
      pageStarts_[static_cast<std::size_t>(practicePage_)] = offset_ + 2;
    position_ = 0;
    if (!showPage(practicePage_)) return;
    viewPage_ = practicePage_;
    ctx_.showPageInfo(viewPage_, practicePage_);
  }
  offset_ += 2;
  if (itemAt(offset_)) {
    updateScore();
  } else {
    setEntryEmpty(position_);
    ctx_.view().cells[static_cast<std::size_t>(textCellOf(position_))].filled = false;
    updateScore();
    ctx_.endRun();
    ctx_.reportEnd();
  }
  ctx_.changed();
}

void CharWordDrill::deleteLast() {
  --position_;
  if (offset_ > 0) offset_ -= 2;
  const std::size_t at = static_cast<std::size_t>(offset_);
  typed_[at] = typed_[at + 1] = '\0';
  if (position_ >= 0) {
    markCurrent();
    if (position_ != kPageItems - 1) {
      ctx_.view().cells[static_cast<std::size_t>(textCellOf(position_ + 1))].filled = false;
      setEntryEmpty(position_ + 1);
    }
  } else if (practicePage_ == 0) {
    position_ = 0;
    return;
  } else {
    --practicePage_;
    position_ = kPageItems - 1;
    viewPage_ = practicePage_;
    if (!showPage(practicePage_)) return;
    ctx_.showPageInfo(viewPage_, practicePage_);
  }
  updateScore();
  ctx_.changed();
}

void CharWordDrill::viewNextPage() {
  if (viewPage_ >= info_.lastPage || pageStarts_[static_cast<std::size_t>(viewPage_) + 1] == 0)
    return;
  turnViewTo(viewPage_ + 1);
}

void CharWordDrill::viewPreviousPage() {
  if (viewPage_ == 0) return;
  turnViewTo(viewPage_ - 1);
}

void CharWordDrill::turnViewTo(int page) {
  ctx_.view().cells[static_cast<std::size_t>(textCellOf(position_))].filled = false;
  viewPage_ = page;
  if (!showPage(viewPage_)) return;
  ctx_.showPageInfo(viewPage_, practicePage_);
}

bool CharWordDrill::entryRightAt(std::size_t at) const {
  return typed_[at] == sequence_[at] && typed_[at + 1] == sequence_[at + 1];
}

void CharWordDrill::updateScore() {
  tally_.counted = ctx_.clock().now();
  tally_.entries = tally_.right = 0;
  for (std::size_t at = 0; at + 1 < typed_.size() && typed_[at] != '\0'; at += 2) {
    ++tally_.entries;
    if (entryRightAt(at)) ++tally_.right;
  }
  ctx_.showSpeedAndAccuracy(tally_.speed(), tally_.accuracy());
}

bool CharWordDrill::describeRun(history::RunRecord& run) const {
  const bool words = info_.tip == TipKind::Word;
  history::RunEntry word{history::ItemClass::Word, {}, {}, true, 0};
  for (std::size_t at = 0; at + 1 < typed_.size() && typed_[at] != '\0'; at += 2) {
    const bool ok = entryRightAt(at);
    if (!words) {
      run.entries.push_back(history::RunEntry{history::ItemClass::Character,
                                              {sequence_[at], sequence_[at + 1]},
                                              {typed_[at], typed_[at + 1]},
                                              ok,
                                              typedMs_[at / 2]});
      continue;
    }
    // A word's time is that of its characters and its separator.
    word.ms += std::max(typedMs_[at / 2], 0);
    // A word counts once, when its separator was entered: right when each of
    // its characters was. A wrong separator costs the run's accuracy, but the
    // word itself was typed right and is no miss.
    if (sequence_[at] == ' ' && sequence_[at + 1] == ' ') {
      word.ms = history::cappedEntryMs(word.ms);
      run.entries.push_back(word);
      word = history::RunEntry{history::ItemClass::Word, {}, {}, true, 0};
    } else {
      word.right = word.right && ok;
      word.expected.append({sequence_[at], sequence_[at + 1]});
      word.typed.append({typed_[at], typed_[at + 1]});
    }
  }
  if (tally_.entries == 0) return false;
  tally_.fill(run);
  return true;
}

void CharWordDrill::codeHint() {
  if (!itemAt(offset_)) return;
  const std::string item = itemText(offset_);
  const PracticeData& data = ctx_.data();
  TCharCodes codes = LookupCharCodes(data, item);
  FrameHost& host = ctx_.host();
  if (info_.tip != TipKind::Word) {
    host.showCharHint(codes);
    return;
  }
  if (trimmed(codes.AllCode).empty()) return;
  std::string word = WordAtPosition(sequenceText(), static_cast<std::size_t>(offset_));
  if (word.size() > 26) word.resize(26);
  TWordCode wordCode;
  // The weak-word drill has no table of its own: its words come from all of them.
  wordCode.Code = info_.weakItems || info_.plannedItems
                      ? LookupWordCode(data, trimmed(word))
                      : LookupWordCodeIn(data, info_.kind, trimmed(word));
  wordCode.Text = word;
  host.showWordHint(codes, wordCode);
}

}  // namespace quorvel
