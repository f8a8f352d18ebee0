// The practice frame's key handler: function keys, paging, letter mode and
// code entry with its punctuation.
#include <array>
#include <cctype>

#include "platform/Gbk.h"
#include "practice/CodeEntry.h"
#include "practice/CodePunctuation.h"
#include "practice/FrameTexts.h"
#include "practice/PracticeFrame.h"
#include "practice/PunctuationKeys.h"

namespace quorvel {

namespace {

using namespace vk;

// The punctuation keys in the order of the keyboard tables.
constexpr std::array<std::uint16_t, 11> kPunctKeys = {
    Oem1, OemPlus, OemComma, OemMinus, OemPeriod, Oem2, Oem3, Oem4, Oem5, Oem6, Oem7};
constexpr char kPunctPlain[] = ";=,-./`[\\]'";
constexpr char kPunctShifted[] = ":+<_>?~{|}\"";
constexpr char kDigitsShifted[] = ")!@#$%^&*(";

int punctIndex(std::uint16_t key) {
  for (std::size_t i = 0; i < kPunctKeys.size(); ++i)
    if (kPunctKeys[i] == key) return static_cast<int>(i);
  return -1;
}

bool isDigitKey(std::uint16_t key) { return key >= Key0 && key <= Key9; }
bool isPadDigit(std::uint16_t key) { return key >= Numpad0 && key <= Numpad9; }
bool isLetterKey(std::uint16_t key) { return key >= KeyA && key <= KeyZ; }

// What a key enters in code mode: full-width GBK text (one or two characters)
// or one ASCII character; both empty for none.
struct CodePunct {
  std::string text;
  char ascii = 0;
};

struct CodePunctTable {
  std::array<CodePunct, 10> shiftedDigits;
  std::array<CodePunct, 11> plain;
  std::array<CodePunct, 11> shifted;
  std::string singleClose, singleOpen, doubleClose, doubleOpen;
};

CodePunct wide(const char* utf8) { return {gbk::fromUtf8(utf8), 0}; }

// The entry of a key from the shared punctuation table: a key that enters
// itself enters one ASCII character.
CodePunct entryOf(char key) {
  for (const PunctuationKey& p : codePunctuation())
    if (p.key == key)
      return p.text[0] == key && p.text[1] == '\0' ? CodePunct{{}, key} : wide(p.text);
  return {};
}

const CodePunctTable& codePunct() {
  static const CodePunctTable table = [] {
    CodePunctTable t;
    for (std::size_t i = 0; i < t.shiftedDigits.size(); ++i)
      t.shiftedDigits[i] = entryOf(kDigitsShifted[i]);
    for (std::size_t i = 0; i < kPunctKeys.size(); ++i) {
      t.plain[i] = entryOf(kPunctPlain[i]);
      t.shifted[i] = entryOf(kPunctShifted[i]);
    }
    t.singleClose = gbk::fromUtf8(quoteMarks(false).close);
    t.singleOpen = gbk::fromUtf8(quoteMarks(false).open);
    t.doubleClose = gbk::fromUtf8(quoteMarks(true).close);
    t.doubleOpen = gbk::fromUtf8(quoteMarks(true).open);
    return t;
  }();
  return table;
}

}  // namespace

bool punctuationKeyEnters(std::string_view item) {
  const CodePunctTable& t = codePunct();
  const auto holds = [&](const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
      if (item == std::string_view(text).substr(i, 2)) return true;
    return false;
  };
  for (const CodePunct& p : t.shiftedDigits)
    if (holds(p.text)) return true;
  for (const CodePunct& p : t.plain)
    if (holds(p.text)) return true;
  for (const CodePunct& p : t.shifted)
    if (holds(p.text)) return true;
  return holds(t.singleClose) || holds(t.singleOpen) || holds(t.doubleClose) || holds(t.doubleOpen);
}

namespace {

bool blankOnly(const std::string& s) {
  for (char c : s)
    if (c != ' ') return false;
  return true;
}

}  // namespace

void PracticeFrame::keyDown(vk::KeyPress key) {
  const std::uint16_t k = key.key;
  FrameHost& host = *services_.host;
  const KindInfo& info = kindInfo(FPracticeKind);

  // Function keys act whether or not a practice runs.
  switch (k) {
    case Escape:
      toggleHotSpot();
      host.restoreSelectionPanel();
      changed();
      return;
    case F2:
      switch (info.tip) {
        case TipKind::RootTip:
          host.showRootTip();
          break;
        case TipKind::Char:
          host.showTip(1);
          break;
        case TipKind::Word:
          host.showTip(2);
          break;
        case TipKind::Text:
          host.showTip(3);
          break;
      }
      return;
    case F3:
      host.openLookup();
      return;
    case F4:
      toggleRootTable();
      return;
    case F1:
      if (FPractising)
        codeHint();
      else
        host.openHelp(10001);
      return;
    default:
      break;
  }

  // A key the keyboard mapping does not know has no code: it is no entry.
  if (!FPractising || k == 0) return;
  PracticeKind* running = kind(FPracticeKind);
  if (running == nullptr) return;
  // The first entry's time runs from the first key of the run.
  if (!entryMark_) entryMark_ = services_.clock->now();

  if (info.rawKeys) {
    if (k == Back) {
      deleteLast();
    } else {
      running->enterKey(k);
      changed();
    }
    return;
  }

  if (FDeleting || FEntering) return;

  if (k == Left || k == Up || k == Prior) {
    if (view_.practiceAreaShown) viewPreviousPage();
    return;
  }
  if (k == Down || k == Right || k == Next) {
    if (view_.practiceAreaShown) viewNextPage();
    return;
  }
  if (!running->viewIsPracticePage()) {
    refuseOffPage();
    return;
  }
  if (info.enterIsLineBreak && k == Return) {
    enterItem('\r', '\r');
    return;
  }
  if (k == Back) {
    if (view_.letterMode || FCodeBuffer.empty()) {
      deleteLast();
      return;
    }
    FCodeBuffer.pop_back();
    codeKey(key);
    return;
  }
  if (k == F6 && !key.modified()) {
    setLetterMode(!view_.letterMode);
    return;
  }
  if (view_.letterMode)
    letterKey(key);
  else
    codeKey(key);
}

void PracticeFrame::dropCode() {
  FCodeBuffer.clear();
  for (std::string& c : FCandidates) c.clear();
  view_.keyplace.clear();
  view_.wordplace.clear();
}

void PracticeFrame::refuseOffPage() {
  dropCode();
  view_.wordplace = frameTexts().notOnPage;
  services_.host->beep();
  changed();
}

void PracticeFrame::letterKey(vk::KeyPress key) {
  const std::uint16_t k = key.key;
  const bool modified = key.modified();
  if (k == Space || k == Return) {
    enterItem(' ', ' ');
  } else if (isDigitKey(k)) {
    const int d = k - Key0;
    enterAscii(modified ? kDigitsShifted[d] : static_cast<char>('0' + d));
  } else if (isPadDigit(k)) {
    if (!modified && services_.locks->numLock()) enterAscii(static_cast<char>('0' + (k - Numpad0)));
  } else if (isLetterKey(k)) {
    const bool upper = modified != services_.locks->capsLock();
    enterAscii(static_cast<char>((upper ? 'A' : 'a') + (k - KeyA)));
  } else if (const int p = punctIndex(k); p >= 0) {
    enterAscii(modified ? kPunctShifted[p] : kPunctPlain[p]);
  }
}

bool PracticeFrame::enterPunctuation(vk::KeyPress key) {
  const CodePunctTable& table = codePunct();
  const std::uint16_t k = key.key;
  const bool modified = key.modified();
  const CodePunct* entry = nullptr;
  if (k == Oem7) {
    // Opening and closing marks alternate, each kind of mark on its own.
    bool& open = modified ? FQuoteToggle : FSingleQuoteToggle;
    const std::string& mark = modified ? (open ? table.doubleOpen : table.doubleClose)
                                       : (open ? table.singleOpen : table.singleClose);
    open = !open;
    enterText(mark);
    return true;
  }
  if (isDigitKey(k)) {
    if (!modified) return false;  // digits choose candidates
    entry = &table.shiftedDigits[static_cast<std::size_t>(k - Key0)];
  } else if (const int p = punctIndex(k); p >= 0) {
    entry = modified ? &table.shifted[static_cast<std::size_t>(p)]
                     : &table.plain[static_cast<std::size_t>(p)];
  }
  if (entry == nullptr) return false;
  if (entry->ascii != 0) {
    enterAscii(entry->ascii);
    return true;
  }
  if (entry->text.empty()) return false;
  enterText(entry->text);  // a doubled mark is two entries, the second only while practising
  return true;
}

void PracticeFrame::enterText(const std::string& text) {
  // Stops when the run ends, or when a new one was started meanwhile.
  const unsigned run = starts_;
  for (std::size_t i = 0; i < text.size() && FPractising && run == starts_; i += 2) {
    if (i + 1 < text.size())
      enterItem(text[i], text[i + 1]);
    else
      enterAscii(text[i]);
  }
}

void PracticeFrame::showCandidates() {
  view_.wordplace = candidateLine(FCandidates);
  changed();
}

void PracticeFrame::commitCandidate(int index) {
  const std::string chosen = index >= 0 && index < static_cast<int>(FCandidates.size())
                                 ? FCandidates[static_cast<std::size_t>(index)]
                                 : std::string();
  FCodeBuffer.clear();
  // The chosen text goes up before it is entered, so the end message of a run
  // that this choice finishes stays on show.
  view_.wordplace = chosen;
  view_.keyplace.clear();
  enterText(chosen);
  changed();
}

void PracticeFrame::codeKey(vk::KeyPress key) {
  const std::uint16_t k = key.key;
  const bool modified = key.modified();
  const bool spaceKey = k == Space || k == Return;

  if (spaceKey) {
    if (FCodeBuffer.empty()) {
      enterItem(' ', ' ');
      return;
    }
    if (!blankOnly(FCandidates[0])) {
      commitCandidate(0);
      return;
    }
  } else if (isDigitKey(k) && !modified) {
    const int d = k - Key0;
    if (FCodeBuffer.empty())
      enterAscii(static_cast<char>('0' + d));
    else
      commitCandidate(d >= 1 && d <= 5 ? d - 1 : 5);
    return;
  } else if (isPadDigit(k) && !modified && services_.locks->numLock()) {
    const int d = k - Numpad0;
    if (FCodeBuffer.empty())
      enterAscii(static_cast<char>('0' + d));
    else if (d >= 1 && d <= 5)
      commitCandidate(d - 1);
    else if (d >= 6)
      commitCandidate(5);
    else if (FCodeBuffer.size() >= 4)
      dropCode();  // the line must not keep offering what a digit can no longer choose
    changed();
    return;
  }

  if (!spaceKey && enterPunctuation(key) && !FPractising) return;  // the run just ended

  if (FCodeBuffer.size() >= 4) FCodeBuffer.clear();
  if (isLetterKey(k)) FCodeBuffer.push_back(static_cast<char>('a' + (k - KeyA)));

  view_.keyplace = FCodeBuffer;
  for (char& c : view_.keyplace) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (FCodeBuffer.empty()) {
    view_.wordplace.clear();
    changed();
    return;
  }
  FCandidates = findCandidates(data_.base, FCodeBuffer);
  showCandidates();
  if (FCodeBuffer.size() == 4 && FCandidates[1].empty() && !blankOnly(FCandidates[0]))
    commitCandidate(0);
  changed();
}

}  // namespace quorvel
