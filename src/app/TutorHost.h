#pragma once
// The practice logic's host in the running tutor: the frame's own effects
// (beep, repaint, selection panel) come from the frame, every other window
// from the window set.
#include "app/WindowSet.h"
#include "practice/FrameHost.h"

class TFrame_Veduzir;

class TutorHost : public quorvel::FrameHost {
 public:
  TutorHost(TFrame_Veduzir& frame, WindowSet& windows) : frame_(frame), windows_(windows) {}

  void beep() override;
  void processPendingEvents() override;
  void restoreSelectionPanel() override;
  void showCharHint(const quorvel::TCharCodes& codes) override;
  void showWordHint(const quorvel::TCharCodes& codes, const quorvel::TWordCode& word) override;
  void showRootHint(char keyLetter) override;
  void showRootTip() override;
  void showTip(int tipKind) override;
  void openLookup() override;
  bool rootTableShown() const override;
  bool showRootTable() override;
  void hideRootTable() override;
  void openHelp(int context) override;
  std::string choosePracticeFile() override;
  std::string runExamSettings(quorvel::TExamSettings& settings, int mode) override;
  bool choiceInSimplified() override { return simplified_; }
  void showError(const std::string& utf8Message) override;

 private:
  TFrame_Veduzir& frame_;
  WindowSet& windows_;
  bool simplified_ = false;  // the last chosen file, in simplified characters
};
