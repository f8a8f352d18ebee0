#pragma once
// Copy-typing a model text: the page fill, the cursor, entries compared cell
// by cell with the model, deletion, paging and the score. Comparison
// practice and the tests are this machinery with their own start and end.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Clock.h"
#include "practice/KindContext.h"
#include "practice/PracticeKind.h"
#include "textpractice/TextFile.h"

namespace quorvel {

struct TTextPracticeState {
  static constexpr int kLastPage = 300;  // page starts are kept for pages 0..300
  std::vector<char> modelText;           // cells + three zero bytes
  std::vector<char> entryText;           // the same size; line breaks copied in at load
  std::vector<int> entryMs;              // how long each cell's entry took, one per cell
  std::int32_t practicePage = 0;
  std::int32_t viewPage = 0;
  std::int32_t positionInPage = 0;  // 0..124, the cursor
  std::int32_t textOffset = 0;      // even; the model cell the next entry answers
  RunTally tally;                   // the score's figures, stored with the run
  std::string fileName;
  std::array<std::int32_t, kLastPage + 1> pageStarts{};  // 0: not known yet
};

class TextComparisonKind : public PracticeKind {
 public:
  explicit TextComparisonKind(KindContext& context) : ctx_(context) {}

  void enterItem(char b1, char b2) override { AcceptTextEntry(b1, b2); }
  void deleteLast() override { DeleteTextEntry(); }
  void viewNextPage() override;
  void viewPreviousPage() override;
  bool viewIsPracticePage() const override { return state_.viewPage == state_.practicePage; }
  bool describeRun(history::RunRecord& run) const override;

  const TTextPracticeState& state() const { return state_; }
  // The model cell and the entry at a byte offset (two bytes each).
  std::string modelCell(int offset) const;
  std::string entryCell(int offset) const;

 protected:
  // Reads the practice text of a file for the next start, its traditional
  // characters in simplified ones when asked; a file that cannot be read, or
  // is no text, is reported to the user and false returned.
  bool loadFile(const std::string& path, bool simplified = false);
  // Starts a run on the text loaded last.
  void startRun();
  void AcceptTextEntry(char a, char b);
  void DeleteTextEntry();
  // Counts the entries into the tally and shows its figures.
  void UpdateTextSpeed();
  bool entryRightAt(int offset) const;
  // The last cell was typed: the run is over.
  virtual void finish() = 0;
  // The model character at the cursor, for a code hint ("" at the end).
  std::string cursorCharacter() const;

  KindContext& ctx_;
  TTextPracticeState state_;

 private:
  struct Walk {
    int offset = 0;      // where the page's text ended
    bool ended = false;  // the text ended on this page
    bool overtaken = false;
  };
  // Fills the practice page with its model text and empty entries.
  bool FillTextPage();
  // Shows a page with the entries made on it; allEntered: every cell counts as entered.
  Walk ShowTextPage(int page, bool allEntered);
  Walk walkPage(int page, bool showEntries, bool allEntered);
  void MarkTextCursor();

  bool isBreak(int offset) const;
  bool isEnd(int offset) const;
  char modelAt(int offset) const;
  void skipBreaks();
  bool rowEndAt(int position) const;
  CellLabel& textLabel(int position);
  CellLabel& entryLabel(int position);
  void showEntry(int position, int offset);
  void endOfText();
  // A cell no key of the method enters: the ideographic space (U+3000), a
  // character the method has no code for (a traditional form, a character
  // GBK cannot hold, a "□"), a mark no punctuation key gives. The Space bar
  // enters it, as it enters a space cell, so no text can hold the learner
  // up; it is no item the learner practises, and the history leaves it out.
  bool enteredBySpace(int offset) const;

  mutable std::unordered_map<std::string, bool> bySpace_;  // enteredBySpace, by cell

  std::string loadedText_;  // GBK, as read by the last successful load
};

// Kind 16: a text file of the learner's choice. planned: the learning
// path's text session, whose text the path chose.
class ComparePractice : public TextComparisonKind {
 public:
  explicit ComparePractice(KindContext& context, bool planned = false)
      : TextComparisonKind(context), planned_(planned) {}
  bool prepare(int menuTag) override;
  bool canStart() const override;
  std::string refusal() const override;
  std::string shownName() const override;
  void start() override { StartComparePractice(); }
  void codeHint() override;
  void tick() override { UpdateTextSpeed(); }

 private:
  void StartComparePractice() { startRun(); }
  void finish() override;

  bool planned_ = false;
};

// Kind 18: a test by time (mode 0) or by quantity (mode 1) on a file chosen
// in the test settings dialog.
class ExamPractice : public TextComparisonKind {
 public:
  using TextComparisonKind::TextComparisonKind;
  bool prepare(int menuTag) override;
  void start() override { StartExam(); }
  void codeHint() override;
  void tick() override;
  std::string shownName() const override;
  bool describeRun(history::RunRecord& run) const override;

  // What the settings dialog offers next time.
  const TExamSettings& settings() const { return FExamSettings; }
  int examSeconds() const { return FExamSeconds; }
  // The seven-cell clock text for a number of seconds.
  static std::string clockText(int seconds);

 private:
  void StartExam();
  void finish() override { ShowExamEnd(); }
  void ShowExamEnd();

  TExamSettings FExamSettings;
  // The mode, limit and name of the test that runs: fixed when it starts, so a
  // dialog opened meanwhile cannot change them.
  std::uint8_t runMode_ = 0;
  std::int32_t runMinutes_ = 0;
  std::string runName_;
  std::int32_t FExamSeconds = 0;
};

}  // namespace quorvel
