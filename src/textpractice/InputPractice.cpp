#include "textpractice/InputPractice.h"

#include "textpractice/TextCells.h"

namespace quorvel {

namespace {

// All ten grid rows are entry lines here: label k is column k mod 25, row k div 25.
constexpr int kRowLabels = kGridColumns;
constexpr int kPageLabels = kGridColumns * kGridRows;
constexpr std::size_t kInputBytes = 2 * TInputPracticeState::kCells + 1;

}  // namespace

CellLabel& InputPractice::label(int position) {
  return ctx_.view()
      .cells[static_cast<std::size_t>(cellIndex(position % kRowLabels, position / kRowLabels))];
}

bool InputPractice::rowEndAt(int position) const {
  return ctx_.view()
             .cells[static_cast<std::size_t>(
                 cellIndex(position % kRowLabels, position / kRowLabels))]
             .text == kRowEndMarker;
}

void InputPractice::markCursor() {
  label(state_.positionInPage) = CellLabel{{}, true, colour::Current};
}

bool InputPractice::clearGrid() {
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kRowLabels; ++column) label(row * kRowLabels + column) = {};
    if (!ctx_.letEventsRun()) return false;
  }
  return true;
}

void InputPractice::StartInputPractice() {
  TInputPracticeState& s = state_;
  s.pageStarts.fill(0);
  s.inputText.assign(kInputBytes, '\0');
  s.practicePage = s.viewPage = s.positionInPage = s.textOffset = 0;
  if (!clearGrid()) return;
  markCursor();
  s.tally = RunTally{};
  s.tally.started = s.tally.counted = ctx_.clock().now();
  ctx_.changed();
}

void InputPractice::AcceptInputEntry(char a, char b) {
  TInputPracticeState& s = state_;
  if (static_cast<std::size_t>(s.textOffset) + 1 >= s.inputText.size()) return;
  const auto at = static_cast<std::size_t>(s.textOffset);
  s.inputText[at] = a;
  s.inputText[at + 1] = b;
  const int written = s.positionInPage;
  // An Enter's cell (13, 13) is itself the row-end marker.
  label(written) = CellLabel{cellLabelText(a, b), false, 0};

  ++s.positionInPage;
  if (label(written).text == kRowEndMarker) {
    // An Enter: the rest of its grid row ends the line.
    const int rowEnd = (written / kRowLabels + 1) * kRowLabels;
    for (int k = written + 1; k < rowEnd; ++k)
      label(k) = CellLabel{std::string(kRowEndMarker), false, 0};
    s.positionInPage = rowEnd;
  }

  if (s.positionInPage >= kPageLabels) {
    if (s.practicePage >= TInputPracticeState::kLastPage) {
      // Page starts are kept for pages 0 to 100. Line breaks can use pages up
      // faster than entries do; the practice then ends with page 100 full.
      s.textOffset += 2;
      s.positionInPage = kPageLabels - 1;
      end();
      return;
    }
    ++s.practicePage;
    s.textOffset += 2;
    if (s.pageStarts[static_cast<std::size_t>(s.practicePage)] == 0)
      s.pageStarts[static_cast<std::size_t>(s.practicePage)] = s.textOffset;
    s.positionInPage = 0;
    if (!clearGrid()) return;
    markCursor();
    s.viewPage = s.practicePage;
    ctx_.showPageInfo(s.practicePage, s.practicePage);
  } else {
    markCursor();
    s.textOffset += 2;
  }

  if (s.textOffset < 2 * TInputPracticeState::kCells) {
    UpdateInputSpeed();
    ctx_.changed();
  } else {
    // The buffer is full: the cursor moved past the last entry, clear it.
    label(s.positionInPage) = CellLabel{};
    end();
  }
}

void InputPractice::end() {
  UpdateInputSpeed();
  ctx_.endRun();
  ctx_.reportEnd();
  ctx_.changed();
}

