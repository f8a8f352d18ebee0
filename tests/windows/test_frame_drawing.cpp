// How the frame draws: the start-up order with its splash, the root drill's
// picture grid, the bottom bar's layout, the text splitter's hot spot and
// the read-only text pane behind the main window's key preview.
#include <QCheckBox>
#include <QLCDNumber>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTextBlock>
#include <QTextEdit>

#include "app/TForm_Flash.h"
#include "platform/Gbk.h"
#include "practice/windows/FrameParts.h"
#include "support/FixtureLibrary.h"
#include "ui/Widgets.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

QColor rgbColour(std::uint32_t value) { return ui::rgb(value); }

TEST(StartUpTest, WindowsAreCreatedInOrderRepaintingTheSplashBetween) {
  testsupport::TempDir empty;
  std::vector<std::vector<bool>> seen;
  Tutor* building = nullptr;
  // The callback cannot reach the tutor before its constructor returns, so
  // the main window is found among the top-level widgets.
  auto snapshot = [&seen, &building] {
    (void)building;
    TForm_Main* main = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* m = qobject_cast<TForm_Main*>(w)) main = m;
    ASSERT_NE(main, nullptr);
    const WindowSet& s = main->windows();
    seen.push_back({s.rootMap != nullptr, s.about != nullptr, s.rootTip != nullptr,
                    s.selfile != nullptr, s.examSet != nullptr, s.detailhelp != nullptr,
                    s.charhelp != nullptr, s.wordhelp != nullptr, s.settings != nullptr,
                    s.roothelp != nullptr, s.tip != nullptr});
  };
  Tutor tutor(environmentWith({}, empty.path()), snapshot);
  // Main window, root tip, chooser, test settings, lookup, character hint,
  // word hint, then settings + root hint + study tip before the last repaint.
  ASSERT_EQ(seen.size(), 8u);
  auto created = [](const std::vector<bool>& row) {
    return std::count(row.begin(), row.end(), true);
  };
  const long expected[] = {2, 3, 4, 5, 6, 7, 8, 11};
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(created(seen[i]), expected[i]) << i;
  // The root table and About window come with the main window itself.
  EXPECT_TRUE(seen[0][0] && seen[0][1]);
}

TEST(StartUpTest, SplashShowsTheTextureOnlyWhenTheLibraryHasIt) {
  testsupport::TempDir empty;
  TForm_Flash without{platform::ResourceLibrary(empty / "missing.dll")};
  EXPECT_FALSE(without.hasTexture());
  EXPECT_EQ(without.size(), QSize(269, 160));
  const QImage plain = without.grab().toImage();
  // Without a texture the body is the form grey.
  EXPECT_EQ(plain.pixelColor(130, 80 + 70), ui::kFormColour);
  const std::filesystem::path library = builtLibrary();
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  TForm_Flash with{platform::ResourceLibrary(library)};
  EXPECT_TRUE(with.hasTexture());
}

class PictureGridTest : public ::testing::Test {
 protected:
  PictureGridTest() {
    grid.resize(26 * 22, 10 * 20);
    roots.resize(kRootCount);
    for (int i = 0; i < kRootCount; ++i) {
      QPixmap p(16, 16);
      p.fill(QColor(i, 0, 255 - i));
      roots[static_cast<std::size_t>(i)] = p;
    }
    model.visible = true;
    // A run holds 249 items; the grid has room for more.
    model.roots.assign(249, 0);
    for (int i = 0; i < 249; ++i) model.roots[static_cast<std::size_t>(i)] = i % kRootCount;
    grid.setModel(&model, &roots);
  }
  QImage draw() { return grid.grab().toImage(); }
  static QRect cell(int column, int row) { return QRect(column * 22, row * 20, 22, 20); }

  TypingPictureGrid grid;
  PictureGrid model;
  std::vector<QPixmap> roots;
};

TEST_F(PictureGridTest, PictureRowsShowTheRootOfEachItemAndMarkTheCurrentOne) {
  model.pageFirst = 130;
  model.current = 130 + 26 + 3;  // second line, fourth column
  const QImage image = draw();
  // Item 130 + 26*row/2 + column has its root's picture at (left + 1, top + 2).
  const QRect first = cell(0, 0);
  EXPECT_EQ(image.pixelColor(first.left() + 1 + 5, first.top() + 2 + 5),
            QColor(130 % kRootCount, 0, 255 - 130 % kRootCount));
  const QRect other = cell(5, 4);  // item 130 + 52 + 5
  const int root = (130 + 52 + 5) % kRootCount;
  EXPECT_EQ(image.pixelColor(other.left() + 8, other.top() + 8), QColor(root, 0, 255 - root));
  // Cell background: light green for the current item, white elsewhere.
  const QRect current = cell(3, 2);
  EXPECT_EQ(image.pixelColor(current.left(), current.top()), rgbColour(colour::Current));
  EXPECT_EQ(image.pixelColor(first.left(), first.top()), QColor(Qt::white));
}

