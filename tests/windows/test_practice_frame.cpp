// The practice frame driven through its real controls and real key events:
// choosing each of the eighteen kinds, the file chooser of the comparison
// practice, the text splitter under ESC, and a whole run typed with codes.
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSplitter>
#include <QTextEdit>
#include <fstream>

#include "app/HelpViewer.h"
#include "app/WindowSet.h"
#include "drills/CharWordDrill.h"
#include "lookup/LookupServices.h"
#include "platform/Gbk.h"
#include "support/FixtureLibrary.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class PracticeFrameWindowTest : public TutorFixture {
 protected:
  void SetUp() override {
    library = builtLibrary();
    buildAndShow(library);
  }
  // A practice text file for the comparison practice and the tests.
  std::filesystem::path practiceFile() {
    const std::filesystem::path file = empty / "practice.txt";
    testsupport::writeFile(file, gbk::fromUtf8("练习文本第一行\r\n第二行"));
    return file;
  }

  // Types every item of the running level-1 drill with its code and the
  // digit of its candidate; the number of items typed.
  int typeTheWholeRun() {
    auto* drill = static_cast<CharWordDrill*>(frame->logic().kind(pkOnechar));
    const std::string sequence = drill->sequenceText();
    int typedItems = 0;
    while (frame->logic().practising() && typedItems < 1000) {
      const std::string item = sequence.substr(static_cast<std::size_t>(drill->offset()), 2);
      const TCharCodes codes = LookupCharCodes(frame->logic().data(), item);
      std::string code = codes.OneCode.empty() ? codes.AllCode : codes.OneCode;
      while (!code.empty() && code.back() == ' ') code.pop_back();
      if (code.empty()) break;
      for (char letter : code)
        QTest::keyClick(&tutor->main(), static_cast<Qt::Key>(Qt::Key_A + (letter - 'a')));
      // The code line shows the letters in upper case and the candidates.
      EXPECT_EQ(text(child<QLabel>("RzLabel_keyplace")).toLower(), QString::fromStdString(code));
      int choice = -1;
      for (int i = 0; i < 6; ++i)
        if (frame->logic().candidates()[static_cast<std::size_t>(i)] == item) choice = i;
      if (choice < 0) break;
      QTest::keyClick(&tutor->main(), static_cast<Qt::Key>(Qt::Key_1 + choice));
      ++typedItems;
    }
    return typedItems;
  }

  std::filesystem::path library;
};

// What the frame shows after a kind was asked for: its name, or the logic's
// refusal when its data is absent.
void expectStartedOrRefused(TFrame_Veduzir* frame, int kind, const QString& name,
                            const QString& train, const QString& message) {
  if (frame->logic().canStartKind(kind)) {
    EXPECT_EQ(frame->logic().practiceKind(), kind);
    EXPECT_TRUE(frame->logic().practising());
    EXPECT_EQ(train, QStringLiteral("当前练习：") + name) << kind;
  } else {
    EXPECT_EQ(message, QStringLiteral("☆该练习的数据缺失，无法开始！☆")) << kind;
  }
}

TEST_F(PracticeFrameWindowTest, EveryCharacterAndWordKindStartsFromItsMenuItem) {
  struct Item {
    const char* action;
    int kind;
    const char* name;
  };
  const Item items[] = {
      {"MenuItem_onechar_all", 2, "一级简码"},
      {"MenuItem_Onechar_sel", 2, "一级简码"},
      {"MenuItem_twochar_all", 3, "二级简码"},
      {"MenuItem_threechar_all", 4, "三级简码"},
      {"MenuItem_allchar_all", 5, "完整编码"},
      {"MenuItem_Twochar_sel", 6, "优选二级简码"},
      {"MenuItem_threechar_sel", 7, "优选三级简码"},
      {"MenuItem_allchar_sel", 8, "优选完整编码"},
      {"MenuItem_Keyname_sel", 9, "键名汉字"},
      {"MenuItem_code_sel", 10, "码元汉字"},
      {"MenuItem_hard_sel", 11, "难字特选"},
      {"MenuItem_word2", 12, "二字词组"},
      {"MenuItem_word3", 13, "三字词组"},
      {"MenuItem_word4", 14, "四字词组"},
      {"MenuItem_wordm", 15, "多字词组"},
  };
  for (const Item& item : items) {
    auto* action = child<QAction>(item.action);
    ASSERT_NE(action, nullptr) << item.action;
    child<QLabel>("RzLabel_wordplace")->clear();
    action->trigger();
    expectStartedOrRefused(frame, item.kind, QString::fromUtf8(item.name), trainName(),
                           wordplace());
    if (frame->logic().canStartKind(item.kind)) {
      EXPECT_EQ(text(child<QLabel>("RzLabel_PagesInfo")),
                QStringLiteral("练习区：当前查看页是第1页，练习页是第1页。"));
      // The practice area fills the frame, and the first item is marked.
      EXPECT_EQ(child<QSplitter>("RzSplitter_Text")->sizes().value(0), 0);
      EXPECT_EQ(frame->cellLabel(1)->text(), QStringLiteral("↑")) << item.action;
      EXPECT_FALSE(frame->cellLabel(0)->text().isEmpty()) << item.action;
    }
  }
  if (!library.empty()) {
    for (const Item& item : items) {
      EXPECT_TRUE(frame->logic().canStartKind(item.kind)) << item.kind;
    }
  }
}

