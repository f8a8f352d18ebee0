// The progress window, opened with F9 on a tutor whose history holds a
// given-up root drill and a character run, and on a history of timed entries.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <chrono>
#include <filesystem>

#include "app/TForm_Main.h"
#include "data/PracticeData.h"
#include "drills/RootDrill.h"
#include "history/HistoryStore.h"
#include "history/windows/ProgressCharts.h"
#include "history/windows/TForm_Progress.h"
#include "platform/Gbk.h"
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

// Where the history cannot be written, the window promises no recording of
// the run going on, and says why above its figures.
TEST_F(ProgressWindowTest, AHistoryThatCannotBeWrittenIsNotPromisedTheRun) {
  if (builtLibrary().empty()) GTEST_SKIP() << "no built resource library";
  testsupport::TempDir data;
  std::filesystem::create_directories(data / "quorvel" / "history.sqlite3");  // a folder there
  testsupport::ScopedEnv env("XDG_DATA_HOME", data.path().string());
  buildAndShow(builtLibrary());
  frame->logic().selectKind(pkRoot);
  ASSERT_TRUE(frame->logic().practising());
  QTest::keyClick(&tutor->main(), Qt::Key_F9);
  TForm_Progress* progress = tutor->main().progressWindow();
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->message()->text(),
            QStringLiteral("正在进行的字根练习不会记入练习记录：练习记录现在无法写入。"));
  EXPECT_TRUE(progress->notice()->isVisible());
  EXPECT_FALSE(progress->notice()->text().isEmpty());
  progress->close();
}

// A key's speed comes from the mean time of its roots' timed entries, each
// root weighed by how many of its entries were timed; right but slow items
// are listed with their mean time.
TEST(ProgressWindowTimes, KeySpeedsAndSlowItemsComeFromTheEntryTimes) {
  using history::ItemClass;
  const char key = rootKey(0);
  ASSERT_EQ(rootKey(1), key);
  int other = 2;
  while (rootKey(other) == key) ++other;
  const std::string pressed(1, key);
  // Root 0 twice in 1 s, root 1 once in 4 s and once untimed: 6 s over three
  // timed entries, 2 s a key or 30 a minute (the mean of the two roots' means
  // would give 24). Root `other` came untimed only.
  history::RunRecord roots;
  roots.kind = pkRoot;
  roots.entries = {
      {ItemClass::Root, "0", pressed, true, 1000},
      {ItemClass::Root, "0", pressed, true, 1000},
      {ItemClass::Root, "1", pressed, true, 4000},
      {ItemClass::Root, "1", pressed, true, -1},
      {ItemClass::Root, std::to_string(other), std::string(1, rootKey(other)), true, -1}};
  const auto now = std::chrono::system_clock::now();
  history::setRunFigures(roots, now - std::chrono::minutes(2), 5, 5, 60);
  roots.ended = now - std::chrono::minutes(1);
  history::RunRecord chars;
  chars.kind = pkOnechar;
  const std::string wo = gbk::fromUtf8("我");
  chars.entries = {{ItemClass::Character, wo, wo, true, 3500}};
  history::setRunFigures(chars, now - std::chrono::minutes(1), 1, 1, 60);
  chars.ended = now;

  testsupport::TempDir dir;
  history::HistoryStore store(dir / "history.sqlite3");
  store.record(roots);
  store.record(chars);
  ASSERT_EQ(store.waitingRuns(), 0u);
  const PracticeData data;
  TForm_Progress progress(store, data);
  progress.showProgress();

  const struct {
    char letter;
    QString shown, spoken;
  } keys[] = {{key, QStringLiteral("30/分"), QStringLiteral("每分钟 30 键")},
              {rootKey(other), QStringLiteral("—"), QStringLiteral("没有计时")}};
  for (const auto& k : keys) {
    const QLabel* label = progress.heatMap()->key(k.letter);
    EXPECT_TRUE(label->text().endsWith(QLatin1Char('\n') + k.shown)) << label->text().toStdString();
    EXPECT_TRUE(label->accessibleName().contains(k.spoken))
        << label->accessibleName().toStdString();
  }

  // Right every time, but slower than their class allows.
  const struct {
    QTableWidget* table;
    QString item, time;
  } slow[] = {{progress.weakRoots(), QStringLiteral("2"), QStringLiteral("4.0 秒")},
              {progress.weakChars(), QStringLiteral("我"), QStringLiteral("3.5 秒")}};
  for (const auto& s : slow) {
    SCOPED_TRACE(s.table->objectName().toStdString());
    ASSERT_EQ(s.table->rowCount(), 1) << "the quick and the untimed are not weak";
    EXPECT_EQ(s.table->item(0, 0)->text(), s.item);
    int timeColumn = 0;
    while (timeColumn < s.table->columnCount() &&
           s.table->horizontalHeaderItem(timeColumn)->text() != QStringLiteral("用时"))
      ++timeColumn;
    ASSERT_LT(timeColumn, s.table->columnCount());
    EXPECT_EQ(s.table->item(0, timeColumn)->text(), s.time);
  }
}

