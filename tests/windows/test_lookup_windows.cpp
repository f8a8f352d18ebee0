// The lookup window's two searches, the code hint windows and the study tip
// window, on made-up tables and a made-up resource library.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTextEdit>

#include "app/WindowSet.h"
#include "lookup/windows/TForm_Charhelp.h"
#include "lookup/windows/TForm_Tip.h"
#include "lookup/windows/TForm_Wordhelp.h"
#include "lookup/windows/TForm_detailhelp.h"
#include "lookup/windows/TForm_roothelp.h"
#include "platform/Gbk.h"
#include "support/CraftedData.h"
#include "support/FixtureLibrary.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

using quorvel::testing::hz;
using quorvel::testing::word;

QString u(const std::string& gbkText) { return ui::fromGbk(gbkText); }

class LookupWindowTest : public ::testing::Test {
 protected:
  LookupWindowTest() : data(quorvel::testing::craftedData()), window(platform::ResourceLibrary()) {
    window.setData(&data);
  }
  void lookUpText(const QString& typed) {
    window.RzButtonEdit_chartokey->setText(typed);
    QTest::keyClick(window.RzButtonEdit_chartokey, Qt::Key_Return);
  }
  QString lookUpCode(const QString& typed, int mode) {
    window.RzComboBox_WordChar->setCurrentIndex(mode);
    window.RzButtonEdit_keytochar->setText(typed);
    QTest::keyClick(window.RzButtonEdit_keytochar, Qt::Key_Return);
    return window.RzMemo_WordChar->toPlainText();
  }
  PracticeData data;
  TForm_detailhelp window;
};

TEST_F(LookupWindowTest, CharacterShowsEachCodeLevel) {
  // hz(300) is the first record of the level-2, level-3 and full-code tables.
  lookUpText(u(hz(300)));
  EXPECT_EQ(window.RzLabel_Char->text(), QStringLiteral("查询结果：") + u(hz(300)));
  EXPECT_EQ(window.RzLabel_oneChar->text(), QStringLiteral("一级简码：无"));
  EXPECT_EQ(window.RzLabel_twoChar->text(), QStringLiteral("二级简码：AA"));
  EXPECT_EQ(window.RzLabel_threeChar->text(), QStringLiteral("三级简码：AAA"));
  EXPECT_EQ(window.RzLabel_allChar->text(), QStringLiteral("全码：AAAA"));
}

TEST_F(LookupWindowTest, CharacterShowsItsSplitWhenTheLibraryHasOne) {
  lookUpText(u(hz(300)));
  EXPECT_EQ(window.RzLabel_split->text(),
            QStringLiteral("拆分：") + u(hz(10)) + " " + u(hz(11)) + QStringLiteral("（") +
                u(hz(12)) + QStringLiteral("）") + u(hz(13)) + QStringLiteral(" → A A A，音 A"));
  // A character without a split, a word and a failed search leave the line empty.
  lookUpText(u(hz(301)));
  EXPECT_EQ(window.RzLabel_allChar->text(), QStringLiteral("全码：AAAB"));
  EXPECT_EQ(window.RzLabel_split->text(), QString());
  lookUpText(u(hz(300)));
  lookUpText(u(word(2, 3)));
  EXPECT_EQ(window.RzLabel_split->text(), QString());
  lookUpText(u(hz(300)));
  lookUpText(QStringLiteral("ab"));
  EXPECT_EQ(window.RzLabel_split->text(), QString());
}

TEST_F(LookupWindowTest, CharacterWithoutFullCodeAndLatinTextFindNothing) {
  // A character in the level-1 table only: without a full code the result is "无".
  data.tables[5].records = hz(300) + "aaaa";
  lookUpText(QStringLiteral("  ") + u(hz(0)) + QStringLiteral(" "));
  EXPECT_EQ(window.RzLabel_Char->text(),
            QStringLiteral("查询结果：") + u(hz(0)) + QStringLiteral("无"));
  EXPECT_EQ(window.RzLabel_allChar->text(), QStringLiteral("全码：无"));
  lookUpText(QStringLiteral("ab"));
  EXPECT_EQ(window.RzLabel_Char->text(), QStringLiteral("无查询结果：ab"));
  EXPECT_EQ(window.RzLabel_oneChar->text(), QStringLiteral("一级简码：无"));
  // One byte changes nothing.
  lookUpText(QStringLiteral("1"));
  EXPECT_EQ(window.RzLabel_Char->text(), QStringLiteral("无查询结果：ab"));
}

TEST_F(LookupWindowTest, WordShowsItsCodeNotItsCharacters) {
  lookUpText(u(word(2, 3)));
  EXPECT_EQ(window.RzLabel_Char->text(), QStringLiteral("查询结果：") + u(word(2, 3)));
  EXPECT_EQ(window.RzLabel_allChar->text(), QStringLiteral("编码：WAAD"));
  EXPECT_EQ(window.RzLabel_twoChar->text(), QStringLiteral("二级简码：无"));
  // Characters of the second level are in no made-up table.
  lookUpText(QStringLiteral("亍亍"));
  EXPECT_EQ(window.RzLabel_Char->text(), QStringLiteral("无查询结果：亍亍"));
  EXPECT_EQ(window.RzLabel_allChar->text(), QStringLiteral("全码：无"));
}

