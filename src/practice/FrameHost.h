#pragma once
// Effects the practice logic cannot do itself: sound, other windows, help,
// the dialogs that ask the user for a file or the test's settings. The Qt
// side implements it; core tests use a recording host.
#include <string>

#include "data/CodeTypes.h"
#include "practice/ExamSettings.h"

namespace quorvel {

class FrameHost {
 public:
  virtual ~FrameHost() = default;
  virtual void beep() = 0;
  // Lets pending window events run (a page fill calls it after each line).
  virtual void processPendingEvents() {}
  // The selection panel's labels go transparent and its buttons are re-enabled.
  virtual void restoreSelectionPanel() {}

  virtual void showCharHint(const TCharCodes& codes) = 0;
  virtual void showWordHint(const TCharCodes& codes, const TWordCode& word) = 0;
  virtual void showRootHint(char keyLetter) = 0;  // 'A'..'Z'
  virtual void showRootTip() = 0;                 // root study tip window
  virtual void showTip(int tipKind) = 0;          // 1 chartip, 2 wordtip, 3 Texttip
  virtual void openLookup() = 0;                  // code lookup window, modal
  // The floating root table window. showRootTable is false when there is
  // none to show; the frame then shows the table as its own picture.
  virtual bool rootTableShown() const { return false; }
  virtual bool showRootTable() { return false; }
  virtual void hideRootTable() {}
  virtual void openHelp(int context) = 0;  // help file at a context number

  // The practice-file chooser: the chosen file's path (file-system bytes),
  // empty when the user cancelled.
  virtual std::string choosePracticeFile() { return {}; }
  // The test settings dialog for a test by time (mode 0) or by quantity (1).
  // When accepted it updates the settings and returns the test file's path;
  // cancelled, it changes nothing and returns empty.
  virtual std::string runExamSettings(TExamSettings& /*settings*/, int /*mode*/) { return {}; }
  // Whether the learner asked, in the dialog that last returned a file, for
  // its traditional characters in simplified ones.
  virtual bool choiceInSimplified() { return false; }
  // A failure the user must read before going on (a text file that cannot
  // be read): a message box. UTF-8 text, since it names files.
  virtual void showError(const std::string& /*utf8Message*/) {}
};

}  // namespace quorvel
