#include "platform/qt/LockKeysX11.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

// Xlib defines macros such as KeyPress and None; it comes last.
#if defined(QUORVEL_HAVE_X11) && QT_CONFIG(xcb)
#define QUORVEL_USE_XKB 1
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#undef KeyPress
#undef KeyRelease
#endif

namespace quorvel::platform {

LockKeysX11::LockKeysX11(QObject* parent) : QObject(parent) {
#ifdef QUORVEL_USE_XKB
  if (auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                     : nullptr) {
    display_ = x11->display();
  }
#endif
  if (display_ == nullptr && QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->installEventFilter(this);
  }
}

LockKeysX11::~LockKeysX11() {
  if (display_ == nullptr && QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeEventFilter(this);
  }
}

bool LockKeysX11::indicator(const char* name, bool fallback) const {
#ifdef QUORVEL_USE_XKB
  if (display_ != nullptr) {
    auto* display = static_cast<Display*>(display_);
    const Atom atom = XInternAtom(display, name, True);
    int state = 0;
    if (atom != 0 && XkbGetNamedIndicator(display, atom, nullptr, &state, nullptr, nullptr))
      return state != 0;
  }
#else
  (void)name;
#endif
  return fallback;
}

bool LockKeysX11::capsLock() const { return indicator("Caps Lock", caps_); }

bool LockKeysX11::numLock() const { return indicator("Num Lock", num_); }

void LockKeysX11::observe(const QKeyEvent& event) {
  const int key = event.key();
  const auto mods = event.modifiers();
  const bool shift = mods.testFlag(Qt::ShiftModifier);
  if (key == Qt::Key_CapsLock) {
    if (!event.isAutoRepeat()) caps_ = !caps_;
    return;
  }
  if (key == Qt::Key_NumLock) {
    if (!event.isAutoRepeat()) num_ = !num_;
    return;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    // Control and Alt change what a letter types; only a plain letter tells.
    if (mods.testFlag(Qt::ControlModifier) || mods.testFlag(Qt::AltModifier)) return;
    const QString text = event.text();
    if (text.size() != 1) return;
    const QChar c = text.at(0);
    if (c.isUpper())
      caps_ = !shift;
    else if (c.isLower())
      caps_ = shift;
    return;
  }
  if (mods.testFlag(Qt::KeypadModifier) && !shift) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) num_ = true;
    switch (key) {
      case Qt::Key_Home:
      case Qt::Key_End:
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Insert:
      case Qt::Key_Clear:
        num_ = false;
        break;
      default:
        break;
    }
  }
}

bool LockKeysX11::eventFilter(QObject* watched, QEvent* event) {
  // A key event from the window system reaches its window first and is then
  // handed on to the focus widget and up its parents, passing this filter
  // each time; only the delivery to the window counts, so a press is seen once.
  if (event->type() == QEvent::KeyPress && watched != nullptr && watched->isWindowType()) {
    observe(*static_cast<QKeyEvent*>(event));
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace quorvel::platform