TEST_F(LookupWindowTest, CodeSearchListsCharactersAndWordsInTableOrder) {
  QString expected = QStringLiteral("查询结果：?\n");
  for (int i = 0; i < 26; ++i) expected += u(hz(i)) + QChar('a' + i) + QLatin1Char(' ');
  EXPECT_EQ(lookUpCode(QStringLiteral("?"), 0), expected);
  // Upper-case input finds the same; the heading repeats it as typed.
  EXPECT_EQ(lookUpCode(QStringLiteral("AB"), 0),
            QStringLiteral("查询结果：AB\n") + u(hz(301)) + QStringLiteral("ab "));
  EXPECT_EQ(lookUpCode(QStringLiteral("waaa"), 1),
            QStringLiteral("查询结果：waaa\n") + u(word(2, 0)) + QStringLiteral("waaa ") +
                u(word(3, 0)) + QStringLiteral("waaa ") + u(word(4, 0)) + QStringLiteral("waaa "));
  EXPECT_EQ(lookUpCode(QStringLiteral("abc"), 1), QStringLiteral("无查询结果：abc"));
  // A Chinese input method's full-width ？ and letters count as ? and letters.
  EXPECT_EQ(lookUpCode(QStringLiteral("ａ？"), 0).section(QLatin1Char('\n'), 1),
            lookUpCode(QStringLiteral("a?"), 0).section(QLatin1Char('\n'), 1));
  EXPECT_NE(lookUpCode(QStringLiteral("ａ？"), 0), QStringLiteral("无查询结果：ａ？"));
  // The field holds four letters at most.
  EXPECT_EQ(window.RzButtonEdit_keytochar->maxLength(), 4);
}

TEST(CodeHintWindowTest, CharacterAndWordHintsFillTheirLabelsAndKeys) {
  testsupport::TempDir dir;
  std::vector<testsupport::FixtureEntry> entries;
  for (char c = 'a'; c <= 'z'; ++c)
    entries.push_back(
        {std::string("RCDATA/key_") + c, testsupport::bmp24Solid(20, 20, 0x102030 + c)});
  ASSERT_TRUE(testsupport::writeLibrary(dir / "lib.dll", entries));
  const platform::ResourceLibrary library(dir / "lib.dll");

  TCharCodes codes;
  codes.OneCode = "";
  codes.TwoCode = "zt";
  codes.ThreeCode = "zts";
  codes.AllCode = "zts ";
  codes.Text = gbk::fromUtf8("社");
  TForm_Charhelp charhelp(library);
  charhelp.fill(codes);
  EXPECT_EQ(charhelp.windowTitle(), QStringLiteral("汉字编码提示"));
  EXPECT_EQ(charhelp.RzLabel_Char->text(), QStringLiteral("汉字：社"));
  EXPECT_EQ(charhelp.RzLabel_oneChar->text(), QStringLiteral("一级简码：无"));
  EXPECT_EQ(charhelp.RzLabel_twoChar->text(), QStringLiteral("二级简码：ZT"));
  EXPECT_EQ(charhelp.RzLabel_allChar->text(), QStringLiteral("全码：ZTS "));
  // Three letters: three key pictures, the fourth slot empty.
  EXPECT_EQ(charhelp.Image_Key1->pixmap().toImage().pixelColor(5, 5), ui::rgb(0x102030 + 'z'));
  EXPECT_EQ(charhelp.Image_Key3->pixmap().toImage().pixelColor(5, 5), ui::rgb(0x102030 + 's'));
  EXPECT_TRUE(charhelp.Image_Key4->pixmap().isNull());
  // Without a split (a library that holds none) the split line stays empty.
  EXPECT_EQ(charhelp.RzLabel_split->text(), QString());
  codes.Split = gbk::fromUtf8("拆分：礻 土 → Z T，音 S");
  charhelp.fill(codes);
  EXPECT_EQ(charhelp.RzLabel_split->text(), QStringLiteral("拆分：礻 土 → Z T，音 S"));

  TWordCode word;
  word.Code = "idyh";
  word.Text = gbk::fromUtf8("社会");
  TForm_Wordhelp wordhelp(library);
  wordhelp.fill(codes, word);
  EXPECT_EQ(wordhelp.windowTitle(), QStringLiteral("词组编码提示"));
  EXPECT_EQ(wordhelp.RzLabel_Word->text(), QStringLiteral("词：社会"));
  EXPECT_EQ(wordhelp.RzLabel_wordchar->text(), QStringLiteral("编码：IDYH"));
  EXPECT_EQ(wordhelp.RzLabel_Char->text(), QStringLiteral("字：社"));
  EXPECT_EQ(wordhelp.Image_wordkey4->pixmap().toImage().pixelColor(5, 5), ui::rgb(0x102030 + 'h'));
}

