#include "practice/PracticeFrame.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "practice/FrameTexts.h"

namespace quorvel {

namespace {

class SilentHost : public FrameHost {
 public:
  void beep() override {}
  void showCharHint(const TCharCodes&) override {}
  void showWordHint(const TCharCodes&, const TWordCode&) override {}
  void showRootHint(char) override {}
  void showRootTip() override {}
  void showTip(int) override {}
  void openLookup() override {}
  void openHelp(int) override {}
};

class NoLocks : public platform::LockKeys {
 public:
  bool capsLock() const override { return false; }
  bool numLock() const override { return false; }
};

}  // namespace

struct PracticeFrame::Fallbacks {
  SilentHost host;
  platform::Clock clock;
  platform::RandomSource random;
  NoLocks locks;
};

PracticeFrame::PracticeFrame(FrameServices services, const KindFactory& makeKind)
    : fallbacks_(std::make_unique<Fallbacks>()), services_(services) {
  if (!services_.host) services_.host = &fallbacks_->host;
  if (!services_.clock) services_.clock = &fallbacks_->clock;
  if (!services_.random) services_.random = &fallbacks_->random;
  if (!services_.locks) services_.locks = &fallbacks_->locks;

  // Buffers of every kind are allocated here, once, and reused by every run.
  if (makeKind)
    for (int k = pkNone + 1; k < kKindCount; ++k)
      kinds_[static_cast<std::size_t>(k)] = makeKind(kindInfo(k), *this);
}

PracticeFrame::~PracticeFrame() = default;

void PracticeFrame::installKind(int k, std::unique_ptr<PracticeKind> practiceKind) {
  if (!isKind(k) || !practiceKind) return;
  if (FPracticeKind == k) FPractising = false;  // the old class's run cannot go on
  kinds_[static_cast<std::size_t>(k)] = std::move(practiceKind);
}

void PracticeFrame::setHost(FrameHost* host) { services_.host = host ? host : &fallbacks_->host; }

void PracticeFrame::setLocks(const platform::LockKeys* locks) {
  services_.locks = locks ? locks : &fallbacks_->locks;
}

void PracticeFrame::setUp(const platform::ResourceLibrary& library) {
  data_ = loadPracticeData(library);
  platform::ResourceData intro = library.read("TIPDATA", "intro");
  view_.previewText = intro.ok() ? std::move(intro.bytes) : std::string();
  changed();
}

void PracticeFrame::setUp(PracticeData data, std::string introText) {
  data_ = std::move(data);
  view_.previewText = std::move(introText);
  changed();
}

bool PracticeFrame::canStartKind(int kind) const {
  if (!isKind(kind)) return false;
  const PracticeKind* k = kinds_[static_cast<std::size_t>(kind)].get();
  // Code entry lists its candidates from the dictionary: without it no item
  // of a drill could be entered. Texts may still be typed in letter mode.
  if (kindInfo(kind).needsDictionary && !data_.basePresent) return false;
  return k != nullptr && k->canStart();
}

void PracticeFrame::selectKind(int kind, int menuTag) {
  PracticeKind* chosen = this->kind(kind);
  if (chosen == nullptr) return;
  // A kind without its data says so before it asks the user for anything.
  if (!canStartKind(kind) && !canStartFromThisRun(kind)) {
    refuseMissingData(chosen->refusal());  // the running practice, if any, goes on
    return;
  }
  // What the user declines to give (a file, the test's settings) leaves the
  // running practice as it was.
  if (!chosen->prepare(menuTag)) {
    services_.host->restoreSelectionPanel();
    changed();
    return;
  }
  // The run this one replaces is given up.
  if (FPractising) recordRun(false);
  FPracticeKind = static_cast<std::uint8_t>(kind);
  startPractice();
}

bool PracticeFrame::canStartFromThisRun(int kind) {
  // A weak-item drill chosen during a run that missed items of its sort
  // draws from that run too: the run is given up and goes to the history
  // first, as it would when the drill starts.
  const KindInfo& info = kindInfo(kind);
  const PracticeKind* running = this->kind(FPracticeKind);
  history::RunRecord run;
  if (!info.weakItems || !FPractising || !history_ || running == nullptr ||
      (info.needsDictionary && !data_.basePresent) || !running->describeRun(run))
    return false;
  const history::ItemClass cls = weakItemClass(info);
  if (std::none_of(run.entries.begin(), run.entries.end(),
                   [cls](const history::RunEntry& e) { return e.cls == cls && !e.right; }))
    return false;
  recordRun(false);
  if (canStartKind(kind)) return true;
  // Nothing of it could be drawn after all (an item no drill can type): the
  // run, already recorded as given up, ends here.
  FPractising = false;
  return false;
}

void PracticeFrame::endRun() {
  FPractising = false;
  recordRun(true);
}

int PracticeFrame::takeEntryMs() {
  const platform::TimePoint now = services_.clock->now();
  const platform::TimePoint from = entryMark_.value_or(now);
  entryMark_ = now;
  return history::cappedEntryMs(
      std::chrono::duration_cast<std::chrono::milliseconds>(now - from).count());
}

void PracticeFrame::tearDown() {
  if (FPractising) recordRun(false);
  FPractising = false;
}

void PracticeFrame::recordRun(bool finished) {
  // Once per run, at its end: nothing of the history is touched while keys arrive.
  if (!runUnrecorded_ || !history_) return;
  runUnrecorded_ = false;
  const PracticeKind* k = kind(FPracticeKind);
  history::RunRecord run;
  if (k == nullptr || !k->describeRun(run)) return;
  run.kind = FPracticeKind;
  if (kindInfo(FPracticeKind).plannedItems) run.label = plan_.label;
  run.ended = services_.clock->now();
  run.finished = finished;
  history_->record(run);
  if (runRecorded_) runRecorded_(run);
}

void PracticeFrame::toggleRootTable() {
  // Wider than this, the frame has room for the table below its grid.
  constexpr int kWideFrame = 700;
  const bool wide = frameWidth_ > kWideFrame;
  FrameHost& host = *services_.host;
  if (host.rootTableShown()) {
    host.hideRootTable();
    if (wide) view_.imageMapVisible = true;
  } else if (wide || !host.showRootTable()) {
    view_.imageMapVisible = !view_.imageMapVisible;
  } else {
    view_.imageMapVisible = false;
  }
  changed();
}

void PracticeFrame::selectMenuTag(int tag) {
  if (const MenuEntry* entry = menuEntry(tag)) selectKind(entry->kind, tag);
}

void PracticeFrame::refuseMissingData(const std::string& why) {
  view_.wordplace = why.empty() ? frameTexts().dataMissing : why;
  services_.host->beep();
  changed();
}

void PracticeFrame::startPractice() {
  const KindInfo& info = kindInfo(FPracticeKind);
  PracticeKind& running = *kinds_[info.kind];
  ++starts_;
  FPractising = true;
  runUnrecorded_ = true;
  entryMark_.reset();
  FDeleting = false;
  FEntering = false;

  view_.picture.visible = false;
  FCodeBuffer.clear();
  FQuoteToggle = FSingleQuoteToggle = true;
  view_.keyplace.clear();
  view_.wordplace.clear();
  for (std::string& c : FCandidates) c.clear();

  if (!info.keepsExamClock) view_.examClockVisible = false;
  if (info.showsPageInfo) showPageInfo(0, 0);

  running.start();
  std::string name = running.shownName();
  if (name.empty()) name = frameTexts().kindNames[info.kind];
  view_.trainName = frameTexts().trainPrefix + name;

  view_.splitterPercent = 100;
  view_.practiceAreaShown = true;
  services_.host->restoreSelectionPanel();
  changed();
}

void PracticeFrame::timerTick() {
  if (!FPractising) return;
  if (PracticeKind* k = kind(FPracticeKind)) k->tick();
  changed();
}

void PracticeFrame::hintButton() {
  if (FPractising) {
    codeHint();
  } else {
    view_.wordplace = frameTexts().noPractice;
    services_.host->beep();
  }
  changed();
}

void PracticeFrame::setLetterMode(bool on) {
  view_.letterMode = on;
  changed();
}

void PracticeFrame::toggleHotSpot() {
  view_.practiceAreaShown = !view_.practiceAreaShown;
  if (view_.splitterPercent > 60)
    view_.splitterPercent = 100;
  else if (view_.splitterPercent < 20)
    view_.splitterPercent = 0;
  changed();
}

// Dispatch. The guards keep a key that arrives while a page is being filled
// (pending events run after each line) from re-entering the kind.
template <typename Step>
void PracticeFrame::dispatchGuarded(bool& guard, Step step) {
  PracticeKind* k = kind(FPracticeKind);
  if (!FPractising || k == nullptr) return;
  guard = true;
  step(*k);
  guard = false;
  changed();
}

void PracticeFrame::enterItem(char b1, char b2) {
  dispatchGuarded(FEntering, [=](PracticeKind& k) { k.enterItem(b1, b2); });
}

void PracticeFrame::deleteLast() {
  dispatchGuarded(FDeleting, [](PracticeKind& k) { k.deleteLast(); });
}

void PracticeFrame::viewNextPage() {
  dispatchGuarded(FEntering, [](PracticeKind& k) { k.viewNextPage(); });
}

void PracticeFrame::viewPreviousPage() {
  dispatchGuarded(FDeleting, [](PracticeKind& k) { k.viewPreviousPage(); });
}

void PracticeFrame::codeHint() {
  if (PracticeKind* k = kind(FPracticeKind)) k->codeHint();
  changed();
}

bool PracticeFrame::letEventsRun() {
  const unsigned run = starts_;
  changed();
  services_.host->processPendingEvents();
  return run == starts_;
}

int elapsedSeconds(platform::TimePoint start, platform::TimePoint end) {
  // Whole seconds between the two date-times, so a run across midnight
  // keeps its true length; a clock that went back still gives 1.
  using std::chrono::floor;
  using std::chrono::seconds;
  const long long diff = (floor<seconds>(end) - floor<seconds>(start)).count();
  if (diff < 1) return 1;
  if (diff > 0x7fffffffLL) return 0x7fffffff;
  return static_cast<int>(diff);
}

void PracticeFrame::showSpeedAndAccuracy(int speed, int percent) {
  view_.speed = std::to_string(speed);
  view_.accuracy = percent;
  changed();
}

void PracticeFrame::reportEnd() { reportEnd(frameTexts().endPrefix); }

void PracticeFrame::reportEnd(std::string_view head) {
  const FrameTexts& t = frameTexts();
  view_.wordplace = std::string(head) + view_.speed + " " + t.perMinute + t.rightCaption +
                    std::to_string(view_.accuracy) + "%";
  services_.host->beep();
  changed();
}

void PracticeFrame::showPageInfo(int viewPage, int practicePage) {
  const FrameTexts& t = frameTexts();
  view_.pagesInfo = t.pagePrefix + std::to_string(viewPage + 1) + t.pageMiddle +
                    std::to_string(practicePage + 1) + t.pageSuffix;
  changed();
}

}  // namespace quorvel
