#include "textpractice/TextComparison.h"

#include <algorithm>
#include <cstdio>

#include "lookup/LookupServices.h"
#include "platform/Gbk.h"
#include "practice/FrameTexts.h"
#include "practice/PunctuationKeys.h"
#include "textpractice/TextCells.h"

namespace quorvel {

namespace {

// The page holds five lines of 25 cells; each line is a text row with the
// entry row under it.
constexpr int kLineCells = kGridColumns;
constexpr int kPageLines = kGridRows / 2;
constexpr int kPageCells = kLineCells * kPageLines;
// The entries counted for the score: every cell the text can hold.
constexpr int kMaxCells = static_cast<int>(kModelCellBytes / 2);

std::string trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return std::string(s.substr(b, e - b));
}

}  // namespace

// ---- cells ----

char TextComparisonKind::modelAt(int offset) const {
  const auto at = static_cast<std::size_t>(offset);
  return offset >= 0 && at < state_.modelText.size() ? state_.modelText[at] : '\0';
}

bool TextComparisonKind::isBreak(int offset) const {
  return modelAt(offset) == '\r' && modelAt(offset + 1) == '\r';
}

bool TextComparisonKind::isEnd(int offset) const { return modelAt(offset) == '\0'; }

bool TextComparisonKind::enteredBySpace(int offset) const {
  const std::string cell = modelCell(offset);
  // ASCII cells, space cells and line breaks have keys of their own.
  if (static_cast<unsigned char>(cell[0]) < 0x81) return false;
  const auto known = bySpace_.find(cell);
  if (known != bySpace_.end()) return known->second;
  static const std::string ideographicSpace = gbk::fromUtf8("\u3000");
  const bool bySpace =
      cell == ideographicSpace ||
      (!punctuationKeyEnters(cell) && trimmed(LookupCharCodes(ctx_.data(), cell).AllCode).empty());
  bySpace_.emplace(cell, bySpace);
  return bySpace;
}

std::string TextComparisonKind::modelCell(int offset) const {
  return std::string{modelAt(offset), modelAt(offset + 1)};
}

std::string TextComparisonKind::entryCell(int offset) const {
  const auto at = static_cast<std::size_t>(offset);
  if (offset < 0 || at + 1 >= state_.entryText.size()) return std::string(2, '\0');
  return std::string{state_.entryText[at], state_.entryText[at + 1]};
}

void TextComparisonKind::skipBreaks() {
  while (isBreak(state_.textOffset)) state_.textOffset += 2;
}

// ---- labels ----

CellLabel& TextComparisonKind::textLabel(int position) {
  return ctx_.view().cells[static_cast<std::size_t>(
      cellIndex(position % kLineCells, 2 * (position / kLineCells)))];
}

CellLabel& TextComparisonKind::entryLabel(int position) {
  return ctx_.view().cells[static_cast<std::size_t>(
      cellIndex(position % kLineCells, 2 * (position / kLineCells)) + 1)];
}

bool TextComparisonKind::rowEndAt(int position) const {
  const auto& cell = ctx_.view().cells[static_cast<std::size_t>(
      cellIndex(position % kLineCells, 2 * (position / kLineCells)))];
  return cell.text == kRowEndMarker;
}

void TextComparisonKind::showEntry(int position, int offset) {
  const std::string entry = entryCell(offset);
  CellLabel& label = entryLabel(position);
  label.text = cellLabelText(entry[0], entry[1]);
  label.filled = true;
  label.colour = entry == modelCell(offset) ? colour::Right : colour::Wrong;
}

void TextComparisonKind::MarkTextCursor() {
  entryLabel(state_.positionInPage) = CellLabel{frameTexts().arrowUp, false, 0};
  CellLabel& text = textLabel(state_.positionInPage);
  text.filled = true;
  text.colour = colour::Current;
}

// ---- load and start ----

bool TextComparisonKind::loadFile(const std::string& path, bool simplified) {
  const textfile::LoadedText loaded =
      textfile::readPracticeText(path, textfile::kMaxGbkBytes, simplified);
  if (!loaded.ok) {
    ctx_.host().showError("无法读取文件“" + path + "”：" + loaded.error);
    return false;
  }
  // A text of nothing but line ends would start a run with nothing to type.
  if (loaded.gbk.find_first_not_of("\r\n") == std::string::npos) {
    ctx_.host().showError("文件“" + path + "”中没有可练习的文字");
    return false;
  }
  state_.fileName = path;
  loadedText_ = loaded.gbk;
  ctx_.view().previewText = withCrLf(loaded.gbk);
  ctx_.changed();
  return true;
}