TEST_F(PracticeFrameWindowTest, F1ShowsTheSplitOfTheCurrentCharacterWithTheKeysOfItsCode) {
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  child<QAction>("MenuItem_allchar_all")->trigger();
  ASSERT_TRUE(frame->logic().practising());
  QString split, code;
  ModalAnswer answer([&](QWidget* hint) {
    split = text(named<QLabel>(hint, "RzLabel_split"));
    code = text(named<QLabel>(hint, "RzLabel_allChar"));
  });
  QTest::keyClick(&tutor->main(), Qt::Key_F1);
  EXPECT_EQ(answer.seen(), QStringLiteral("Form_Charhelp"));
  // "拆分：氵 几 口 → V U K，音 Y" spells the full code "全码：VUKY".
  ASSERT_TRUE(split.startsWith(QStringLiteral("拆分："))) << split.toStdString();
  const QString keys = split.section(QStringLiteral("→"), 1).remove(QStringLiteral("，音"));
  EXPECT_EQ(keys.simplified().remove(QLatin1Char(' ')),
            code.section(QStringLiteral("："), 1).trimmed())
      << split.toStdString();
}

TEST_F(PracticeFrameWindowTest, MenusHoldTheirItemsWithTags) {
  auto* charMenu = child<QMenu>("PopupMenu_Char");
  ASSERT_NE(charMenu, nullptr);
  const QList<QAction*> top = charMenu->actions();
  ASSERT_EQ(top.size(), 3);
  EXPECT_EQ(top[0]->text(), QStringLiteral("优选练习"));
  EXPECT_EQ(top[1]->text(), QStringLiteral("全面练习"));
  EXPECT_EQ(top[2]->text(), QStringLiteral("薄弱练习"));
  QStringList preferred;
  for (QAction* a : top[0]->menu()->actions()) preferred << a->text();
  EXPECT_EQ(preferred, QStringList({"一级简码", "二级简码", "三级简码", "完整编码", "键名汉字",
                                    "码元汉字", "难字特选"}));
  QStringList all;
  for (QAction* a : top[1]->menu()->actions()) all << a->text();
  EXPECT_EQ(all, QStringList({"一级简码", "二级简码", "三级简码", "完整编码"}));
  QStringList weak;
  for (QAction* a : top[2]->menu()->actions()) weak << a->text();
  EXPECT_EQ(weak, QStringList({"薄弱汉字", "薄弱字根", "薄弱词组"}));
  QStringList words;
  for (QAction* a : child<QMenu>("PopupMenu_word")->actions()) words << a->text();
  EXPECT_EQ(words, QStringList({"二字词组", "三字词组", "四字词组", "多字词组"}));
  EXPECT_EQ(child<QAction>("MenuItem_TimeExam")->property("tag").toInt(), 8);
  EXPECT_EQ(child<QAction>("MenuItem_SizeExam")->property("tag").toInt(), 9);
  EXPECT_EQ(child<QAction>("MenuItem_hard_sel")->property("tag").toInt(), 66);
  EXPECT_EQ(child<QAction>("MenuItem_Onechar_sel")->property("tag").toInt(), 0);
}

