#pragma once
// Caps Lock and Num Lock as the keyboard has them. On X11 the keyboard's own
// indicators are asked through XKB; elsewhere (Wayland, offscreen) the state is
// inferred from the key events the application sees: lock-key presses toggle
// it, and the case of a typed letter against Shift, or a keypad key arriving
// as a digit or as a navigation key, tells the true state.
#include <QObject>

#include "platform/Clock.h"

class QKeyEvent;

namespace quorvel::platform {

class LockKeysX11 : public QObject, public LockKeys {
  Q_OBJECT
 public:
  // Installs itself as an event filter on the application when it has to
  // infer, so create it after the application object.
  explicit LockKeysX11(QObject* parent = nullptr);
  ~LockKeysX11() override;

  bool capsLock() const override;
  bool numLock() const override;

  // True when the indicators are read from the X server.
  bool readsIndicators() const { return display_ != nullptr; }
  // Learns from one key press (used by the event filter; tests call it directly).
  void observe(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool indicator(const char* name, bool fallback) const;

  void* display_ = nullptr;  // the X display, when there is one
  bool caps_ = false;        // inferred states; before any evidence Caps Lock off,
  bool num_ = true;          // Num Lock on, as most desktops start
};

}  // namespace quorvel::platform
