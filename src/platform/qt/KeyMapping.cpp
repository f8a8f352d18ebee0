#include "platform/qt/KeyMapping.h"

#include <QKeyEvent>

namespace quorvel::platform {
namespace {

struct Entry {
  int qtKey;
  std::uint16_t key;
  bool shifted;  // the symbol is typed with Shift on a US keyboard
};

// Symbols of the main block on a US layout.
constexpr Entry kSymbols[] = {
    {Qt::Key_Exclam, vk::Key0 + 1, true},     {Qt::Key_At, vk::Key0 + 2, true},
    {Qt::Key_NumberSign, vk::Key0 + 3, true}, {Qt::Key_Dollar, vk::Key0 + 4, true},
    {Qt::Key_Percent, vk::Key0 + 5, true},    {Qt::Key_AsciiCircum, vk::Key0 + 6, true},
    {Qt::Key_Ampersand, vk::Key0 + 7, true},  {Qt::Key_Asterisk, vk::Key0 + 8, true},
    {Qt::Key_ParenLeft, vk::Key0 + 9, true},  {Qt::Key_ParenRight, vk::Key0, true},
    {Qt::Key_Semicolon, vk::Oem1, false},     {Qt::Key_Colon, vk::Oem1, true},
    {Qt::Key_Equal, vk::OemPlus, false},      {Qt::Key_Plus, vk::OemPlus, true},
    {Qt::Key_Comma, vk::OemComma, false},     {Qt::Key_Less, vk::OemComma, true},
    {Qt::Key_Minus, vk::OemMinus, false},     {Qt::Key_Underscore, vk::OemMinus, true},
    {Qt::Key_Period, vk::OemPeriod, false},   {Qt::Key_Greater, vk::OemPeriod, true},
    {Qt::Key_Slash, vk::Oem2, false},         {Qt::Key_Question, vk::Oem2, true},
    {Qt::Key_QuoteLeft, vk::Oem3, false},     {Qt::Key_AsciiTilde, vk::Oem3, true},
    {Qt::Key_BracketLeft, vk::Oem4, false},   {Qt::Key_BraceLeft, vk::Oem4, true},
    {Qt::Key_Backslash, vk::Oem5, false},     {Qt::Key_Bar, vk::Oem5, true},
    {Qt::Key_BracketRight, vk::Oem6, false},  {Qt::Key_BraceRight, vk::Oem6, true},
    {Qt::Key_Apostrophe, vk::Oem7, false},    {Qt::Key_QuoteDbl, vk::Oem7, true},
};

// Keys that are the same wherever they are.
constexpr Entry kControls[] = {
    {Qt::Key_Escape, vk::Escape, false},     {Qt::Key_Tab, vk::Tab, false},
    {Qt::Key_Backtab, vk::Tab, true},        {Qt::Key_Backspace, vk::Back, false},
    {Qt::Key_Return, vk::Return, false},     {Qt::Key_Enter, vk::Return, false},
    {Qt::Key_Insert, vk::Insert, false},     {Qt::Key_Delete, vk::Delete, false},
    {Qt::Key_Pause, vk::Pause, false},       {Qt::Key_Clear, vk::Clear, false},
    {Qt::Key_Home, vk::Home, false},         {Qt::Key_End, vk::End, false},
    {Qt::Key_Left, vk::Left, false},         {Qt::Key_Up, vk::Up, false},
    {Qt::Key_Right, vk::Right, false},       {Qt::Key_Down, vk::Down, false},
    {Qt::Key_PageUp, vk::Prior, false},      {Qt::Key_PageDown, vk::Next, false},
    {Qt::Key_Space, vk::Space, false},       {Qt::Key_Shift, vk::Shift, false},
    {Qt::Key_Control, vk::Control, false},   {Qt::Key_Alt, vk::Menu, false},
    {Qt::Key_CapsLock, vk::Capital, false},  {Qt::Key_NumLock, vk::NumLock, false},
    {Qt::Key_ScrollLock, vk::Scroll, false},
};

// Keypad keys other than digits, with Num Lock on (off, they arrive as the
// navigation keys above, also flagged as keypad keys).
constexpr Entry kKeypad[] = {
    {Qt::Key_Asterisk, vk::Multiply, false}, {Qt::Key_Plus, vk::Add, false},
    {Qt::Key_Minus, vk::Subtract, false},    {Qt::Key_Period, vk::Decimal, false},
    {Qt::Key_Comma, vk::Decimal, false},     {Qt::Key_Slash, vk::Divide, false},
};

template <std::size_t N>
const Entry* find(const Entry (&table)[N], int qtKey) {
  for (const Entry& e : table)
    if (e.qtKey == qtKey) return &e;
  return nullptr;
}

}  // namespace

vk::KeyPress toKeyPress(int qtKey, Qt::KeyboardModifiers modifiers) {
  vk::KeyPress press;
  if (modifiers.testFlag(Qt::ShiftModifier)) press.modifiers |= vk::ModShift;
  if (modifiers.testFlag(Qt::ControlModifier)) press.modifiers |= vk::ModCtrl;
  if (modifiers.testFlag(Qt::AltModifier)) press.modifiers |= vk::ModAlt;
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);

  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
    // Qt reports the key, not the case: Caps Lock changes only the text.
    press.key = static_cast<std::uint16_t>(vk::KeyA + (qtKey - Qt::Key_A));
    return press;
  }
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    press.key = static_cast<std::uint16_t>((keypad ? vk::Numpad0 : vk::Key0) + (qtKey - Qt::Key_0));
    return press;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
    press.key = static_cast<std::uint16_t>(vk::F1 + (qtKey - Qt::Key_F1));
    return press;
  }
  const Entry* entry = keypad ? find(kKeypad, qtKey) : nullptr;
  if (entry == nullptr) entry = find(kControls, qtKey);
  if (entry == nullptr) entry = find(kSymbols, qtKey);
  if (entry == nullptr) return press;
  press.key = entry->key;
  if (entry->shifted) press.modifiers |= vk::ModShift;
  return press;
}

vk::KeyPress toKeyPress(const QKeyEvent& event) {
  return toKeyPress(event.key(), event.modifiers());
}

}  // namespace quorvel::platform
