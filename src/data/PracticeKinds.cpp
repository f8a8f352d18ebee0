#include "data/PracticeKinds.h"

#include <array>

namespace quorvel {

namespace {

constexpr KindInfo drill(std::uint8_t kind, const char* name, const char* resource, char rule,
                         int recordBytes, int records, int drawn, int sequenceBytes, TipKind tip,
                         int lastPage = 10) {
  KindInfo k;
  k.kind = kind;
  k.cls = KindClass::CharWordDrill;
  k.name = name;
  k.resource = resource;
  k.rule = rule;
  k.recordBytes = recordBytes;
  // Characters are one GBK character; words leave four letters of code.
  k.textBytes = tip == TipKind::Char ? 2 : recordBytes > 4 ? recordBytes - 4 : 0;
  k.records = records;
  k.drawn = drawn;
  k.sequenceBytes = sequenceBytes;
  k.lastPage = lastPage;
  k.tip = tip;
  k.needsDictionary = true;
  return k;
}

constexpr KindInfo other(std::uint8_t kind, KindClass cls, const char* name, TipKind tip) {
  KindInfo k;
  k.kind = kind;
  k.cls = cls;
  k.name = name;
  k.tip = tip;
  return k;
}

constexpr std::array<KindInfo, kKindCount> makeTable() {
  constexpr TipKind C = TipKind::Char, W = TipKind::Word;
  std::array<KindInfo, kKindCount> t{};
  t[pkRoot] = other(pkRoot, KindClass::RootDrill, "字根练习", TipKind::RootTip);
  t[pkRoot].rawKeys = true;
  t[pkRoot].showsPageInfo = false;
  //                   kind          name            resource          rule width records drawn
  //                   sequence
  t[pkOnechar] = drill(pkOnechar, "一级简码", "onechar", 'A', 3, 26, 234, 468, C);
  t[pkTwochar] = drill(pkTwochar, "二级简码", "twochar", 'A', 4, 659, 512, 1024, C);
  t[pkThreechar] = drill(pkThreechar, "三级简码", "threechar", 'A', 5, 5020, 512, 1024, C);
  t[pkAllchar] = drill(pkAllchar, "完整编码", "allchar", 'B', 6, 6727, 712, 1424, C);
  t[pkTwocharSel] = drill(pkTwocharSel, "优选二级简码", "twocharsel", 'A', 4, 559, 490, 980, C);
  t[pkThreecharSel] =
      drill(pkThreecharSel, "优选三级简码", "threecharSel", 'A', 5, 297, 300, 600, C);
  t[pkAllcharSel] = drill(pkAllcharSel, "优选完整编码", "allcharSel", 'B', 6, 199, 220, 440, C);
  t[pkKeynameCharsel] =
      drill(pkKeynameCharsel, "键名汉字", "keynameCharsel", 'B', 6, 26, 156, 312, C);
  t[pkCodeCharsel] = drill(pkCodeCharsel, "码元汉字", "codeCharsel", 'B', 6, 49, 208, 416, C);
  t[pkHardcharsel] = drill(pkHardcharsel, "难字特选", "hardcharsel", 'B', 6, 98, 240, 480, C);
  t[pkWord2] = drill(pkWord2, "二字词组", "word2", 'A', 8, 13432, 456, 2736, W);
  t[pkWord3] = drill(pkWord3, "三字词组", "word3", 'A', 10, 3383, 340, 2720, W);
  t[pkWord4] = drill(pkWord4, "四字词组", "word4", 'A', 12, 3559, 272, 2720, W);
  t[pkWordm] = drill(pkWordm, "多字词组", "wordm", 'A', 0, 296, 296, 7696, W, 20);
  t[pkCompare] = other(pkCompare, KindClass::Compare, "对照练习", TipKind::Text);
  t[pkInput] = other(pkInput, KindClass::Input, "录入练习", TipKind::Text);
  t[pkInput].enterIsLineBreak = true;
  t[pkExam] = other(pkExam, KindClass::Exam, "定时测验", TipKind::Text);
  t[pkExam].keepsExamClock = true;
  // Two pages of characters the learner missed, typed like any character drill.
  t[pkWeakChar] = drill(pkWeakChar, "薄弱汉字", "", 'A', 0, 0, 250, 500, C, 1);
  t[pkWeakChar].weakItems = true;
  t[pkWeakRoot] = other(pkWeakRoot, KindClass::RootDrill, "薄弱字根", TipKind::RootTip);
  t[pkWeakRoot].rawKeys = true;
  t[pkWeakRoot].showsPageInfo = false;
  t[pkWeakRoot].weakItems = true;
  // Two pages of words the learner missed, each with its separator; the run
  // ends at the last word that fits, so `drawn` is only an upper bound.
  t[pkWeakWord] = drill(pkWeakWord, "薄弱词组", "", 'A', 0, 0, 125, 500, W, 1);
  t[pkWeakWord].weakItems = true;
  // A session of the learning path is at most a page of roots or characters,
  // or two of words with their separators; the text kind types a whole text.
  t[pkPathRoot] = other(pkPathRoot, KindClass::RootDrill, "学习路线", TipKind::RootTip);
  t[pkPathRoot].rawKeys = true;
  t[pkPathRoot].showsPageInfo = false;
  t[pkPathChar] = drill(pkPathChar, "学习路线", "", 'A', 0, 0, 125, 250, C, 1);
  t[pkPathWord] = drill(pkPathWord, "学习路线", "", 'A', 0, 0, 60, 500, W, 1);
  t[pkPathText] = other(pkPathText, KindClass::Compare, "学习路线", TipKind::Text);
  for (std::uint8_t k : {pkPathRoot, pkPathChar, pkPathWord, pkPathText}) t[k].plannedItems = true;
  return t;
}

constexpr std::array<KindInfo, kKindCount> kKinds = makeTable();

constexpr MenuEntry kMenu[] = {
    {KindMenu::CharPreferred, "MenuItem_Onechar_sel", "一级简码", 0, pkOnechar},
    {KindMenu::CharPreferred, "MenuItem_Twochar_sel", "二级简码", 11, pkTwocharSel},
    {KindMenu::CharPreferred, "MenuItem_threechar_sel", "三级简码", 22, pkThreecharSel},
    {KindMenu::CharPreferred, "MenuItem_allchar_sel", "完整编码", 33, pkAllcharSel},
    {KindMenu::CharPreferred, "MenuItem_Keyname_sel", "键名汉字", 44, pkKeynameCharsel},
    {KindMenu::CharPreferred, "MenuItem_code_sel", "码元汉字", 55, pkCodeCharsel},
    {KindMenu::CharPreferred, "MenuItem_hard_sel", "难字特选", 66, pkHardcharsel},
    {KindMenu::CharAll, "MenuItem_onechar_all", "一级简码", 0, pkOnechar},
    {KindMenu::CharAll, "MenuItem_twochar_all", "二级简码", 1, pkTwochar},
    {KindMenu::CharAll, "MenuItem_threechar_all", "三级简码", 2, pkThreechar},
    {KindMenu::CharAll, "MenuItem_allchar_all", "完整编码", 3, pkAllchar},
    {KindMenu::CharWeak, "MenuItem_weak_char", "薄弱汉字", 20, pkWeakChar},
    {KindMenu::CharWeak, "MenuItem_weak_root", "薄弱字根", 21, pkWeakRoot},
    {KindMenu::CharWeak, "MenuItem_weak_word", "薄弱词组", 23, pkWeakWord},
    {KindMenu::Word, "MenuItem_word2", "二字词组", 4, pkWord2},
    {KindMenu::Word, "MenuItem_word3", "三字词组", 5, pkWord3},
    {KindMenu::Word, "MenuItem_word4", "四字词组", 6, pkWord4},
    {KindMenu::Word, "MenuItem_wordm", "多字词组", 7, pkWordm},
    {KindMenu::Exam, "MenuItem_TimeExam", "定时测验", 8, pkExam},
    {KindMenu::Exam, "MenuItem_SizeExam", "定量测验", 9, pkExam},
};

}  // namespace

const KindInfo& kindInfo(int kind) {
  return isKind(kind) ? kKinds[static_cast<std::size_t>(kind)] : kKinds[pkNone];
}

std::span<const MenuEntry> menuEntries() { return kMenu; }

std::string runName(int kind, std::string_view label) {
  if (kind == pkExam && label == kSizedExamLabel) return menuEntry(9)->caption;
  return kindInfo(kind).name;
}

const MenuEntry* menuEntry(int tag) {
  for (const MenuEntry& e : kMenu)
    if (e.tag == tag) return &e;
  return nullptr;
}

}  // namespace quorvel
