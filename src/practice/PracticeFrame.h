#pragma once
// The practice frame's logic: which kind is chosen and running, the data it
// loaded, code entry, the key handler and the dispatch to the running kind.
// It owns a FrameView that the Qt frame (TFrame_Veduzir) renders, and it is
// the context through which every kind reaches the frame.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "data/PracticeData.h"
#include "data/PracticeKinds.h"
#include "platform/Clock.h"
#include "platform/ResourceLibrary.h"
#include "platform/VirtualKeys.h"
#include "practice/FrameHost.h"
#include "practice/FrameView.h"
#include "practice/KindContext.h"
#include "practice/PracticeKind.h"

namespace quorvel {

struct FrameServices {
  FrameHost* host = nullptr;
  const platform::Clock* clock = nullptr;
  platform::RandomSource* random = nullptr;
  const platform::LockKeys* locks = nullptr;
};

// Builds the class that serves a kind; the frame calls it once per kind.
using KindFactory =
    std::function<std::unique_ptr<PracticeKind>(const KindInfo& info, KindContext& context)>;

class PracticeFrame : public KindContext {
 public:
  PracticeFrame(FrameServices services, const KindFactory& makeKind);
  ~PracticeFrame() override;
  PracticeFrame(const PracticeFrame&) = delete;
  PracticeFrame& operator=(const PracticeFrame&) = delete;

  // Frame set-up: reads all practice data and the introduction text.
  void setUp(const platform::ResourceLibrary& library);
  // The same from data already in memory (tests, benchmarks).
  void setUp(PracticeData data, std::string introText = {});

  // Select kind: asks the kind what it needs (file, settings), stores it as
  // the chosen kind and starts it. menuTag: the menu item chosen, -1 for a button.
  void selectKind(int kind, int menuTag = -1);
  // A drop-down menu item; tags no item has do nothing.
  void selectMenuTag(int tag);

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
  // F4 and the selection panel's root table: a wide frame shows the table as
  // a picture under the grid, a narrow one as the floating window.
  void toggleRootTable();
  // The frame's width in pixels, as the window lays it out.
  void setFrameWidth(int pixels) { frameWidth_ = pixels; }

  // Dispatch to the running kind.
  void enterItem(char b1, char b2);
  void deleteLast();
  void viewNextPage();
  void viewPreviousPage();
  void codeHint();

  // What the frame is doing, for the windows and the tests.
  int practiceKind() const { return FPracticeKind; }
  bool practising() const override { return FPractising; }
  bool busy() const { return FEntering || FDeleting; }
  const std::string& codeBuffer() const { return FCodeBuffer; }
  const std::array<std::string, 6>& candidates() const { return FCandidates; }

  FrameView& view() override { return view_; }
  const FrameView& view() const { return view_; }
  const PracticeData& data() const override { return data_; }
  FrameHost& host() override { return *services_.host; }
  const platform::Clock& clock() const override { return *services_.clock; }
  platform::RandomSource& random() override { return *services_.random; }
  history::HistoryStore* history() override { return history_; }
  void setHost(FrameHost* host);
  void setLocks(const platform::LockKeys* locks);
  // Where every run goes when it ends or is given up; nullptr: nowhere.
  void setHistory(history::HistoryStore* store) { history_ = store; }
  // The session a learning-path kind types when it is chosen next; its label
  // goes with the run to the history.
  void setPlan(SessionPlan plan) { plan_ = std::move(plan); }
  const SessionPlan& plan() const override { return plan_; }
  // Told of every run handed to the history, after it was.
  void setRunRecorded(std::function<void(const history::RunRecord&)> listener) {
    runRecorded_ = std::move(listener);
  }
  // Frame tear-down: a run still going is recorded as given up.
  void tearDown();

  // The class serving a kind (nullptr outside 1..18).
  PracticeKind* kind(int k) {
    return isKind(k) ? kinds_[static_cast<std::size_t>(k)].get() : nullptr;
  }
  template <typename Kind>
  Kind* kindAs(int k) {
    return dynamic_cast<Kind*>(kind(k));
  }
  // Can this kind start now (its data loaded)? Kind 0 never starts.
  bool canStartKind(int kind) const;

  // KindContext
  bool letEventsRun() override;
  void changed() override { ++view_.revision; }
  void showSpeedAndAccuracy(int speed, int percent) override;
  void showPageInfo(int viewPage, int practicePage) override;
  void endRun() override;
  int takeEntryMs() override;
  void reportEnd() override;
  void reportEnd(std::string_view head) override;

  // Test seams: another class behind a kind (a recording kind), and what a
  // key finds when it arrives in the middle of a step.
  void installKind(int k, std::unique_ptr<PracticeKind> practiceKind);
  void holdForTest(bool entering, bool deleting) {
    FEntering = entering;
    FDeleting = deleting;
  }

 private:
  void startPractice();
  void codeKey(vk::KeyPress key);
  void letterKey(vk::KeyPress key);
  // Enters the code-mode punctuation of a key; false when it has none.
  bool enterPunctuation(vk::KeyPress key);
  void enterAscii(char c) { enterItem(' ', c); }
  // Enters a GBK text two bytes at a time while the practice runs.
  void enterText(const std::string& text);
  void showCandidates();
  // Enters the candidate of that index (0..5) item by item; see code entry.
  void commitCandidate(int index);
  void dropCode();
  void refuseOffPage();
  // A kind whose data is absent does not start: message and beep.
  void refuseMissingData(const std::string& why = {});
  // Hands the running kind's run to the history, once per run.
  void recordRun(bool finished);
  // Whether a weak-item kind that has nothing to draw from the history would
  // have once the running run is in it; if so, the run has been recorded.
  bool canStartFromThisRun(int kind);
  // Runs one step of the running kind with its re-entry guard set.
  template <typename Step>
  void dispatchGuarded(bool& guard, Step step);

  std::uint8_t FPracticeKind = pkNone;
  bool FPractising = false;
  int frameWidth_ = 0;  // 0: not laid out yet, taken as narrow
  bool FDeleting = false;
  bool FEntering = false;
  std::string FCodeBuffer;                 // 0..4 lower-case letters
  std::array<std::string, 6> FCandidates;  // each at most 26 bytes
  // Set: the quote key enters the opening mark next. The double and the
  // single marks pair up on their own, and every run starts with opening
  // marks, so a text's “…” is typed as it stands (as the engines do).
  bool FQuoteToggle = true;
  bool FSingleQuoteToggle = true;

  // Stand-ins for services left null: silent host, system clock, no locks.
  struct Fallbacks;
  std::unique_ptr<Fallbacks> fallbacks_;
  FrameServices services_;
  FrameView view_;
  PracticeData data_;
  std::array<std::unique_ptr<PracticeKind>, kKindCount> kinds_;
  unsigned starts_ = 0;  // grows at every start, so a step can tell it was overtaken
  history::HistoryStore* history_ = nullptr;
  SessionPlan plan_;
  std::function<void(const history::RunRecord&)> runRecorded_;
  bool runUnrecorded_ = false;  // the current run has not gone to the history yet
  // When the last entry of the run was made (at first: its first key).
  std::optional<platform::TimePoint> entryMark_;
};

}  // namespace quorvel
