#pragma once
// Effects the practice logic cannot do itself: sound, other windows, help.
// The Qt frame implements it; core tests use a recording host.
#include <string>

#include "data/CodeTypes.h"

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
  virtual void showRootHint(char keyLetter) = 0;   // 'A'..'Z'
  virtual void showRootTip() = 0;                  // root study tip window
  virtual void showTip(int tipKind) = 0;           // 1 chartip, 2 wordtip, 3 Texttip
  virtual void openLookup() = 0;                   // code lookup window, modal
  virtual void toggleRootTable() = 0;
  virtual void openHelp(int context) = 0;          // help file at a context number
};

}  // namespace quorvel
