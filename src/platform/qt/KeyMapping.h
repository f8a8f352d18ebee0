#pragma once
// Turns Qt key events into the virtual keys the practice logic reads. Qt
// reports the produced symbol for shifted keys (Shift+; arrives as Key_Colon),
// so a US-layout table gives back the key and adds Shift. The keypad flag is
// not a modifier: it only tells keypad digits and operators from the main ones.
#include <Qt>

#include "platform/VirtualKeys.h"

class QKeyEvent;

namespace quorvel::platform {

// Key 0 when the key has no virtual-key code of its own (Meta, media keys ...).
vk::KeyPress toKeyPress(int qtKey, Qt::KeyboardModifiers modifiers);
vk::KeyPress toKeyPress(const QKeyEvent& event);

}  // namespace quorvel::platform
