// The learning-path window: a fresh learner opens it, F7 starts a session of
// the first stage, the session typed to its end is in the history and the
// window comes back saying what changed.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <set>

#include "app/TForm_Main.h"
#include "drills/RootDrill.h"
#include "history/HistoryStore.h"
#include "path/windows/TForm_Path.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class PathWindowTest : public TutorFixture {};

TEST_F(PathWindowTest, ASessionStartedFromTheWindowIsRecordedAndSummed) {
  if (builtLibrary().empty()) GTEST_SKIP() << "no built resource library";
  buildAndShow(builtLibrary());
  history::HistoryStore* store = tutor->main().history();
  ASSERT_NE(store, nullptr);
  store->clear();  // the window tests of one process share their folders

  tutor->main().RzToolbarButton_pathClick();
  TForm_Path* window = tutor->main().pathWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(window->standing().current, 0);
  EXPECT_TRUE(window->current()->text().contains(QStringLiteral("已掌握 0 / 练过 0 / 共 38")))
      << window->current()->text().toStdString();
  EXPECT_EQ(window->stages()->item(0, 1)->text(), QStringLiteral("正在学"));
  EXPECT_EQ(window->stages()->item(1, 1)->text(), QStringLiteral("未开放"));

  // The button starts the session in the frame, which takes the keys.
  QTest::mouseClick(window->nextButton(), Qt::LeftButton);
  PracticeFrame& logic = frame->logic();
  ASSERT_TRUE(logic.practising());
  ASSERT_EQ(logic.practiceKind(), pkPathRoot);
  auto& drill = *logic.kindAs<RootDrill>(pkPathRoot);
  const std::size_t entries = logic.plan().items.size();
  ASSERT_GT(entries, 20u);
  for (std::size_t i = 0; i < entries; ++i)
    QTest::keyClick(frame, static_cast<Qt::Key>(Qt::Key_A + (drill.cells()[i].expected - 'A')));
  EXPECT_FALSE(logic.practising());

  const auto runs = store->labelledRuns();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].label, "path:roots-home-left");
  EXPECT_EQ(runs[0].accuracy, 100);
  EXPECT_TRUE(runs[0].finished);
  // Back in the window: every root of the session has been typed three times
  // or more, right; the offscreen test types faster than any target.
  EXPECT_TRUE(window->isVisible());
  ASSERT_TRUE(window->summary()->isVisible());
  const std::set<std::string> distinct(logic.plan().items.begin(), logic.plan().items.end());
  EXPECT_EQ(window->stages()->item(0, 3)->text(), QString::number(distinct.size()));
  EXPECT_EQ(window->standing().stages[0].mastered, static_cast<int>(distinct.size()));
  EXPECT_TRUE(window->summary()->text().startsWith(
      QStringLiteral("这一课新掌握 %1 项").arg(distinct.size())))
      << window->summary()->text().toStdString();

  // F7 in the main window goes straight on with the next session.
  QTest::keyClick(&tutor->main(), Qt::Key_F7);
  EXPECT_TRUE(logic.practising());
  EXPECT_EQ(logic.practiceKind(), pkPathRoot);
  window->close();
}

}  // namespace
}  // namespace quorvel::windowtests
