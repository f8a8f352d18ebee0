#pragma once
// One practice kind as the frame dispatches to it. The fourteen character and
// word drills are one class driven by their rows of the kind table; the root
// drill, comparison practice, input practice and the tests are classes of
// their own. Kinds reach the frame only through a KindContext.
#include <cstdint>
#include <string>

#include "data/PracticeKinds.h"
#include "history/RunRecord.h"

namespace quorvel {

class PracticeKind {
 public:
  virtual ~PracticeKind() = default;
  // Asks the user what the kind needs before it starts (a file, the test's
  // settings), from the menu item of that tag (-1: the kind's button). False:
  // nothing starts and a running practice goes on.
  virtual bool prepare(int /*menuTag*/) { return true; }
  // False when the kind's data is absent: it then does not start.
  virtual bool canStart() const { return true; }
  // Why it cannot start (GBK), when that is not missing data.
  virtual std::string refusal() const { return {}; }
  virtual void start() = 0;
  virtual void enterItem(char b1, char b2) = 0;
  virtual void deleteLast() = 0;
  // Kinds described with raw keys take keys instead of items.
  virtual void enterKey(std::uint16_t /*virtualKey*/) {}
  virtual void viewNextPage() {}
  virtual void viewPreviousPage() {}
  virtual bool viewIsPracticePage() const { return true; }
  // F1 while the kind runs.
  virtual void codeHint() {}
  // Once a second while the kind runs.
  virtual void tick() {}
  // The GBK name shown as the current practice; empty: the kind table's name.
  virtual std::string shownName() const { return {}; }
  // The run so far for the history, from what the kind holds anyway: its
  // start, entries, score and every entry made. False when no entry was made.
  // The frame fills in the kind, the end and whether it finished.
  virtual bool describeRun(history::RunRecord& /*run*/) const { return false; }
};

// What a weak-item kind draws from the history: roots, words or characters.
inline history::ItemClass weakItemClass(const KindInfo& info) {
  if (info.cls == KindClass::RootDrill) return history::ItemClass::Root;
  return info.tip == TipKind::Word ? history::ItemClass::Word : history::ItemClass::Character;
}

}  // namespace quorvel