void TextComparisonKind::startRun() {
  state_.pageStarts.fill(0);
  bySpace_.clear();  // the tables may have been read anew
  PracticeCells cells = convertToCells(loadedText_);
  state_.modelText = std::move(cells.model);
  state_.entryText = std::move(cells.entry);
  state_.entryMs.assign(state_.entryText.size() / 2 + 1, -1);
  state_.practicePage = state_.viewPage = state_.positionInPage = state_.textOffset = 0;
  if (!FillTextPage()) return;
  MarkTextCursor();
  state_.tally = RunTally{};
  state_.tally.started = state_.tally.counted = ctx_.clock().now();
  ctx_.changed();
}

// ---- pages ----

TextComparisonKind::Walk TextComparisonKind::walkPage(int page, bool showEntries, bool allEntered) {
  Walk walk;
  int p = state_.pageStarts[static_cast<std::size_t>(page)];
  const bool before = page < state_.practicePage;
  const bool current = page == state_.practicePage;
  for (int line = 0; line < kPageLines; ++line) {
    bool rowEnded = false;
    for (int column = 0; column < kLineCells; ++column) {
      const int k = line * kLineCells + column;
      CellLabel& text = textLabel(k);
      CellLabel& entry = entryLabel(k);
      text = CellLabel{};
      entry = CellLabel{};
      int shown = -1;  // offset of the model cell shown here
      if (walk.ended) {
        // blank after the end of the text
      } else if (rowEnded) {
        text.text = kRowEndMarker;
        if (showEntries) entry.text = kRowEndMarker;
      } else if (isEnd(p)) {
        walk.ended = true;
      } else if (!isBreak(p)) {
        shown = p;
        p += 2;
      } else if (column == 0) {
        // A break at the start of a grid line adds no empty line, so blank
        // lines of the file vanish too.
        while (isBreak(p)) p += 2;
        if (isEnd(p)) {
          walk.ended = true;
        } else {
          shown = p;
          p += 2;
        }
      } else {
        rowEnded = true;
        while (isBreak(p)) p += 2;
        text.text = kRowEndMarker;
        if (showEntries) entry.text = kRowEndMarker;
      }
      if (shown >= 0) {
        text.text = cellLabelText(modelAt(shown), modelAt(shown + 1));
        const bool entered = allEntered || before || (current && k < state_.positionInPage);
        if (showEntries && entered) showEntry(k, shown);
      }
    }
    if (!ctx_.letEventsRun()) {
      walk.overtaken = true;
      return walk;
    }
  }
  walk.offset = p;
  return walk;
}

bool TextComparisonKind::FillTextPage() {
  const Walk walk = walkPage(state_.practicePage, false, false);
  if (walk.overtaken) return false;
  if (!walk.ended && state_.practicePage + 1 <= TTextPracticeState::kLastPage)
    state_.pageStarts[static_cast<std::size_t>(state_.practicePage) + 1] = walk.offset;
  return true;
}

TextComparisonKind::Walk TextComparisonKind::ShowTextPage(int page, bool allEntered) {
  return walkPage(page, true, allEntered);
}

// ---- entries ----

void TextComparisonKind::AcceptTextEntry(char a, char b) {
  TTextPracticeState& s = state_;
  if (isEnd(s.textOffset)) return;  // the text is done
  skipBreaks();
  const auto at = static_cast<std::size_t>(s.textOffset);
  if (a == ' ' && b == ' ' && enteredBySpace(s.textOffset)) {
    a = modelAt(s.textOffset);
    b = modelAt(s.textOffset + 1);
  }
  s.entryText[at] = a;
  s.entryText[at + 1] = b;
  s.entryMs[at / 2] = ctx_.takeEntryMs();
  textLabel(s.positionInPage).filled = false;
  showEntry(s.positionInPage, s.textOffset);

  ++s.positionInPage;
  while (s.positionInPage < kPageCells && rowEndAt(s.positionInPage))
    s.positionInPage = (s.positionInPage / kLineCells + 1) * kLineCells;

  if (s.positionInPage >= kPageCells) {
    if (s.practicePage >= TTextPracticeState::kLastPage) {
      // Page starts are known for pages 0 to 300 only; line breaks can make a
      // text need more pages than that, and the run then ends with page 300,
      // its last entry still on show.
      s.positionInPage = kPageCells - 1;
      finish();
      ctx_.changed();
      return;
    }
    ++s.practicePage;
    s.textOffset += 2;
    skipBreaks();
    if (s.pageStarts[static_cast<std::size_t>(s.practicePage)] == 0)
      s.pageStarts[static_cast<std::size_t>(s.practicePage)] = s.textOffset;
    s.positionInPage = 0;
    if (!FillTextPage()) return;
    MarkTextCursor();
    s.viewPage = s.practicePage;
    ctx_.showPageInfo(s.practicePage, s.practicePage);
  } else {
    MarkTextCursor();
    s.textOffset += 2;
    skipBreaks();
  }

  if (isEnd(s.textOffset))
    endOfText();
  else
    UpdateTextSpeed();
  ctx_.changed();
}