// The hint windows as a learner meets them: any key closes the character and
// word hints, their headings blink while shown, and a press on the body of
// a hint or the study tip drags the window.
class HintWindowTest : public TutorFixture {
 protected:
  void SetUp() override { buildAndShow(); }
  struct Hint {
    const char* name;
    std::vector<ui::BlinkLabel*> headings;
  };
  std::vector<Hint> blinkingWindows() const {
    const WindowSet& w = tutor->windows();
    return {{"Form_Charhelp", {w.charhelp->RzLabel_Char}},
            {"Form_Wordhelp", {w.wordhelp->RzLabel_Word, w.wordhelp->RzLabel_Char}},
            {"Form_roothelp", {w.roothelp->RzLabel_Char}}};
  }
  QWidget* window(const char* name) const { return named(&tutor->main(), name); }
};

TEST_F(HintWindowTest, AnyKeyClosesTheCharacterAndWordHints) {
  const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_A,     Qt::Key_Space, Qt::Key_F1,
                          Qt::Key_Return, Qt::Key_Shift, Qt::Key_3};
  for (const char* name : {"Form_Charhelp", "Form_Wordhelp"}) {
    for (const Qt::Key key : keys) {
      QWidget* hint = window(name);
      hint->show();
      QTest::keyClick(hint, key);
      EXPECT_FALSE(hint->isVisible()) << name << " key " << key;
    }
  }
  // The root hint keeps other keys for its text; Esc closes it.
  QWidget* roothelp = window("Form_roothelp");
  roothelp->show();
  QTest::keyClick(roothelp, Qt::Key_A);
  EXPECT_TRUE(roothelp->isVisible());
  QTest::keyClick(roothelp, Qt::Key_Escape);
  EXPECT_FALSE(roothelp->isVisible());
}

TEST_F(HintWindowTest, HeadingsBlinkInBlueOnlyWhileShown) {
  for (const Hint& hint : blinkingWindows()) {
    for (ui::BlinkLabel* heading : hint.headings) {
      EXPECT_FALSE(heading->blinking()) << hint.name;
      window(hint.name)->show();
      EXPECT_TRUE(heading->blinking()) << hint.name;
      EXPECT_EQ(heading->palette().color(QPalette::WindowText), ui::kNavy) << hint.name;
      heading->blink();
      EXPECT_EQ(heading->palette().color(QPalette::WindowText), ui::kBlinkBlue) << hint.name;
      heading->blink();
      EXPECT_EQ(heading->palette().color(QPalette::WindowText), ui::kNavy) << hint.name;
      heading->blink();
      window(hint.name)->hide();
      EXPECT_FALSE(heading->blinking()) << hint.name;
      EXPECT_EQ(heading->palette().color(QPalette::WindowText), ui::kNavy) << hint.name;
    }
  }
}

TEST_F(HintWindowTest, BodyPressDragsHintsAndStudyTip) {
  const WindowSet& w = tutor->windows();
  struct Body {
    QWidget* window;
    QWidget* pressed;
  };
  for (const Body b : {Body{w.charhelp, w.charhelp}, Body{w.charhelp, w.charhelp->RzLabel_Char},
                       Body{w.wordhelp, w.wordhelp->RzBorder_Word},
                       Body{w.wordhelp, w.wordhelp->Image_Key2}, Body{w.tip, w.tip}}) {
    b.window->show();
    const QPoint before = b.window->pos();
    QTest::mousePress(b.pressed, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseMove(b.pressed, QPoint(2, 2) + QPoint(25, 15));
    QTest::mouseRelease(b.pressed, Qt::LeftButton, {}, QPoint(27, 17));
    EXPECT_EQ(b.window->pos(), before + QPoint(25, 15))
        << b.window->objectName().toStdString() << " by " << b.pressed->objectName().toStdString();
    b.window->hide();
  }
}

TEST(TipWindowTest, LoadsTheTipOfItsKindAndKeepsTheOldOneWithoutLibrary) {
  testsupport::TempDir dir;
  ASSERT_TRUE(testsupport::writeLibrary(dir / "lib.dll",
                                        {{"TIPDATA/chartip", gbk::fromUtf8("单字要点\r\n第二行")},
                                         {"TIPDATA/Texttip", gbk::fromUtf8("通用要点")}}));
  TForm_Tip tip{platform::ResourceLibrary(dir / "lib.dll")};
  tip.loadTip(1);
  EXPECT_EQ(tip.windowTitle(), QStringLiteral("单字学习提示"));
  EXPECT_EQ(tip.RzMemo_Tip->toPlainText(), QStringLiteral("单字要点\n第二行"));
  tip.loadTip(3);
  EXPECT_EQ(tip.windowTitle(), QStringLiteral("学习提示"));
  EXPECT_EQ(tip.RzMemo_Tip->toPlainText(), QStringLiteral("通用要点"));

  TForm_Tip orphan{platform::ResourceLibrary(dir / "missing.dll")};
  orphan.loadTip(2);
  EXPECT_EQ(orphan.windowTitle(), QStringLiteral("学习提示"));
  EXPECT_TRUE(orphan.RzMemo_Tip->toPlainText().isEmpty());
}

}  // namespace
}  // namespace quorvel::windowtests
