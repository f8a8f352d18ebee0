#pragma once
// One practice kind as the frame dispatches to it. The fourteen character and
// word drills are one class with a parameter table; the root drill, comparison
// practice, input practice and the tests are classes of their own.
#include <cstdint>
#include <string>

namespace quorvel {

enum PracticeKindValue : std::uint8_t {
  pkNone = 0, pkRoot = 1, pkOnechar, pkTwochar, pkThreechar, pkAllchar, pkTwocharSel,
  pkThreecharSel, pkAllcharSel, pkKeynameCharsel, pkCodeCharsel, pkHardcharsel, pkWord2,
  pkWord3, pkWord4, pkWordm, pkCompare, pkInput, pkExam,
};
inline constexpr int kKindCount = 19;  // 0..18

class PracticeKind {
 public:
  virtual ~PracticeKind() = default;
  // False when the kind's data is absent: it then does not start.
  virtual bool canStart() const { return true; }
  virtual void start() = 0;
  virtual void enterItem(char b1, char b2) = 0;
  virtual void deleteLast() = 0;
  // The root drill takes raw keys instead of items.
  virtual void enterKey(std::uint16_t /*virtualKey*/) {}
  virtual void viewNextPage() {}
  virtual void viewPreviousPage() {}
  virtual bool viewIsPracticePage() const { return true; }
  virtual void codeHint() {}
  virtual void tick() {}
  // The GBK name shown as the current practice; empty: the frame's own name
  // for the kind (the test names itself by its mode).
  virtual std::string shownName() const { return {}; }
};

}  // namespace quorvel