void TextComparisonKind::endOfText() {
  entryLabel(state_.positionInPage) = CellLabel{};
  textLabel(state_.positionInPage).filled = false;
  finish();
  ctx_.changed();
}

void TextComparisonKind::DeleteTextEntry() {
  TTextPracticeState& s = state_;
  textLabel(s.positionInPage).filled = false;
  entryLabel(s.positionInPage) = CellLabel{};
  --s.positionInPage;
  if (s.textOffset > 0) {
    s.textOffset -= 2;
    while (s.textOffset > 0 && isBreak(s.textOffset)) s.textOffset -= 2;
    // Breaks at the very start of the text stay in the entry text, so the
    // score keeps counting past them.
    if (!isBreak(s.textOffset)) {
      const auto at = static_cast<std::size_t>(s.textOffset);
      s.entryText[at] = s.entryText[at + 1] = '\0';
    }
  }
  if (s.positionInPage < 0) {
    if (s.practicePage == 0) {
      s.positionInPage = 0;
      s.textOffset = s.pageStarts[0];
      MarkTextCursor();
    } else {
      --s.practicePage;
      if (ShowTextPage(s.practicePage, true).overtaken) return;
      s.positionInPage = kPageCells - 1;
      while (s.positionInPage > 0 && rowEndAt(s.positionInPage)) --s.positionInPage;
      MarkTextCursor();
      s.viewPage = s.practicePage;
      ctx_.showPageInfo(s.practicePage, s.practicePage);
    }
  } else {
    while (s.positionInPage > 0 && rowEndAt(s.positionInPage)) --s.positionInPage;
    MarkTextCursor();
  }
  UpdateTextSpeed();
  ctx_.changed();
}

void TextComparisonKind::viewNextPage() {
  TTextPracticeState& s = state_;
  if (s.viewPage >= TTextPracticeState::kLastPage ||
      s.pageStarts[static_cast<std::size_t>(s.viewPage) + 1] < 1)
    return;
  ++s.viewPage;
  const Walk walk = ShowTextPage(s.viewPage, false);
  if (walk.overtaken) return;
  if (!walk.ended && s.viewPage + 1 <= TTextPracticeState::kLastPage)
    s.pageStarts[static_cast<std::size_t>(s.viewPage) + 1] = walk.offset;
  if (s.viewPage == s.practicePage) MarkTextCursor();
  ctx_.showPageInfo(s.viewPage, s.practicePage);
  ctx_.changed();
}

void TextComparisonKind::viewPreviousPage() {
  TTextPracticeState& s = state_;
  if (s.viewPage == 0) return;
  --s.viewPage;
  if (ShowTextPage(s.viewPage, false).overtaken) return;
  if (s.viewPage == s.practicePage) MarkTextCursor();
  ctx_.showPageInfo(s.viewPage, s.practicePage);
  ctx_.changed();
}

void TextComparisonKind::UpdateTextSpeed() {
  // The entries counted up to the first cell not yet typed; the line breaks
  // copied into the entry text at load count as right entries once reached.
  TTextPracticeState& s = state_;
  RunTally& t = s.tally;
  t.counted = ctx_.clock().now();
  t.entries = t.right = 0;
  for (int i = 0; i <= kMaxCells; ++i) {
    const auto at = static_cast<std::size_t>(2 * i);
    if (at + 1 >= s.entryText.size() || s.entryText[at] == '\0') break;
    ++t.entries;
    if (entryRightAt(2 * i)) ++t.right;
  }
  ctx_.showSpeedAndAccuracy(t.speed(), t.accuracy());
}

bool TextComparisonKind::entryRightAt(int offset) const {
  const auto at = static_cast<std::size_t>(offset);
  return state_.entryText[at] == modelAt(offset) && state_.entryText[at + 1] == modelAt(offset + 1);
}

bool TextComparisonKind::describeRun(history::RunRecord& run) const {
  // The figures are the score's; the line breaks it counts are no item of
  // the learner's.
  const TTextPracticeState& s = state_;
  for (int i = 0; i < s.tally.entries; ++i) {
    const auto at = static_cast<std::size_t>(2 * i);
    const bool ok = entryRightAt(2 * i);
    // Nor are space cells and the cells the Space bar enters: no item to
    // practise, and a blank row in the weakest lists.
    if (isBreak(2 * i) || modelCell(2 * i) == "  " || enteredBySpace(2 * i)) continue;
    run.entries.push_back(history::RunEntry{history::ItemClass::Character,
                                            modelCell(2 * i),
                                            {s.entryText[at], s.entryText[at + 1]},
                                            ok,
                                            s.entryMs[at / 2]});
  }
  if (run.entries.empty()) return false;
  s.tally.fill(run);
  return true;
}