TEST_F(PracticeFrameWindowTest, RootInputCompareAndTestStartFromTheirButtons) {
  QTest::mouseClick(child("RzToolbarButton_root"), Qt::LeftButton);
  expectStartedOrRefused(frame, 1, QStringLiteral("字根练习"), trainName(), wordplace());
  // The picture grid shows exactly while the logic asks for it.
  EXPECT_EQ(child("StringGrid_typer")->isVisible(), frame->logic().view().picture.visible);
  EXPECT_EQ(frame->cellLabel(0)->isVisible(), !frame->logic().view().picture.visible);

  QTest::mouseClick(child("RzToolbarButton_input"), Qt::LeftButton);
  EXPECT_EQ(frame->logic().practiceKind(), 17);
  EXPECT_EQ(trainName(), QStringLiteral("当前练习：录入练习"));
  EXPECT_FALSE(child("StringGrid_typer")->isVisible());

  const std::filesystem::path file = practiceFile();
  {
    ModalAnswer answer([&file](QWidget* modal) {
      auto* chooser = qobject_cast<TForm_Selfile*>(modal);
      ASSERT_NE(chooser, nullptr);
      chooser->pickFile(QString::fromStdString(file.string()));
      EXPECT_TRUE(
          chooser->RzMemo_PreView->toPlainText().startsWith(QStringLiteral("练习文本第一行")));
      QTest::mouseClick(chooser->RzLabel_Ok, Qt::LeftButton);
    });
    QTest::mouseClick(child("RzToolbarButton_compare"), Qt::LeftButton);
    EXPECT_EQ(answer.seen(), QStringLiteral("Form_Selfile"));
  }
  EXPECT_EQ(frame->logic().practiceKind(), 16);
  EXPECT_EQ(trainName(), QStringLiteral("当前练习：对照练习"));
  // The chosen file is what the side pane shows.
  EXPECT_TRUE(frame->express()->toPlainText().startsWith(QStringLiteral("练习文本第一行")));

  const std::pair<const char*, QString> tests[] = {
      {"MenuItem_TimeExam", QStringLiteral("当前练习：定时测验")},
      {"MenuItem_SizeExam", QStringLiteral("当前练习：定量测验")}};
  for (const auto& [item, shown] : tests) {
    ModalAnswer answer([&file](QWidget* modal) {
      auto* settings = qobject_cast<TForm_ExamSet*>(modal);
      ASSERT_NE(settings, nullptr);
      QTest::keyClicks(settings->RzEdit_Name, QStringLiteral("tester"));
      settings->pickFile(QString::fromStdString(file.string()));
      QTest::mouseClick(settings->RzLabel_OK, Qt::LeftButton);
    });
    child<QAction>(item)->trigger();
    EXPECT_EQ(answer.seen(), QStringLiteral("Form_ExamSet"));
    EXPECT_EQ(frame->logic().practiceKind(), 18);
    EXPECT_EQ(trainName(), shown);
  }
}

// The chooser's offer reaches the practice: a traditional text chosen in
// simplified characters is typed in them.
TEST_F(PracticeFrameWindowTest, ATraditionalTextChosenInSimplifiedIsPractisedSo) {
  const std::filesystem::path file = empty / "traditional.txt";
  testsupport::writeFile(file, "學而時習之");
  for (const bool simplified : {true, false}) {
    ModalAnswer answer([&](QWidget* modal) {
      auto* chooser = qobject_cast<TForm_Selfile*>(modal);
      ASSERT_NE(chooser, nullptr);
      chooser->pickFile(QString::fromStdString(file.string()));
      chooser->CheckBox_Simplified->setChecked(simplified);
      QTest::mouseClick(chooser->RzLabel_Ok, Qt::LeftButton);
    });
    QTest::mouseClick(child("RzToolbarButton_compare"), Qt::LeftButton);
    ASSERT_EQ(frame->logic().practiceKind(), 16);
    EXPECT_EQ(frame->express()->toPlainText(),
              simplified ? QStringLiteral("学而时习之") : QStringLiteral("學而時習之"));
    EXPECT_EQ(gbk::toUtf8(frame->logic().view().cells[0].text), simplified ? "学" : "學");
  }
}

TEST_F(PracticeFrameWindowTest, RootPicturesLetTheCurrentCellsGreenShowThrough) {
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  QTest::mouseClick(child("RzToolbarButton_root"), Qt::LeftButton);
  ASSERT_EQ(frame->logic().practiceKind(), pkRoot);
  QWidget* grid = child("StringGrid_typer");
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(grid->isVisible());
  // Cell 0 is current. Inside its picture (16 x 16 at left + 1, top + 2) most
  // pixels are the root's white background, which must show the cell's green.
  const QImage image = grid->grab().toImage();
  const QColor green(0xB5, 0xF3, 0xAD);
  int greenInside = 0;
  for (int y = 2; y < 18; ++y)
    for (int x = 1; x < 17; ++x)
      if (image.pixelColor(x, y) == green) ++greenInside;
  EXPECT_GT(greenInside, 16 * 16 / 2);
}