TEST_F(PictureGridTest, NoPictureFromItem249OnAndMarksFillTheirCells) {
  model.pageFirst = 0;
  model.current = -1;
  const int markRow = 1;
  model.marks[static_cast<std::size_t>(markRow * 26 + 0)] = gbk::fromUtf8("√");
  model.marks[static_cast<std::size_t>(markRow * 26 + 1)] = gbk::fromUtf8("メ");
  QImage image = draw();
  EXPECT_EQ(image.pixelColor(cell(0, 1).left(), cell(0, 1).top()), rgbColour(colour::Right));
  EXPECT_EQ(image.pixelColor(cell(1, 1).left(), cell(1, 1).top()), rgbColour(colour::Wrong));
  EXPECT_EQ(image.pixelColor(cell(2, 1).left(), cell(2, 1).top()), QColor(Qt::white));
  // Item 249 is the last cell of a page of 250 pictures: it stays blank.
  model.pageFirst = 249 - (4 * 26);  // item 249 at row 8, column 0
  image = draw();
  EXPECT_EQ(image.pixelColor(cell(0, 8).left() + 8, cell(0, 8).top() + 8), QColor(Qt::white));
  EXPECT_NE(image.pixelColor(cell(1, 6).left() + 8, cell(1, 6).top() + 8), QColor(Qt::white));
}

class FrameLayoutTest : public TutorFixture {
 protected:
  void SetUp() override { buildAndShow(); }
};

TEST_F(FrameLayoutTest, BottomBarKeepsHintAndLetterBoxAtTheRightEdge) {
  for (int width : {604, 900}) {
    named<QWidget>(frame, "RzPanel_RightPageInfo")->resize(width, 24);
    QApplication::processEvents();
    const int d = width - named<QLabel>(frame, "RzLabel_fastHelp")->width();
    EXPECT_EQ(named<QLabel>(frame, "RzLabel_fastHelp")->x(), d - 3);
    EXPECT_EQ(named<QWidget>(frame, "RzToolbarButton_fastHelp")->x(), d - 2);
    EXPECT_EQ(named<QWidget>(frame, "RzCheckBox_alf")->x() +
                  named<QWidget>(frame, "RzCheckBox_alf")->width(),
              named<QWidget>(frame, "RzToolbarButton_fastHelp")->x() - 2);
    EXPECT_EQ(named<QWidget>(frame, "RzLEDDisplay_Exam")->x() +
                  named<QWidget>(frame, "RzLEDDisplay_Exam")->width(),
              named<QWidget>(frame, "RzCheckBox_alf")->x() - 2);
  }
}

TEST_F(FrameLayoutTest, HotSpotClickTogglesTheSelectionSide) {
  QSplitter* splitter = named<QSplitter>(frame, "RzSplitter_Text");
  const int before = splitter->sizes().value(0);
  ASSERT_GT(before, 0);
  QSplitterHandle* handle = splitter->handle(1);
  QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(handle->width() / 2, handle->height() / 2));
  EXPECT_EQ(splitter->sizes().value(0), 0);
  QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(handle->width() / 2, handle->height() / 2));
  EXPECT_GT(splitter->sizes().value(0), 0);
}

TEST_F(FrameLayoutTest, TextPaneScrollsWithNavigationKeysAndSwallowsTyping) {
  QTextEdit* pane = frame->express();
  QString text;
  for (int i = 0; i < 60; ++i) text += QStringLiteral("第%1行\n").arg(i);
  pane->setPlainText(text);
  const QString original = pane->toPlainText();
  pane->setFocus();
  pane->moveCursor(QTextCursor::Start);
  std::vector<vk::KeyPress> received;
  QObject::connect(frame, &TFrame_Veduzir::keyReceived, frame,
                   [&received](vk::KeyPress k) { received.push_back(k); });
  // Down goes to the frame first, then moves the caret in the pane.
  QTest::keyClick(pane, Qt::Key_Down);
  EXPECT_EQ(pane->textCursor().blockNumber(), 1);
  // Up on the first line stays there; typing changes nothing.
  QTest::keyClick(pane, Qt::Key_Up);
  QTest::keyClick(pane, Qt::Key_Up);
  EXPECT_EQ(pane->textCursor().blockNumber(), 0);
  QTest::keyClick(pane, Qt::Key_X);
  QTest::keyClick(pane, Qt::Key_Backspace);
  EXPECT_EQ(pane->toPlainText(), original);
  // At the very end, Down and PageDown are swallowed.
  pane->moveCursor(QTextCursor::End);
  const int end = pane->textCursor().position();
  QTest::keyClick(pane, Qt::Key_PageDown);
  QTest::keyClick(pane, Qt::Key_Down);
  EXPECT_EQ(pane->textCursor().position(), end);
  EXPECT_EQ(received.size(), 7u);
}

}  // namespace
}  // namespace quorvel::windowtests