std::string TextComparisonKind::cursorCharacter() const {
  int offset = state_.textOffset;
  while (isBreak(offset)) offset += 2;
  if (isEnd(offset)) return {};
  return modelCell(offset);
}

// ---- comparison practice ----

bool ComparePractice::canStart() const {
  return !planned_ || (ctx_.plan().kind == pkPathText && !ctx_.plan().textFile.empty());
}

std::string ComparePractice::refusal() const {
  return planned_ ? frameTexts().noSession : std::string();
}

std::string ComparePractice::shownName() const {
  return planned_ ? ctx_.plan().title : std::string();
}

bool ComparePractice::prepare(int) {
  if (planned_) return loadFile(ctx_.plan().textFile);
  const std::string path = ctx_.host().choosePracticeFile();
  if (path.empty()) return false;
  return loadFile(path, ctx_.host().choiceInSimplified());
}

void ComparePractice::codeHint() {
  const std::string character = cursorCharacter();
  if (character.empty()) return;
  const TCharCodes codes = LookupCharCodes(ctx_.data(), character);
  if (!trimmed(codes.AllCode).empty()) ctx_.host().showCharHint(codes);
}

void ComparePractice::finish() {
  UpdateTextSpeed();
  ctx_.endRun();
  ctx_.reportEnd();
}

// ---- tests ----

bool ExamPractice::prepare(int menuTag) {
  const std::uint8_t mode = menuTag == 9 ? 1 : 0;
  // The dialog works on a copy: a cancelled one leaves the settings, and with
  // them a running test, exactly as they were.
  TExamSettings asked = FExamSettings;
  const std::string path = ctx_.host().runExamSettings(asked, mode);
  if (path.empty()) return false;
  FExamSettings = asked;
  FExamSettings.userName = cutUserName(FExamSettings.userName);
  FExamSettings.mode = mode;
  return loadFile(path, ctx_.host().choiceInSimplified());
}

void ExamPractice::StartExam() {
  runMode_ = FExamSettings.mode;
  runMinutes_ = FExamSettings.minutes;
  runName_ = cutUserName(FExamSettings.userName);
  FExamSeconds = 0;
  startRun();
  ctx_.view().examClock = "0:00:00";
  ctx_.view().examClockVisible = true;
  ctx_.changed();
}

std::string ExamPractice::clockText(int s) {
  const int hours = s / 3600, minutes = s % 3600 / 60, seconds = s % 60;
  char text[16];
  if (hours < 10) {
    std::snprintf(text, sizeof text, "%d:%d:%d", hours, minutes, seconds);
  } else {
    // "10:0:0" and longer no longer fit the seven cells: from ten hours on
    // the clock shows hours and minutes, stopping at 9999:59.
    if (hours > 9999)
      std::snprintf(text, sizeof text, "9999:59");
    else
      std::snprintf(text, sizeof text, "%d:%02d", hours, minutes);
  }
  return text;
}

void ExamPractice::tick() {
  UpdateTextSpeed();
  ++FExamSeconds;
  ctx_.view().examClock = clockText(FExamSeconds);
  // A test by time of N minutes ends once N minutes have passed.
  if (runMode_ == 0 && FExamSeconds >= runMinutes_ * 60) {
    ctx_.endRun();
    ShowExamEnd();
  }
  ctx_.changed();
}

void ExamPractice::ShowExamEnd() {
  static const std::string done = gbk::fromUtf8("练习结束!");
  static const std::string rate = gbk::fromUtf8("打字速率：");
  UpdateTextSpeed();
  ctx_.endRun();
  std::string head = done + runName_ + " " + rate;
  if (head.size() > 36) head.resize(36);  // cannot happen with a 16-byte name
  ctx_.reportEnd(head);
}

bool ExamPractice::describeRun(history::RunRecord& run) const {
  if (!TextComparisonKind::describeRun(run)) return false;
  if (runMode_ == 1) run.label = kSizedExamLabel;
  return true;
}

std::string ExamPractice::shownName() const {
  return runMode_ == 1 ? frameTexts().sizedTest : frameTexts().timedTest;
}

void ExamPractice::codeHint() {
  static const std::string busy = gbk::fromUtf8("测验中。。。。。。");
  ctx_.view().wordplace = busy;
  ctx_.host().beep();
  ctx_.changed();
}

}  // namespace quorvel