void InputPractice::DeleteInputEntry() {
  TInputPracticeState& s = state_;
  label(s.positionInPage) = CellLabel{};
  --s.positionInPage;
  // From the position leftwards within its row, past the markers an Enter
  // left: the cursor lands where that Enter was typed.
  const auto backOverRowEnd = [&] {
    const int rowStart = s.positionInPage / kRowLabels * kRowLabels;
    int k = s.positionInPage;
    while (k >= rowStart && rowEndAt(k)) --k;
    if (k == s.positionInPage) return;
    // The row is open again: the markers right of the cursor go.
    for (int j = k + 2; j < rowStart + kRowLabels; ++j) label(j) = CellLabel{};
    s.positionInPage = k + 1;
  };
  if (s.positionInPage < 0) {
    if (s.practicePage == 0) {
      s.positionInPage = 0;
      s.textOffset = s.pageStarts[0];
    } else {
      s.pageStarts[static_cast<std::size_t>(s.practicePage)] = 0;
      --s.practicePage;
      s.viewPage = s.practicePage;
      s.positionInPage = kPageLabels - 1;
      if (!drawPage(s.practicePage)) return;
      ctx_.showPageInfo(s.viewPage, s.practicePage);
      backOverRowEnd();
    }
  } else {
    backOverRowEnd();
  }
  markCursor();
  if (s.textOffset > 0) {
    s.textOffset -= 2;
    const auto at = static_cast<std::size_t>(s.textOffset);
    s.inputText[at] = s.inputText[at + 1] = '\0';
  }
  UpdateInputSpeed();
  ctx_.changed();
}

bool InputPractice::drawPage(int page) {
  const std::vector<char>& text = state_.inputText;
  auto offset = static_cast<std::size_t>(state_.pageStarts[static_cast<std::size_t>(page)]);
  for (int row = 0; row < kGridRows; ++row) {
    bool rowEnded = false;
    for (int column = 0; column < kRowLabels; ++column) {
      CellLabel& cell = label(row * kRowLabels + column);
      cell = CellLabel{};
      if (rowEnded) {
        cell.text = kRowEndMarker;
      } else if (offset + 1 < text.size() && text[offset] != '\0') {
        if (text[offset] == '\r' && text[offset + 1] == '\r') {
          rowEnded = true;
          cell.text = kRowEndMarker;
        } else {
          cell.text = cellLabelText(text[offset], text[offset + 1]);
        }
        offset += 2;
      }
    }
    if (!ctx_.letEventsRun()) return false;
  }
  return true;
}

void InputPractice::viewNextPage() {
  TInputPracticeState& s = state_;
  if (s.viewPage >= s.practicePage) return;
  ++s.viewPage;
  if (!drawPage(s.viewPage)) return;
  if (s.viewPage == s.practicePage) markCursor();
  ctx_.showPageInfo(s.viewPage, s.practicePage);
  ctx_.changed();
}

void InputPractice::viewPreviousPage() {
  TInputPracticeState& s = state_;
  if (s.viewPage <= 0) return;
  --s.viewPage;
  if (!drawPage(s.viewPage)) return;
  ctx_.showPageInfo(s.viewPage, s.practicePage);
  ctx_.changed();
}

bool InputPractice::describeRun(history::RunRecord& run) const {
  if (state_.tally.entries == 0) return false;
  state_.tally.fill(run, false);
  return true;
}

void InputPractice::UpdateInputSpeed() {
  // Every entry counts: input practice has nothing to compare with.
  TInputPracticeState& s = state_;
  int entries = 0;
  while (entries <= TInputPracticeState::kCells &&
         static_cast<std::size_t>(2 * entries) < s.inputText.size() &&
         s.inputText[static_cast<std::size_t>(2 * entries)] != '\0')
    ++entries;
  s.tally.counted = ctx_.clock().now();
  s.tally.entries = s.tally.right = entries;
  ctx_.showSpeedAndAccuracy(s.tally.speed(), 0);
}

}  // namespace quorvel
