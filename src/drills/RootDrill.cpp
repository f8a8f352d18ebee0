#include "drills/RootDrill.h"

#include <algorithm>
#include <string>

#include "data/PracticeData.h"
#include "history/WeakDraw.h"
#include "practice/FrameTexts.h"

namespace quorvel {

namespace {
constexpr int kColumns = PictureGrid::Columns;
int markIndex(int position) {
  return (2 * (position / kColumns) + 1) * kColumns + position % kColumns;
}

constexpr int kWeakPool = 40;
constexpr int kMasteredPool = 60;
constexpr int kMasteredMinTries = 2;

// Root numbers as the history keeps them; anything else is left out.
std::vector<history::ItemStat> validRoots(std::vector<history::ItemStat> items) {
  std::vector<history::ItemStat> kept;
  for (history::ItemStat& item : items) {
    if (item.item.empty() || item.item.size() > 3 ||
        item.item.find_first_not_of("0123456789") != std::string::npos)
      continue;
    if (std::stoi(item.item) < kRootCount) kept.push_back(std::move(item));
  }
  return kept;
}
}  // namespace

std::vector<int> RootDrill::plannedRoots() const {
  std::vector<int> roots;
  for (const std::string& item : ctx_.plan().items) {
    if (item.empty() || item.size() > 3 ||
        item.find_first_not_of("0123456789") != std::string::npos)
      continue;
    const int root = std::stoi(item);
    if (root < kRootCount && roots.size() < static_cast<std::size_t>(kRootPageOneCells))
      roots.push_back(root);
  }
  return roots;
}

std::string RootDrill::shownName() const { return planned_ ? ctx_.plan().title : std::string(); }

bool RootDrill::canStart() const {
  for (const auto& picture : ctx_.data().rootPictures)
    if (!picture) return false;
  if (planned_) return ctx_.plan().kind == pkPathRoot && !plannedRoots().empty();
  if (!weak_) return true;
  history::HistoryStore* store = ctx_.history();
  return store && !validRoots(store->weakest(history::ItemClass::Root, 1, kWeakPool)).empty();
}

std::string RootDrill::refusal() const {
  if (planned_) return frameTexts().noSession;
  return weak_ ? frameTexts().noHistory : std::string();
}

bool RootDrill::drawWeak() {
  history::HistoryStore* store = ctx_.history();
  if (store == nullptr) return false;
  const auto weak = validRoots(store->weakest(history::ItemClass::Root, 1, kWeakPool));
  const auto mastered =
      validRoots(store->mastered(history::ItemClass::Root, kMasteredMinTries, kMasteredPool));
  const auto now =
      std::chrono::duration_cast<std::chrono::seconds>(ctx_.clock().now().time_since_epoch())
          .count();
  const auto roots = history::drawWeakItems(weak, mastered, kRootRunCells, ctx_.random(), now);
  if (roots.size() != static_cast<std::size_t>(kRootRunCells)) return false;
  for (std::size_t i = 0; i < roots.size(); ++i)
    FRootCells[i] = TRootCell{std::stoi(roots[i]), 0, 0};
  return true;
}

void RootDrill::updateScore() {
  tally_.counted = ctx_.clock().now();
  tally_.entries = tally_.right = 0;
  for (const TRootCell& cell : FRootCells) {
    if (cell.entered == 0) break;
    ++tally_.entries;
    if (cell.entered == cell.expected) ++tally_.right;
  }
  ctx_.showSpeedAndAccuracy(tally_.speed(), tally_.accuracy());
}

bool RootDrill::describeRun(history::RunRecord& run) const {
  for (const TRootCell& cell : FRootCells) {
    if (cell.entered == 0) break;
    const bool ok = cell.entered == cell.expected;
    run.entries.push_back(history::RunEntry{history::ItemClass::Root, std::to_string(cell.root),
                                            history::keyName(cell.entered), ok, cell.ms});
  }
  if (tally_.entries == 0) return false;
  tally_.fill(run);
  return true;
}

void RootDrill::draw() {
  platform::RandomSource& random = ctx_.random();
  random.seedFromClock();
  runCells_ = kRootRunCells - 1;  // a run ends before its last cell
  if (planned_) {
    const std::vector<int> roots = plannedRoots();
    runCells_ = static_cast<int>(roots.size());
    for (std::size_t i = 0; i < FRootCells.size(); ++i)
      FRootCells[i] = TRootCell{i < roots.size() ? roots[i] : 0, 0, 0};
    for (TRootCell& cell : FRootCells)
      cell.expected = static_cast<std::uint8_t>(rootKey(cell.root));
    return;
  }
  if (weak_ && drawWeak()) {
    for (TRootCell& cell : FRootCells)
      cell.expected = static_cast<std::uint8_t>(rootKey(cell.root));
    return;
  }
  for (TRootCell& cell : FRootCells) cell = TRootCell{random.uniform(kRootCount), 0, 0};

  // Cells 0..175 become an order of all 176 roots; a cell holding 0 is empty.
  for (int i = 0; i < kRootCount; ++i) {
    const int root = FRootCells[static_cast<std::size_t>(i)].root;
    if (root == 0) continue;
    for (int j = i + 1; j < kRootCount; ++j)
      if (FRootCells[static_cast<std::size_t>(j)].root == root)
        FRootCells[static_cast<std::size_t>(j)].root = 0;
  }
  std::array<bool, kRootCount> missing{};
  missing.fill(true);
  for (int i = 0; i < kRootCount; ++i) {
    const int root = FRootCells[static_cast<std::size_t>(i)].root;
    if (root != 0) missing[static_cast<std::size_t>(root)] = false;
  }
  int from = 0;
  for (int root = kRootCount - 1; root >= 0; --root) {
    if (!missing[static_cast<std::size_t>(root)]) continue;
    while (from < kRootCount && FRootCells[static_cast<std::size_t>(from)].root != 0) ++from;
    if (from == kRootCount) break;
    FRootCells[static_cast<std::size_t>(from)].root = root;
  }
  for (TRootCell& cell : FRootCells) {
    cell.expected = static_cast<std::uint8_t>(rootKey(cell.root));
    cell.entered = 0;
  }
}

void RootDrill::clearMarks() {
  for (std::string& mark : ctx_.view().picture.marks) mark.clear();
}

void RootDrill::setMark(int position, const std::string& mark) {
  ctx_.view().picture.marks[static_cast<std::size_t>(markIndex(position))] = mark;
}

void RootDrill::markCurrent() {
  setMark(FRootPosition, frameTexts().arrowUp);
  ctx_.view().picture.current = FRootPageStart + FRootPosition;
}

void RootDrill::showPicturesOfPage() { ctx_.view().picture.pageFirst = FRootPageStart; }

void RootDrill::start() {
  FrameView& view = ctx_.view();
  view.pagesInfo.clear();
  view.keyplace.clear();
  view.wordplace.clear();
  clearMarks();
  draw();
  tally_ = RunTally{};
  tally_.started = ctx_.clock().now();
  updateScore();
  FRootPageStart = 0;
  FRootPosition = 0;
  FRootPageLast = std::min(kRootPageOneCells, runCells_) - 1;
  // A planned session shows only its own roots; the cells after them stay empty.
  const int shown = planned_ ? runCells_ : kRootRunCells;
  view.picture.roots.resize(static_cast<std::size_t>(shown));
  for (int i = 0; i < shown; ++i)
    view.picture.roots[static_cast<std::size_t>(i)] = FRootCells[static_cast<std::size_t>(i)].root;
  showPicturesOfPage();
  markCurrent();
  view.picture.visible = true;
  ctx_.changed();
}

void RootDrill::enterKey(std::uint16_t virtualKey) {
  TRootCell& cell = FRootCells[static_cast<std::size_t>(FRootPageStart + FRootPosition)];
  cell.entered = static_cast<std::uint8_t>(virtualKey & 0xFF);
  cell.ms = ctx_.takeEntryMs();
  setMark(FRootPosition, cell.entered == cell.expected ? frameTexts().tick : frameTexts().cross);
  updateScore();
  ++FRootPosition;
  if (FRootPosition <= FRootPageLast) {
    markCurrent();
  } else if (FRootPageStart + FRootPosition >= runCells_) {
    ctx_.view().picture.current = -1;  // no arrow after the last cell
    ctx_.endRun();
    ctx_.view().wordplace = frameTexts().rootEnd;
    ctx_.host().beep();
  } else {
    FRootPageStart = kRootPageOneCells;
    FRootPosition = 0;
    FRootPageLast = kRootRunCells - kRootPageOneCells - 1;
    clearMarks();
    showPicturesOfPage();
    markCurrent();
  }
  ctx_.changed();
}

void RootDrill::deleteLast() {
  setMark(FRootPosition, {});
  --FRootPosition;
  if (FRootPosition >= 0) {
    FRootCells[static_cast<std::size_t>(FRootPageStart + FRootPosition)].entered = 0;
    markCurrent();
  } else if (FRootPageStart == 0) {
    FRootPosition = 0;
    markCurrent();
  } else {
    FRootPageStart = 0;
    FRootPosition = FRootPageLast = kRootPageOneCells - 1;
    showPicturesOfPage();
    for (int p = 0; p < kRootPageOneCells; ++p) {
      const TRootCell& cell = FRootCells[static_cast<std::size_t>(p)];
      setMark(p, cell.entered == cell.expected ? frameTexts().tick : frameTexts().cross);
    }
    FRootCells[static_cast<std::size_t>(FRootPosition)].entered = 0;
    markCurrent();
  }
  updateScore();
  ctx_.changed();
}

void RootDrill::codeHint() {
  const int current = FRootPageStart + FRootPosition;
  if (current < 0 || current >= kRootRunCells) return;
  ctx_.host().showRootHint(
      static_cast<char>(FRootCells[static_cast<std::size_t>(current)].expected));
}

}  // namespace quorvel
