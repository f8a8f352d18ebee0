// The tutor with the keyboard only: a kind started from the selection rows,
// the settings saved and a test run, every step a key press (no mouse).
#include <QAccessible>
#include <QCheckBox>
#include <QMenu>
#include <QToolButton>

#include "app/Settings.h"
#include "app/TForm_Main.h"
#include "app/TForm_Set.h"
#include "app/WindowSet.h"
#include "lookup/windows/TForm_Tip.h"
#include "platform/Registry.h"
#include "practice/windows/SelectionPanel.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class KeyboardOnlyTest : public TutorFixture {
 protected:
  // The window the keys go to: a dialog open over the tutor, else the tutor.
  QWidget* keyWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return &tutor->main();
  }
  // What has the keyboard focus in that window.
  QWidget* focused() const {
    QWidget* window = keyWindow();
    return window->focusWidget() ? window->focusWidget() : window;
  }
  // A key to whatever has the focus, as the keyboard would send it.
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
    QTest::keyClick(focused(), key, modifiers);
  }
  // Tab until `wanted` has the focus; false when it never comes.
  bool tabTo(const QWidget* wanted) const {
    for (int i = 0; i < 12 && focused() != wanted; ++i) press(Qt::Key_Tab);
    return focused() == wanted;
  }
  QString focusName() const { return focused()->accessibleName(); }
};

TEST_F(KeyboardOnlyTest, StartsAKindSavesSettingsAndRunsATest) {
  const std::filesystem::path library = builtLibrary();
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  buildTutor(library);
  TForm_Main& main = tutor->main();
  main.showStartUp();
  main.activateWindow();
  QApplication::processEvents();
  ASSERT_EQ(focused(), frame);

  // Nothing practised yet: Tab leaves the frame for the selection rows, the
  // arrows go down them as shown, Return starts the one with the focus.
  press(Qt::Key_Tab);
  EXPECT_EQ(focusName(), QStringLiteral("学习路线"));
  press(Qt::Key_Down);
  EXPECT_EQ(focusName(), QStringLiteral("字根练习"));
  press(Qt::Key_Return);
  ASSERT_TRUE(frame->logic().practising());
  EXPECT_EQ(frame->logic().practiceKind(), pkRoot);
  EXPECT_EQ(focused(), frame) << "the keys go to the drill started";
  // While practising Tab and the arrows stay with the practice.
  press(Qt::Key_Tab);
  EXPECT_EQ(focused(), frame);

  // Ctrl+S, then Space on the first box and Return for OK: saved.
  const bool maxSize = platform::Registry().readInt(ui::kSettingsKey, "MaxSize").value_or(0) != 0;
  {
    ModalAnswer answer([this](QWidget* modal) {
      auto* settings = qobject_cast<TForm_Set*>(modal);
      ASSERT_NE(settings, nullptr);
      ASSERT_TRUE(tabTo(settings->RzCheckBox_MaxSize));
      const bool before = settings->RzCheckBox_MaxSize->isChecked();
      press(Qt::Key_Space);
      EXPECT_NE(settings->RzCheckBox_MaxSize->isChecked(), before);
      press(Qt::Key_Return);
      EXPECT_FALSE(settings->isVisible()) << "Return is OK";
    });
    press(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(answer.seen(), QStringLiteral("Form_Set"));
  }
  EXPECT_EQ(platform::Registry().readInt(ui::kSettingsKey, "MaxSize"), maxSize ? 0 : 1);
  // Esc in the settings cancels: nothing more is written.
  {
    ModalAnswer answer([this](QWidget* modal) {
      press(Qt::Key_Space);
      press(Qt::Key_Escape);
      EXPECT_FALSE(modal->isVisible()) << "Esc is Cancel";
    });
    press(Qt::Key_S, Qt::ControlModifier);
  }
  EXPECT_EQ(platform::Registry().readInt(ui::kSettingsKey, "MaxSize"), maxSize ? 0 : 1);
  // The window tests of one process share their settings.
  platform::Registry().writeInt(ui::kSettingsKey, "MaxSize", maxSize ? 1 : 0);

  // Ctrl+Tab leaves the running drill for the rows; Alt+8 is the eighth
  // row shown, 练习测验, whose menu drops with its first item chosen.
  press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(focusName(), QStringLiteral("学习路线"));
  press(Qt::Key_Up);
  EXPECT_EQ(focusName(), QStringLiteral("字根表")) << "the rows go round";
  press(Qt::Key_Up);
  EXPECT_EQ(focusName(), QStringLiteral("练习测验"));
  press(Qt::Key_Menu);
  auto* menu = child<QMenu>("PopupMenu_exam");
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(menu->isVisible());
  ASSERT_NE(menu->activeAction(), nullptr);
  EXPECT_EQ(menu->activeAction()->objectName(), QStringLiteral("MenuItem_TimeExam"));

  // The test settings: the file chosen by Space on its button, OK by Return.
  const std::filesystem::path file = empty / "short.txt";
  ASSERT_TRUE(testsupport::writeFile(file, "你好，世界。\n"));
  tutor->windows().examSet->setOpenDialog(
      [&file](QWidget*, const QString&) { return QString::fromStdString(file.string()); });
  {
    ModalAnswer answer([this](QWidget* modal) {
      auto* settings = qobject_cast<TForm_ExamSet*>(modal);
      ASSERT_NE(settings, nullptr);
      ASSERT_TRUE(tabTo(settings->RzToolbarButton_SelFile));
      press(Qt::Key_Space);
      EXPECT_FALSE(settings->fileName().isEmpty());
      ASSERT_TRUE(tabTo(settings->RzLabel_OK));
      press(Qt::Key_Return);
    });
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_EQ(answer.seen(), QStringLiteral("Form_ExamSet"));
  }
  ASSERT_TRUE(frame->logic().practising());
  EXPECT_EQ(frame->logic().practiceKind(), pkExam);
  EXPECT_EQ(focused(), frame);
  // F10 reaches the toolbar, the arrows go along it and Esc comes back.
  press(Qt::Key_F10);
  EXPECT_EQ(focused(), main.RzToolbarButton_Set);
  press(Qt::Key_Right);
  EXPECT_EQ(focused(), main.RzToolbarButton_Help);
  press(Qt::Key_Escape);
  EXPECT_EQ(focused(), frame);
  EXPECT_TRUE(frame->logic().practising()) << "leaving and coming back keeps the test";
}

TEST_F(KeyboardOnlyTest, EveryDialogLabelIsAButtonTheKeyboardReaches) {
  buildTutor();
  WindowSet& w = tutor->windows();
  for (QWidget* window : std::initializer_list<QWidget*>{w.settings, w.selfile, w.examSet, w.tip}) {
    ASSERT_NE(window, nullptr);
    for (auto* label : window->findChildren<ui::LinkLabel*>()) {
      SCOPED_TRACE(label->objectName().toStdString());
      EXPECT_TRUE(label->focusPolicy() & Qt::TabFocus);
      QAccessibleInterface* face = QAccessible::queryAccessibleInterface(label);
      ASSERT_NE(face, nullptr);
      EXPECT_EQ(face->role(), QAccessible::Button);
      EXPECT_EQ(face->text(QAccessible::Name), label->toolTip());
      int clicks = 0;
      const auto counted =
          QObject::connect(label, &ui::LinkLabel::clicked, [&clicks] { ++clicks; });
      QTest::keyClick(label, Qt::Key_Space);
      QTest::keyClick(label, Qt::Key_Return);
      QObject::disconnect(counted);
      EXPECT_EQ(clicks, 2);
    }
  }
}

}  // namespace
}  // namespace quorvel::windowtests
