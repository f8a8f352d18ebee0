// A test copy-typed through the real windows: the test settings dialog,
// code letters and candidate digits as key events, punctuation keys, the
// clock, the coloured entries and the end message that names the learner.
#include <QLCDNumber>
#include <QLineEdit>
#include <QProgressBar>

#include "lookup/LookupServices.h"
#include "platform/Gbk.h"
#include "practice/PracticeFrame.h"
#include "support/FixtureLibrary.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class TextPracticeWindowTest : public TutorFixture {
 protected:
  void SetUp() override {
    library = builtLibrary();
    if (library.empty()) GTEST_SKIP() << "the resource library was not built";
    buildAndShow(library);
  }
  void key(Qt::Key k) { QTest::keyClick(&tutor->main(), k); }

  // Types one GBK character the way a learner does: the letters of a code
  // that lists it, then the digit of its place (a unique four-letter code
  // enters itself).
  void typeCharacter(const std::string& gbkChar) {
    const TCharCodes codes = LookupCharCodes(frame->logic().data(), gbkChar);
    for (std::string code : {codes.OneCode, codes.TwoCode, codes.ThreeCode, codes.AllCode}) {
      while (!code.empty() && code.back() == ' ') code.pop_back();
      if (code.empty()) continue;
      for (char letter : code) key(static_cast<Qt::Key>(Qt::Key_A + (letter - 'a')));
      if (frame->logic().codeBuffer().empty()) return;  // entered by its own code
      const auto& candidates = frame->logic().candidates();
      for (int i = 0; i < 6; ++i) {
        if (candidates[static_cast<std::size_t>(i)] == gbkChar) {
          key(static_cast<Qt::Key>(Qt::Key_1 + i));
          return;
        }
      }
      // Not listed under this code: take its letters back and try a longer one.
      while (!frame->logic().codeBuffer().empty()) key(Qt::Key_Backspace);
    }
    ADD_FAILURE() << "no code lists " << gbk::toUtf8(gbkChar);
  }

  std::filesystem::path library;
};

TEST_F(TextPracticeWindowTest, TestByQuantityTypedWithCodesEndsWithTheLearnersName) {
  // A Linux file: UTF-8, LF line ends, full-width punctuation.
  const std::filesystem::path file = empty / "short.txt";
  ASSERT_TRUE(testsupport::writeFile(file, "你好，世界。\n我们学习。\n"));
  {
    ModalAnswer answer([&file](QWidget* modal) {
      auto* settings = qobject_cast<TForm_ExamSet*>(modal);
      ASSERT_NE(settings, nullptr);
      settings->RzEdit_Name->setText(QStringLiteral("小明"));
      settings->pickFile(QString::fromStdString(file.string()));
      QTest::mouseClick(settings->RzLabel_OK, Qt::LeftButton);
    });
    child<QAction>("MenuItem_SizeExam")->trigger();
    ASSERT_EQ(answer.seen(), QStringLiteral("Form_ExamSet"));
  }
  ASSERT_TRUE(frame->logic().practising());
  EXPECT_EQ(trainName(), QStringLiteral("当前练习：定量测验"));
  auto* clock = child<QLCDNumber>("RzLEDDisplay_Exam");
  EXPECT_TRUE(clock->isVisible());
  EXPECT_EQ(clock->accessibleName(), QStringLiteral("0:00:00"));
  // The first line's cells, the row-end marker after them, the second line below.
  EXPECT_EQ(frame->cellLabel(cellIndex(0, 0))->text(), QStringLiteral("你"));
  EXPECT_EQ(frame->cellLabel(cellIndex(5, 0))->text(), QStringLiteral("。"));
  EXPECT_EQ(frame->cellLabel(cellIndex(0, 2))->text(), QStringLiteral("我"));

  const QString typed = QStringLiteral("你好，世界。我们学习。");
  for (const QChar c : typed) {
    if (!frame->logic().practising()) break;
    if (c == QChar(0xFF0C))
      key(Qt::Key_Comma);
    else if (c == QChar(0x3002))
      key(Qt::Key_Period);
    else
      typeCharacter(gbk::fromUtf8(QString(c).toStdString()));
  }
  EXPECT_FALSE(frame->logic().practising());
  // Every entry right: light blue under its cell.
  const QColor right = ui::rgb(colour::Right);
  EXPECT_EQ(frame->cellLabel(cellIndex(1, 1))->palette().color(QPalette::Window), right);
  EXPECT_EQ(frame->cellLabel(cellIndex(2, 3))->palette().color(QPalette::Window), right);
  const QString end = wordplace();
  EXPECT_TRUE(end.startsWith(QStringLiteral("练习结束!小明 打字速率："))) << end.toStdString();
  EXPECT_TRUE(end.endsWith(QStringLiteral("字/分钟正确率：100%"))) << end.toStdString();
  EXPECT_EQ(child<QProgressBar>("RzProgressBar_right")->value(), 100);
}

}  // namespace
}  // namespace quorvel::windowtests
