// What assistive technology finds in the practice frame: the root drill's
// grid names each root and says its entry in words, the cells read item then
// entry, and the controls of a side pushed to nothing report hidden.
#include <QAccessible>

#include "drills/RootDrill.h"
#include "practice/windows/FrameParts.h"
#include "practice/windows/SelectionPanel.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class AccessibilityTest : public TutorFixture {};

TEST_F(AccessibilityTest, RootDrillGridNamesEveryRootAndItsMark) {
  const std::filesystem::path library = builtLibrary();
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  buildAndShow(library);
  frame->logic().selectKind(pkRoot);
  ASSERT_TRUE(frame->logic().practising());
  frame->render();
  auto* grid = child<TypingPictureGrid>("StringGrid_typer");
  ASSERT_NE(grid, nullptr);
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(grid);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::List);
  ASSERT_EQ(list->childCount(), kRootPageOneCells);

  const auto& cells = frame->logic().kindAs<RootDrill>(pkRoot)->cells();
  auto said = [&](int place) { return list->child(place)->text(QAccessible::Name); };
  const std::string& firstName =
      frame->logic().data().rootNames[static_cast<std::size_t>(cells[0].root)];
  ASSERT_FALSE(firstName.empty()) << "the library names its roots";
  EXPECT_TRUE(said(0).startsWith(QStringLiteral("第 1 个 ") + QString::fromStdString(firstName)))
      << said(0).toStdString();
  EXPECT_TRUE(said(0).endsWith(QStringLiteral("，当前"))) << said(0).toStdString();
  EXPECT_TRUE(list->child(0)->state().focused);
  EXPECT_EQ(list->indexOfChild(list->child(27)), 27);

  // One right, one wrong: the words say which, not only the colours.
  const char second = static_cast<char>(cells[1].expected);
  QTest::keyClick(&tutor->main(), static_cast<Qt::Key>(Qt::Key_A + (cells[0].expected - 'A')));
  QTest::keyClick(&tutor->main(), static_cast<Qt::Key>(Qt::Key_A + ((second - 'A' + 1) % 26)));
  EXPECT_TRUE(said(0).endsWith(QStringLiteral("，对"))) << said(0).toStdString();
  EXPECT_TRUE(said(1).endsWith(QStringLiteral("，错"))) << said(1).toStdString();
  EXPECT_TRUE(said(2).endsWith(QStringLiteral("，当前"))) << said(2).toStdString();

  // The practice fills the frame: the selection rows are hidden to a reader.
  for (int row = 0; row < SelectionPanel::RowCount; ++row) {
    QAccessibleInterface* button =
        QAccessible::queryAccessibleInterface(frame->selectionPanel()->button(row));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->state().invisible) << row;
  }
  QTest::keyClick(&tutor->main(), Qt::Key_Escape);
  QAccessibleInterface* path =
      QAccessible::queryAccessibleInterface(frame->selectionPanel()->button(SelectionPanel::Path));
  EXPECT_FALSE(path->state().invisible) << "shown again with the selection side";
  EXPECT_EQ(path->text(QAccessible::Name), QStringLiteral("学习路线"));
}

TEST_F(AccessibilityTest, TextCellsReadEachItemThenTheEntryUnderIt) {
  buildAndShow();
  QAccessibleInterface* area = QAccessible::queryAccessibleInterface(child("RzPanel_RightInput"));
  ASSERT_NE(area, nullptr);
  std::vector<QObject*> read;
  for (int i = 0; i < area->childCount(); ++i)
    if (QObject* object = area->child(i)->object(); object && object->inherits("QLabel"))
      read.push_back(object);
  ASSERT_GE(read.size(), 4u);
  EXPECT_EQ(read[0], frame->cellLabel(cellIndex(0, 0)));
  EXPECT_EQ(read[1], frame->cellLabel(cellIndex(0, 1))) << "the entry under the first item";
  EXPECT_EQ(read[2], frame->cellLabel(cellIndex(1, 0)));
  EXPECT_EQ(read[3], frame->cellLabel(cellIndex(1, 1)));
}

}  // namespace
}  // namespace quorvel::windowtests
