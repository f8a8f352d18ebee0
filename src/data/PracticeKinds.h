#pragma once
// One description per practice kind: everything the frame, the loader, the
// lookups and the windows need to know about a kind lives in this table, so
// adding a kind means a row here and the kind's own files.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

enum PracticeKindValue : std::uint8_t {
  pkNone = 0,
  pkRoot = 1,
  pkOnechar,
  pkTwochar,
  pkThreechar,
  pkAllchar,
  pkTwocharSel,
  pkThreecharSel,
  pkAllcharSel,
  pkKeynameCharsel,
  pkCodeCharsel,
  pkHardcharsel,
  pkWord2,
  pkWord3,
  pkWord4,
  pkWordm,
  pkCompare,
  pkInput,
  pkExam,
  // The weak-item drills: characters, roots and words drawn from the
  // learner's history. The history keeps kinds by number: new ones go last.
  pkWeakChar,
  pkWeakRoot,
  pkWeakWord,
  // The learning path's sessions: roots, characters, words and a text, typed
  // like the drills and comparison practice, their items planned by the path.
  pkPathRoot,
  pkPathChar,
  pkPathWord,
  pkPathText,
};
inline constexpr int kKindCount = pkPathText + 1;  // 0 (none chosen) and the twenty-five kinds

// Which class serves a kind.
enum class KindClass : std::uint8_t { None, RootDrill, CharWordDrill, Compare, Input, Exam };

// What F2 opens while the kind is chosen.
enum class TipKind : std::uint8_t { RootTip, Char, Word, Text };

struct KindInfo {
  std::uint8_t kind = pkNone;
  KindClass cls = KindClass::None;
  const char* name = "";  // UTF-8, as the current-practice line shows it

  // The drill table of kinds 2 to 15 (empty resource: none).
  const char* resource = "";  // "chardata" entry
  char rule = 'A';            // normalisation rule, 'A' or 'B'
  int recordBytes = 0;        // width of one record; 0 for the word table, whose entries vary
  int textBytes = 0;          // the character or word at the start of a record; the code follows
  int records = 0;            // how many records a run draws from
  int drawn = 0;              // items in one run
  int sequenceBytes = 0;      // size of the run's sequence
  int lastPage = 0;           // highest page number a run may reach

  TipKind tip = TipKind::Text;
  bool rawKeys = false;           // keys go to the kind as they are (no code entry)
  bool needsDictionary = false;   // its items are Chinese: typed only through code entry
  bool enterIsLineBreak = false;  // Enter types a line break
  bool keepsExamClock = false;    // the test clock stays on show when the kind starts
  bool showsPageInfo = true;      // the page line is reset to page 1 when the kind starts
  bool weakItems = false;         // draws its items from the learner's history, not a table
  bool plannedItems = false;      // types the session the learning path planned
};

// The description of a kind; kinds outside 1..21 get an empty one.
const KindInfo& kindInfo(int kind);
inline bool isKind(int kind) { return kind > pkNone && kind < kKindCount; }
// Whether the kind draws its items from a drill table.
inline bool hasDrillTable(int kind) { return kindInfo(kind).resource[0] != '\0'; }

// The items of the selection panel's drop-down menus. One kind may appear
// in two menus, and the test appears twice, once per mode.
enum class KindMenu : std::uint8_t { CharPreferred, CharAll, CharWeak, Word, Exam };
struct MenuEntry {
  KindMenu menu;
  const char* objectName;
  const char* caption;  // UTF-8
  int tag;              // the menu item's tag; the test's mode follows from it
  std::uint8_t kind;
};
std::span<const MenuEntry> menuEntries();
// The entry of a menu tag; nullptr for a tag no item has.
const MenuEntry* menuEntry(int tag);

// The label a test by quantity is recorded with: both tests are one kind,
// but the history names them apart.
inline constexpr std::string_view kSizedExamLabel = "exam:quantity";
// The UTF-8 name of a recorded run, from its kind and label.
std::string runName(int kind, std::string_view label);

}  // namespace quorvel
