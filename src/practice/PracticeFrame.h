#pragma once
// The practice frame's logic: which kind is chosen and running, the data it
// loaded, code entry, the key handler and the dispatch to the running kind.
// It owns a FrameView that the Qt frame (TFrame_Veduzir) renders.
#include <array>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/ResourceLibrary.h"
#include "platform/VirtualKeys.h"
#include "practice/FrameHost.h"
#include "practice/FrameView.h"
#include "data/PracticeData.h"
#include "practice/PracticeKind.h"

namespace quorvel {

struct FrameServices {
  FrameHost* host = nullptr;
  const platform::Clock* clock = nullptr;
  platform::RandomSource* random = nullptr;
  const platform::LockKeys* locks = nullptr;
};

class PracticeFrame {
 public:
  explicit PracticeFrame(FrameServices services);
  ~PracticeFrame();
  PracticeFrame(const PracticeFrame&) = delete;
  PracticeFrame& operator=(const PracticeFrame&) = delete;

  // Frame set-up: reads all practice data and the introduction text.
  void setUp(const platform::ResourceLibrary& library);
  // The same from data already in memory (tests, benchmarks).
  void setUp(PracticeData data, std::string introText = {});

  // Select kind: stores the kind and starts it.
  void selectKind(int kind);
  // MenuItem_onechar_allClick: maps a menu tag to its kind; other tags do nothing.
  void selectMenuTag(int tag);
  void startPractice();

  // Key handler: every key the main window does not take itself.
  void keyDown(vk::KeyPress key);
  // Timer_Exam, every 1000 ms.
  void timerTick();
  // RzToolbarButton_fastHelp.
  void hintButton();
  // RzCheckBox_alf toggled by the mouse.
  void setLetterMode(bool on);
  // Text splitter hot spot clicked (same as ESC's toggle without the panel restore).
  void toggleHotSpot();

  // Dispatch to the running kind.
  void enterItem(char b1, char b2);
  void deleteLast();
  void viewNextPage();
  void viewPreviousPage();
  void codeHint();

  // Score operations shared by the kinds.
  static int elapsedSeconds(platform::TimePoint start, platform::TimePoint end);
  void showSpeedAndAccuracy(int speed, int percent);
  void reportEnd();
  void showPageInfo(int viewPage, int practicePage);

  // State (F-prefixed as the rest of the tutor names it).
  std::uint8_t FPracticeKind = pkNone;
  bool FPractising = false;
  bool FDeleting = false;
  bool FEntering = false;
  std::string FCodeBuffer;                  // 0..4 lower-case letters
  std::array<std::string, 6> FCandidates;   // each at most 26 bytes
  bool FQuoteToggle = false;
  // The test's mode as chosen in the test menu: by time (true) or by quantity.
  bool FExamByTime = true;

  FrameView& view() { return view_; }
  const FrameView& view() const { return view_; }
  const PracticeData& data() const { return data_; }
  // Replaces the class behind a kind (the text practices install theirs).
  void installKind(int k, std::unique_ptr<PracticeKind> practiceKind);
  PracticeKind* kind(int k) {
    return k > pkNone && k < kKindCount ? kinds_[static_cast<std::size_t>(k)].get() : nullptr;
  }
  FrameServices& services() { return services_; }
  // Grows at every start of any kind: a step that let pending events run
  // compares it to tell that a new practice was started meanwhile.
  unsigned startCount() const { return starts_; }
  void touch() { ++view_.revision; }

  // Can this kind start now (its data loaded)? Kind 0 never starts.
  bool canStartKind(int kind) const;
  // Shows the candidate list of FCandidates in the code line.
  void showCandidates();
  // Enters the candidate of that index (0..5) item by item; see code entry.
  void commitCandidate(int index);

 private:
  void codeKey(vk::KeyPress key);
  void letterKey(vk::KeyPress key);
  // Enters the code-mode punctuation of a key; false when it has none.
  bool enterPunctuation(vk::KeyPress key);
  void enterAscii(char c) { enterItem(' ', c); }
  // Enters a GBK text two bytes at a time while the practice runs.
  void enterText(const std::string& text);
  void dropCode();
  void refuseOffPage();
  // A kind whose data is absent does not start: message and beep.
  void refuseMissingData();
  // Runs one step of the running kind with its re-entry guard set.
  template <typename Step>
  void dispatchGuarded(bool& guard, Step step);

  // Stand-ins for services left null: silent host, system clock, no locks.
  struct Fallbacks;
  std::unique_ptr<Fallbacks> fallbacks_;
  FrameServices services_;
  FrameView view_;
  PracticeData data_;
  std::array<std::unique_ptr<PracticeKind>, kKindCount> kinds_;
  unsigned starts_ = 0;  // grows at every start, so a step can tell it was overtaken
};

}  // namespace quorvel
