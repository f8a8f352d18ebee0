// The progress window, opened with F9 on a tutor whose history holds a
// given-up root drill and a character run.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include "app/TForm_Main.h"
#include "drills/RootDrill.h"
#include "history/HistoryStore.h"
#include "history/windows/ProgressCharts.h"
#include "history/windows/TForm_Progress.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class ProgressWindowTest : public TutorFixture {};

TEST_F(ProgressWindowTest, F9OpensItOnTheRecordedRuns) {
  if (builtLibrary().empty()) GTEST_SKIP() << "no built resource library";
  buildAndShow(builtLibrary());
  history::HistoryStore* store = tutor->main().history();
  ASSERT_NE(store, nullptr);
  store->clear();  // the window tests of one process share their folders
  EXPECT_EQ(tutor->main().progressWindow(), nullptr) << "made when first asked for";

  PracticeFrame& logic = frame->logic();
  logic.selectKind(pkRoot);
  ASSERT_TRUE(logic.practising());
  auto& root = *logic.kindAs<RootDrill>(pkRoot);
  const char expected = static_cast<char>(root.cells()[0].expected);
  const char wrong = expected == 'Q' ? 'W' : 'Q';
  QTest::keyClick(frame, static_cast<Qt::Key>(Qt::Key_A + (wrong - 'A')));
  QTest::keyClick(frame, static_cast<Qt::Key>(Qt::Key_A + (root.cells()[1].expected - 'A')));
  logic.selectMenuTag(0);  // the root run is given up

  QTest::keyClick(&tutor->main(), Qt::Key_F9);
  TForm_Progress* progress = tutor->main().progressWindow();
  ASSERT_NE(progress, nullptr);
  EXPECT_TRUE(progress->isVisible());
  EXPECT_TRUE(progress->totals()->text().startsWith(QStringLiteral("共练习 1 次")))
      << progress->totals()->text().toStdString();
  EXPECT_EQ(progress->kinds()->currentText(), QStringLiteral("字根练习（1 次）"));
  EXPECT_EQ(progress->chart()->pointCount(), 1);
  EXPECT_TRUE(progress->chart()->summary().contains(QStringLiteral("正确率 50%")));
  EXPECT_EQ(progress->weakRoots()->rowCount(), 1) << "at first every miss is listed";
  named<QSpinBox>(progress, "SpinBox_minTries")->setValue(2);
  EXPECT_EQ(progress->weakRoots()->rowCount(), 0) << "one try is below the two asked for";
  const QString key = QString(QLatin1Char(expected));
  EXPECT_TRUE(progress->heatMap()->key(expected)->accessibleName().startsWith(
      key + QStringLiteral(" 键：正确率")))
      << progress->heatMap()->key(expected)->accessibleName().toStdString();
  ASSERT_EQ(progress->confusions()->rowCount(), 1);
  EXPECT_EQ(progress->confusions()->item(0, 1)->text(), QString(QLatin1Char(wrong)));
  EXPECT_TRUE(
      progress->confusions()->item(0, 0)->text().endsWith(QStringLiteral("（%1）").arg(key)));
  EXPECT_EQ(progress->message()->text(),
            QStringLiteral("正在进行的一级简码结束或换别的练习后才记入这里。"));

  // No word was missed: the weak-word drill says so and the run goes on.
  QTest::mouseClick(progress->findChild<QPushButton*>("Button_practiseWords"), Qt::LeftButton);
  EXPECT_EQ(logic.practiceKind(), pkOnechar);
  EXPECT_TRUE(logic.practising());
  EXPECT_EQ(frame->findChild<QLabel*>("RzLabel_wordplace")->text(),
            QStringLiteral("☆还没有打错过的词组：先做几次词组练习吧！☆"));
  progress->close();
}

}  // namespace
}  // namespace quorvel::windowtests