TEST_F(PracticeFrameWindowTest, CancelledFileChoiceLeavesThePracticeAsItWas) {
  QTest::mouseClick(child("RzToolbarButton_input"), Qt::LeftButton);
  ASSERT_EQ(frame->logic().practiceKind(), 17);
  {
    ModalAnswer answer([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QTest::mouseClick(child("RzToolbarButton_compare"), Qt::LeftButton);
    EXPECT_EQ(answer.seen(), QStringLiteral("Form_Selfile"));
  }
  EXPECT_EQ(frame->logic().practiceKind(), 17);
  EXPECT_EQ(trainName(), QStringLiteral("当前练习：录入练习"));
  // OK with no file ever picked counts as a cancel too.
  {
    ModalAnswer answer([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
    QTest::mouseClick(child("RzToolbarButton_compare"), Qt::LeftButton);
  }
  EXPECT_EQ(frame->logic().practiceKind(), 17);
  // A test dialog cancelled starts no test.
  {
    ModalAnswer answer([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    child<QAction>("MenuItem_SizeExam")->trigger();
  }
  EXPECT_EQ(frame->logic().practiceKind(), 17);
}

TEST_F(PracticeFrameWindowTest, EscapeTogglesBetweenSelectionAndPracticeArea) {
  auto* splitter = child<QSplitter>("RzSplitter_Text");
  // At first the selection side takes nearly everything.
  EXPECT_GT(splitter->sizes().value(0), splitter->sizes().value(1));
  QTest::mouseClick(child("RzToolbarButton_input"), Qt::LeftButton);
  EXPECT_EQ(splitter->sizes().value(0), 0);
  EXPECT_GT(splitter->sizes().value(1), 0);
  QTest::keyClick(&tutor->main(), Qt::Key_Escape);
  EXPECT_GT(splitter->sizes().value(0), 0);
  QTest::keyClick(&tutor->main(), Qt::Key_Escape);
  EXPECT_EQ(splitter->sizes().value(0), 0);
}

TEST_F(PracticeFrameWindowTest, LetterModeFollowsF6AndTheCheckBox) {
  auto* box = child<QCheckBox>("RzCheckBox_alf");
  QTest::mouseClick(child("RzToolbarButton_input"), Qt::LeftButton);
  QTest::keyClick(&tutor->main(), Qt::Key_F6);
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(frame->logic().view().letterMode);
  box->click();
  EXPECT_FALSE(frame->logic().view().letterMode);
  EXPECT_TRUE(frame->express()->hasFocus() || !QApplication::focusWindow());
}

TEST_F(PracticeFrameWindowTest, HintButtonWithoutPracticeComplains) {
  QTest::mouseClick(child("RzToolbarButton_fastHelp"), Qt::LeftButton);
  EXPECT_EQ(wordplace(), QStringLiteral("●没有选择练习！●"));
}

TEST_F(PracticeFrameWindowTest, WholeRunTypedWithCodesAndDigitsEndsWithTheScore) {
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  child<QAction>("MenuItem_onechar_all")->trigger();
  ASSERT_TRUE(frame->logic().practising());
  auto* drill = static_cast<CharWordDrill*>(frame->logic().kind(pkOnechar));
  const int typedItems = typeTheWholeRun();
  EXPECT_EQ(typedItems, drill->params().drawn);
  EXPECT_TRUE(wordplace().startsWith(QStringLiteral("练习结束! 打字速率：")))
      << wordplace().toStdString();
  EXPECT_TRUE(wordplace().endsWith(QStringLiteral("正确率：100%"))) << wordplace().toStdString();
  EXPECT_EQ(child<QProgressBar>("RzProgressBar_right")->value(), 100);
}

// A whole session as a learner has it, the run the sanitizer build watches
// for leaks and memory errors: a drill to its end, every window opened, quit.
TEST_F(PracticeFrameWindowTest, AWholeSessionOpensEveryWindowAndQuits) {
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  child<QAction>("MenuItem_onechar_all")->trigger();
  ASSERT_TRUE(frame->logic().practising());
  typeTheWholeRun();
  EXPECT_FALSE(frame->logic().practising());

  for (const char* name :
       {"Form_RootTip", "Form_Selfile", "Form_ExamSet", "Form_detailhelp", "Form_Charhelp",
        "Form_Wordhelp", "Form_Set", "Form_roothelp", "Form_Tip", "Form_rootMap", "Form_About"}) {
    QWidget* window = child(name);
    ASSERT_NE(window, nullptr) << name;
    window->show();
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible()) << name;
    window->close();
  }
  const WindowSet& w = tutor->windows();
  w.help->openContext(10001);
  QApplication::processEvents();
  w.help->close();

  EXPECT_TRUE(tutor->main().close());
  tutor.reset();
}

}  // namespace
}  // namespace quorvel::windowtests
