#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <vector>

#include "platform/qt/KeyMapping.h"
#include "platform/qt/LockKeysX11.h"

using namespace quorvel;
using platform::toKeyPress;

namespace {

::testing::AssertionResult is(vk::KeyPress press, std::uint16_t key, std::uint8_t modifiers) {
  if (press.key == key && press.modifiers == modifiers) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got key 0x" << std::hex << press.key << " modifiers " << std::dec
         << int(press.modifiers) << ", wanted key 0x" << std::hex << key << " modifiers "
         << std::dec << int(modifiers);
}

// A widget that records what its key presses map to.
class KeyRecorder : public QWidget {
 public:
  std::vector<vk::KeyPress> presses;

 protected:
  void keyPressEvent(QKeyEvent* event) override { presses.push_back(toKeyPress(*event)); }
};

QKeyEvent press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
  return QKeyEvent(QEvent::KeyPress, key, mods, text);
}

}  // namespace

TEST(KeyMapping, ShiftedSymbolsGiveTheirKeyWithShift) {
  // Qt reports the symbol; with or without the Shift flag it is Shift + the key.
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Colon, Qt::ShiftModifier), vk::Oem1, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Colon, Qt::NoModifier), vk::Oem1, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Semicolon, Qt::NoModifier), vk::Oem1, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Exclam, Qt::ShiftModifier), vk::Key0 + 1, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_ParenRight, Qt::NoModifier), vk::Key0, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Asterisk, Qt::NoModifier), vk::Key0 + 8, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Question, Qt::ShiftModifier), vk::Oem2, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_QuoteDbl, Qt::NoModifier), vk::Oem7, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Apostrophe, Qt::NoModifier), vk::Oem7, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_AsciiTilde, Qt::NoModifier), vk::Oem3, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_BracketLeft, Qt::NoModifier), vk::Oem4, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Bar, Qt::NoModifier), vk::Oem5, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Backtab, Qt::ShiftModifier), vk::Tab, vk::ModShift));
  const auto e = press(Qt::Key_Colon, Qt::ShiftModifier, ":");
  EXPECT_TRUE(is(toKeyPress(e), vk::Oem1, vk::ModShift));
}

TEST(KeyMapping, KeypadKeysFollowNumLock) {
  // Num Lock on: digits and operators flagged as keypad keys.
  for (int d = 0; d <= 9; ++d) {
    EXPECT_TRUE(is(toKeyPress(Qt::Key_0 + d, Qt::KeypadModifier),
                   static_cast<std::uint16_t>(vk::Numpad0 + d), 0))
        << d;
    EXPECT_TRUE(
        is(toKeyPress(Qt::Key_0 + d, Qt::NoModifier), static_cast<std::uint16_t>(vk::Key0 + d), 0))
        << d;
  }
  EXPECT_FALSE(toKeyPress(Qt::Key_5, Qt::KeypadModifier).modified())
      << "the keypad flag is no modifier";
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Asterisk, Qt::KeypadModifier), vk::Multiply, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Plus, Qt::KeypadModifier), vk::Add, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Minus, Qt::KeypadModifier), vk::Subtract, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Slash, Qt::KeypadModifier), vk::Divide, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Period, Qt::KeypadModifier), vk::Decimal, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Enter, Qt::KeypadModifier), vk::Return, 0));
  // Num Lock off: the same keys arrive as navigation keys.
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Home, Qt::KeypadModifier), vk::Home, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_PageDown, Qt::KeypadModifier), vk::Next, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Up, Qt::KeypadModifier), vk::Up, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Insert, Qt::KeypadModifier), vk::Insert, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Delete, Qt::KeypadModifier), vk::Delete, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Clear, Qt::KeypadModifier), vk::Clear, 0));
}

TEST(KeyMapping, LettersFunctionKeysAndModifiers) {
  // The letter key regardless of case: Caps Lock changes the text only.
  EXPECT_TRUE(is(toKeyPress(press(Qt::Key_A, Qt::NoModifier, "A")), vk::KeyA, 0));
  EXPECT_TRUE(is(toKeyPress(press(Qt::Key_A, Qt::NoModifier, "a")), vk::KeyA, 0));
  EXPECT_TRUE(is(toKeyPress(press(Qt::Key_Z, Qt::ShiftModifier, "z")), vk::KeyZ, vk::ModShift));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_S, Qt::ControlModifier), vk::KeyA + 18, vk::ModCtrl));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_F4, Qt::AltModifier), vk::F4, vk::ModAlt));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_F12, Qt::NoModifier), vk::F12, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_F8, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier),
                 vk::F8, vk::ModShift | vk::ModCtrl | vk::ModAlt));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Escape, Qt::NoModifier), vk::Escape, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Backspace, Qt::NoModifier), vk::Back, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Space, Qt::NoModifier), vk::Space, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_PageUp, Qt::NoModifier), vk::Prior, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_CapsLock, Qt::NoModifier), vk::Capital, 0));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Alt, Qt::AltModifier), vk::Menu, vk::ModAlt));
  EXPECT_TRUE(is(toKeyPress(Qt::Key_Meta, Qt::MetaModifier), 0, 0))
      << "Meta is not a key the logic knows";
  EXPECT_EQ(toKeyPress(Qt::Key_VolumeUp, Qt::NoModifier).key, 0);
}