// Tests by quantity and timed tests share a kind but are listed and charted
// apart, under the names the menu gives them; the one taken last is shown.
TEST(ProgressWindowSeries, ATestByQuantityHasItsOwnChart) {
  testsupport::TempDir dir;
  history::HistoryStore store(dir / "history.sqlite3");
  for (const auto& [label, ended] :
       {std::pair{std::string(), 100}, {std::string(kSizedExamLabel), 200}}) {
    history::RunRecord run;
    run.kind = pkExam;
    run.label = label;
    run.ended = platform::TimePoint{} + std::chrono::seconds(ended);
    run.started = run.ended - std::chrono::seconds(60);
    run.items = run.right = run.speed = 30;
    run.accuracy = 100;
    run.finished = true;
    store.record(run);
  }
  const PracticeData data;
  TForm_Progress progress(store, data);
  progress.showProgress();
  QStringList names;
  for (int i = 0; i < progress.kinds()->count(); ++i) names << progress.kinds()->itemText(i);
  EXPECT_EQ(names,
            (QStringList{QStringLiteral("定时测验（1 次）"), QStringLiteral("定量测验（1 次）")}));
  EXPECT_EQ(progress.kinds()->currentText(), QStringLiteral("定量测验（1 次）"));
  EXPECT_EQ(progress.chart()->pointCount(), 1);
}

// A history that cannot be read says why in the window itself, is not shown
// as "0 runs", and exports nothing rather than a header passed off as a history.
TEST(ProgressWindowTrouble, AnUnreadableHistorySaysWhyAndExportsNothing) {
  testsupport::TempDir dir;
  std::filesystem::create_directories(dir / "history.sqlite3");  // a folder in its place
  history::HistoryStore store(dir / "history.sqlite3");
  const PracticeData data;
  TForm_Progress progress(store, data);
  progress.resize(420, 400);  // narrow: the messages must wrap, not be cut off
  progress.setSaveDialog([&dir](QWidget*, const QString&) {
    return QString::fromStdString((dir / "out.csv").string());
  });
  progress.showProgress();
  EXPECT_TRUE(progress.notice()->isVisible());
  EXPECT_TRUE(progress.notice()->text().startsWith(QStringLiteral("练习记录打不开")))
      << progress.notice()->text().toStdString();
  EXPECT_FALSE(progress.totals()->text().contains(QStringLiteral("共练习 0 次")));
  EXPECT_FALSE(progress.chart()->summary().contains(QStringLiteral("还没有记录")))
      << "not an empty history: an unreadable one";
  EXPECT_FALSE(progress.clearButton()->isEnabled()) << "nothing there can be cleared";
  progress.exportCsv();
  EXPECT_FALSE(std::filesystem::exists(dir / "out.csv"));
  EXPECT_TRUE(progress.message()->text().startsWith(QStringLiteral("没有导出")))
      << progress.message()->text().toStdString();
  for (const QLabel* label : {progress.notice(), progress.message()}) {
    EXPECT_TRUE(label->wordWrap());
    EXPECT_LE(label->geometry().right(), progress.width()) << "inside the window";
  }
}

}  // namespace
}  // namespace quorvel::windowtests
