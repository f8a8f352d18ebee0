#pragma once
// Key codes as the practice logic sees them: the Windows virtual-key numbers
// of a US keyboard, so the keyboard tables read the same everywhere.
#include <cstdint>

namespace quorvel::vk {

enum : std::uint16_t {
  Back = 0x08,
  Tab = 0x09,
  Clear = 0x0C,
  Return = 0x0D,
  Shift = 0x10,
  Control = 0x11,
  Menu = 0x12,
  Pause = 0x13,
  Capital = 0x14,
  Escape = 0x1B,
  Space = 0x20,
  Prior = 0x21,
  Next = 0x22,
  End = 0x23,
  Home = 0x24,
  Left = 0x25,
  Up = 0x26,
  Right = 0x27,
  Down = 0x28,
  Insert = 0x2D,
  Delete = 0x2E,
  Key0 = 0x30,
  Key9 = 0x39,
  KeyA = 0x41,
  KeyZ = 0x5A,
  Numpad0 = 0x60,
  Numpad9 = 0x69,
  Multiply = 0x6A,
  Add = 0x6B,
  Subtract = 0x6D,
  Decimal = 0x6E,
  Divide = 0x6F,
  F1 = 0x70,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  NumLock = 0x90,
  Scroll = 0x91,
  Oem1 = 0xBA,       // ;:
  OemPlus = 0xBB,    // =+
  OemComma = 0xBC,   // ,<
  OemMinus = 0xBD,   // -_
  OemPeriod = 0xBE,  // .>
  Oem2 = 0xBF,       // /?
  Oem3 = 0xC0,       // `~
  Oem4 = 0xDB,       // [{
  Oem5 = 0xDC,       // \|
  Oem6 = 0xDD,       // ]}
  Oem7 = 0xDE,       // '"
};

// Modifier set.
enum : std::uint8_t { ModShift = 1, ModCtrl = 2, ModAlt = 4 };

struct KeyPress {
  std::uint16_t key = 0;       // virtual-key code
  std::uint8_t modifiers = 0;  // ModShift | ModCtrl | ModAlt
  bool modified() const { return modifiers != 0; }
};

}  // namespace quorvel::vk