TEST(KeyMapping, RealKeyEventsThroughAWidget) {
  KeyRecorder widget;
  QTest::keyClick(&widget, Qt::Key_Colon, Qt::ShiftModifier);
  QTest::keyClick(&widget, Qt::Key_Exclam, Qt::ShiftModifier);
  QTest::keyClick(&widget, Qt::Key_7, Qt::KeypadModifier);
  QTest::keyClick(&widget, Qt::Key_Home, Qt::KeypadModifier);
  QTest::keyClick(&widget, 'q');
  // QTest presses Shift itself before a shifted key, as a keyboard would.
  ASSERT_EQ(widget.presses.size(), 7u);
  EXPECT_TRUE(is(widget.presses[0], vk::Shift, vk::ModShift));
  EXPECT_TRUE(is(widget.presses[1], vk::Oem1, vk::ModShift));
  EXPECT_TRUE(is(widget.presses[2], vk::Shift, vk::ModShift));
  EXPECT_TRUE(is(widget.presses[3], vk::Key0 + 1, vk::ModShift));
  EXPECT_TRUE(is(widget.presses[4], vk::Numpad0 + 7, 0));
  EXPECT_TRUE(is(widget.presses[5], vk::Home, 0));
  EXPECT_TRUE(is(widget.presses[6], vk::KeyA + 16, 0));
}

TEST(LockKeys, InferredFromKeyEventsWithoutIndicators) {
  platform::LockKeysX11 locks;
  if (locks.readsIndicators()) GTEST_SKIP() << "the X server's indicators are read instead";
  EXPECT_FALSE(locks.capsLock());
  EXPECT_TRUE(locks.numLock());

  locks.observe(press(Qt::Key_CapsLock));
  EXPECT_TRUE(locks.capsLock());
  locks.observe(press(Qt::Key_CapsLock));
  EXPECT_FALSE(locks.capsLock());
  // An upper-case letter without Shift, or a lower-case one with it: Caps Lock is on.
  locks.observe(press(Qt::Key_A, Qt::NoModifier, "A"));
  EXPECT_TRUE(locks.capsLock());
  locks.observe(press(Qt::Key_B, Qt::NoModifier, "b"));
  EXPECT_FALSE(locks.capsLock());
  locks.observe(press(Qt::Key_C, Qt::ShiftModifier, "c"));
  EXPECT_TRUE(locks.capsLock());
  locks.observe(press(Qt::Key_D, Qt::ShiftModifier, "D"));
  EXPECT_FALSE(locks.capsLock());
  // Control letters carry no case.
  locks.observe(press(Qt::Key_S, Qt::ControlModifier, "\x13"));
  EXPECT_FALSE(locks.capsLock());

  // Keypad: a navigation key means Num Lock is off, a digit that it is on.
  locks.observe(press(Qt::Key_End, Qt::KeypadModifier));
  EXPECT_FALSE(locks.numLock());
  locks.observe(press(Qt::Key_1, Qt::KeypadModifier, "1"));
  EXPECT_TRUE(locks.numLock());
  locks.observe(press(Qt::Key_NumLock));
  EXPECT_FALSE(locks.numLock());
  // The main block's navigation keys say nothing about Num Lock.
  locks.observe(press(Qt::Key_1, Qt::NoModifier, "1"));
  locks.observe(press(Qt::Key_Home));
  EXPECT_FALSE(locks.numLock());
}

TEST(LockKeys, EachPressFromTheWindowSystemCountsOnce) {
  platform::LockKeysX11 locks;
  if (locks.readsIndicators()) GTEST_SKIP() << "the X server's indicators are read instead";
  QWidget top;
  QWidget middle(&top);
  QWidget child(&middle);
  top.show();
  child.setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
  QWindow* window = top.windowHandle();
  ASSERT_NE(window, nullptr);
  // The press goes to the window, then to the focus widget and up its two
  // parents (none takes it): still a single toggle.
  QTest::keyClick(window, Qt::Key_CapsLock);
  EXPECT_TRUE(locks.capsLock());
  QTest::keyClick(window, Qt::Key_CapsLock);
  EXPECT_FALSE(locks.capsLock());
  QTest::keyClick(window, Qt::Key_A, Qt::NoModifier);  // QTest sends the text "a"
  EXPECT_FALSE(locks.capsLock());
}
