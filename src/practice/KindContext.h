#pragma once
// What a practice kind sees of the frame that runs it: the view it writes,
// the loaded data, the effects of the host, the clock, and the few frame
// operations a run needs (scores, page line, end of run). The frame's own
// state stays its own.
#include <string_view>

#include "data/PracticeData.h"
#include "data/SessionPlan.h"
#include "history/HistoryStore.h"
#include "platform/Clock.h"
#include "practice/FrameHost.h"
#include "practice/FrameView.h"

namespace quorvel {

class KindContext {
 public:
  virtual ~KindContext() = default;

  virtual FrameView& view() = 0;
  virtual const PracticeData& data() const = 0;
  virtual FrameHost& host() = 0;
  virtual const platform::Clock& clock() const = 0;
  virtual platform::RandomSource& random() = 0;
  // The learner's history; nullptr when the tutor keeps none.
  virtual history::HistoryStore* history() { return nullptr; }
  // The learning-path session the path's kinds type (empty when none was planned).
  virtual const SessionPlan& plan() const = 0;

  // Whether a run is going on (entries are handed to the running kind).
  virtual bool practising() const = 0;
  // A page fill calls this after each of its lines: the window shows what
  // changed and pending events run. False when another practice was started
  // meanwhile; the step that filled the page then stops.
  virtual bool letEventsRun() = 0;
  // The view changed (the window redraws what differs).
  virtual void changed() = 0;

  // Score line: speed in characters a minute, accuracy in per cent.
  virtual void showSpeedAndAccuracy(int speed, int percent) = 0;
  // Page line: 0-based page numbers.
  virtual void showPageInfo(int viewPage, int practicePage) = 0;
  // How long the entry made now took, in milliseconds: from the entry before
  // it, or from the first key of the run; a pause counts at most
  // history::kEntryPauseCapMs. Each kind calls it once per entry it stores.
  virtual int takeEntryMs() = 0;
  // The run is over: from now on only function keys act.
  virtual void endRun() = 0;
  // The end message, head + the figures last shown, and a beep. The default
  // head is "练习结束! 打字速率：" (GBK).
  virtual void reportEnd() = 0;
  virtual void reportEnd(std::string_view head) = 0;
};

// Whole seconds from start to end, at least 1 (a speed never divides by 0).
int elapsedSeconds(platform::TimePoint start, platform::TimePoint end);

// A run's figures as of its last count: the score line shows them and the
// history stores them, so the end message and the stored run always agree.
// A kind counts again after each entry, deletion and tick, and once more
// after the last entry before the end message.
struct RunTally {
  platform::TimePoint started{};
  platform::TimePoint counted{};  // when entries and right were counted
  int entries = 0;
  int right = 0;

  int seconds() const { return elapsedSeconds(started, counted); }
  int speed() const { return static_cast<int>(static_cast<long long>(entries) * 60 / seconds()); }
  int accuracy() const { return entries == 0 ? 0 : right * 100 / entries; }
  void fill(history::RunRecord& run, bool measuresAccuracy = true) const {
    history::setRunFigures(run, started, entries, right, seconds(), measuresAccuracy);
  }
};

}  // namespace quorvel
