#pragma once
// Looks that several windows share: the transparent button laid over a
// caption label, the link label used as a dialog button, and dragging a
// window by its body.
#include <QAbstractButton>
#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <functional>

namespace quorvel::ui {

// A button that draws nothing but a focus frame: it sits over a caption
// label (the "button face") and reports the mouse entering and leaving it,
// and the keyboard focus arriving and going as the same light. It takes
// the focus from the keyboard only (Tab), so a click leaves the focus where
// the keys go; Space, Return and Enter press it.
class TransparentButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TransparentButton(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {24, 20}; }
 signals:
  void hoverChanged(bool inside);

 protected:
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

// Draws the dotted frame that shows where the keyboard focus is.
void drawFocusFrame(QWidget* widget);

// Colours `face` with `colour` while the mouse is over `button`, and leaves it
// transparent (or in `idle`, when given) otherwise.
void bindButtonFace(TransparentButton* button, QLabel* face, QColor colour, QColor idle = QColor());
void setLabelFill(QLabel* label, bool opaque, QColor colour);
void setTextColour(QWidget* widget, QColor colour);

// A raised, centred caption label with a transparent button over it that
// lights it light blue under the mouse.
struct FaceButton {
  QLabel* face = nullptr;
  TransparentButton* button = nullptr;
};
FaceButton makeFaceButton(QWidget* parent, const QString& caption, const char* faceName,
                          const char* buttonName, const QRect& faceGeometry,
                          const QRect& buttonGeometry);

// A label that acts as a dialog button: opaque in 0x0080C0 under the mouse
// or the keyboard focus, and looks pressed (text at the bottom, a blank
// before it) while held down. Its text always comes back from its hint (tool
// tip). Tab reaches it, Space, Return and Enter press it, and assistive
// technology sees a push button.
class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  LinkLabel(const QString& text, QWidget* parent = nullptr);
  // A named link label at its place in `parent`.
  LinkLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry);
  // What a press does: emits clicked().
  void click() { emit clicked(); }
 signals:
  void clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QString hint_;
};

// A label whose text has a black shadow one pixel down and to the right.
class ShadowLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A heading that blinks: while it is shown its text turns from its own colour
// to the blink colour and back every `interval` milliseconds.
class BlinkLabel : public QLabel {
  Q_OBJECT
 public:
  BlinkLabel(QWidget* parent, QColor colour, QColor blinkColour, int interval = 500);
  bool blinking() const;
  // Whether the text shows the blink colour now.
  bool lit() const { return lit_; }
  // One step of the blinking (the timer's tick).
  void blink();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void setLit(bool lit);
  QColor colour_, blinkColour_;
  QTimer* timer_ = nullptr;
  bool lit_ = false;
};

// Drags the window of every widget it watches by a mouse press on it. The
// window manager moves the window when it can; without one the window follows
// the mouse by hand.
class WindowDragger : public QObject {
  Q_OBJECT
 public:
  explicit WindowDragger(QObject* parent = nullptr) : QObject(parent) {}
  void watch(QWidget* widget);
  // Only drag while this returns true (the selection label drags only while
  // the window is not maximised).
  void setCondition(std::function<bool()> condition) { condition_ = std::move(condition); }
  // Runs after every press that starts a drag.
  void setOnPress(std::function<void()> onPress) { onPress_ = std::move(onPress); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<bool()> condition_;
  std::function<void()> onPress_;
  QPointer<QWidget> pressed_;  // the window a press may move
  bool moving_ = false;
  QPoint pressPoint_, grabOffset_;
};

// Installs the accessibility of the tutor's own controls (a link label is a
// push button); the application calls it once.
void installAccessibility();

// A secondary window of the tutor: fixed client size, the form grey, 宋体,
// centred on the main window each time it is shown. Return and Enter press
// its OK label (or the label that has the focus), Esc its cancel label (or
// closes it as rejected).
class FormBase : public QDialog {
  Q_OBJECT
 public:
  FormBase(QWidget* parent, const char* objectName, const QString& caption, QSize client,
           Qt::WindowFlags flags = Qt::Tool);
  // The labels Return and Esc press; either may be null.
  void setDialogLabels(LinkLabel* ok, LinkLabel* cancel);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Where the window goes when shown: centred on its parent (or the screen).
  virtual void placeOnShow();

 private:
  QPointer<LinkLabel> okLabel_, cancelLabel_;
};

// A message box with the tutor's Chinese button text ("确定"), modal.
void messageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                const char* objectName = "MessageBox");

}  // namespace quorvel::ui
