#pragma once
// A FrameHost that records every effect the practice logic asks for.
#include <functional>
#include <string>
#include <vector>

#include "practice/FrameHost.h"

namespace quorvel::testing {

class RecordingHost : public FrameHost {
 public:
  void beep() override { ++beeps; }
  void processPendingEvents() override {
    ++pendingEventRuns;
    if (onPendingEvents) onPendingEvents();
  }
  void restoreSelectionPanel() override { ++panelRestores; }
  void showCharHint(const TCharCodes& codes) override { charHints.push_back(codes); }
  void showWordHint(const TCharCodes& codes, const TWordCode& word) override {
    wordHints.push_back({codes, word});
  }
  void showRootHint(char keyLetter) override { rootHints.push_back(keyLetter); }
  void showRootTip() override { ++rootTips; }
  void showTip(int tipKind) override { tips.push_back(tipKind); }
  void openLookup() override { ++lookups; }
  bool rootTableShown() const override { return rootTableOpen; }
  bool showRootTable() override {
    if (hasRootTableWindow) rootTableOpen = true;
    return hasRootTableWindow;
  }
  void hideRootTable() override { rootTableOpen = false; }
  void openHelp(int context) override { helps.push_back(context); }
  std::string choosePracticeFile() override {
    ++fileChoices;
    return nextPracticeFile;
  }
  std::string runExamSettings(TExamSettings& settings, int mode) override {
    ++examDialogs;
    return examDialog ? examDialog(settings, mode) : std::string();
  }
  bool choiceInSimplified() override { return nextInSimplified; }
  void showError(const std::string& utf8Message) override { errors.push_back(utf8Message); }

  struct WordHint {
    TCharCodes codes;
    TWordCode word;
  };

  int beeps = 0;
  int pendingEventRuns = 0;
  int panelRestores = 0;
  int rootTips = 0;
  int lookups = 0;
  bool hasRootTableWindow = true;
  bool rootTableOpen = false;
  std::vector<TCharCodes> charHints;
  std::vector<WordHint> wordHints;
  std::vector<char> rootHints;
  std::vector<int> tips;
  std::vector<int> helps;
  // What the file chooser and the test settings dialog answer (empty: cancelled).
  std::string nextPracticeFile;
  std::function<std::string(TExamSettings&, int)> examDialog;
  bool nextInSimplified = false;  // the dialogs' answer to "in simplified characters"
  int fileChoices = 0;
  int examDialogs = 0;
  std::vector<std::string> errors;
  // Runs inside processPendingEvents, as a window event would.
  std::function<void()> onPendingEvents;
};

}  // namespace quorvel::testing
