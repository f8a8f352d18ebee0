#include "ui/Widgets.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "ui/Look.h"
#include "ui/QtSupport.h"

namespace quorvel::ui {

namespace {

bool pressKey(const QKeyEvent* event) {
  const int key = event->key();
  return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// A link label to assistive technology: a push button named by its caption
// that can be pressed.
class LinkLabelAccessible : public QAccessibleWidget {
 public:
  explicit LinkLabelAccessible(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const QString name = widget()->accessibleName();
      return name.isEmpty() ? widget()->toolTip() : name;
    }
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action == pressAction()) static_cast<LinkLabel*>(widget())->click();
  }
};

QAccessibleInterface* tutorAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("quorvel::ui::LinkLabel"))
    if (auto* label = qobject_cast<LinkLabel*>(object)) return new LinkLabelAccessible(label);
  return nullptr;
}

}  // namespace

void installAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(tutorAccessibleFactory);
}

void drawFocusFrame(QWidget* widget) {
  QPainter painter(widget);
  QPen pen(widget->palette().color(QPalette::WindowText));
  pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  painter.drawRect(widget->rect().adjusted(1, 1, -2, -2));
}

TransparentButton::TransparentButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
}

void TransparentButton::paintEvent(QPaintEvent*) {
  if (hasFocus()) drawFocusFrame(this);
}

void TransparentButton::focusInEvent(QFocusEvent* event) {
  QAbstractButton::focusInEvent(event);
  emit hoverChanged(true);
}

void TransparentButton::focusOutEvent(QFocusEvent* event) {
  QAbstractButton::focusOutEvent(event);
  if (!underMouse()) emit hoverChanged(false);
}

void TransparentButton::keyPressEvent(QKeyEvent* event) {
  if (pressKey(event) && event->key() != Qt::Key_Space) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void TransparentButton::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  emit hoverChanged(true);
}

void TransparentButton::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  if (!hasFocus()) emit hoverChanged(false);
}

void setLabelFill(QLabel* label, bool opaque, QColor colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, colour);
  label->setPalette(palette);
  label->setAutoFillBackground(opaque);
  label->update();
}

void setTextColour(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  widget->setPalette(palette);
}

FaceButton makeFaceButton(QWidget* parent, const QString& caption, const char* faceName,
                          const char* buttonName, const QRect& faceGeometry,
                          const QRect& buttonGeometry) {
  FaceButton made;
  made.face = new QLabel(caption, parent);
  made.face->setObjectName(QString::fromLatin1(faceName));
  made.face->setGeometry(faceGeometry);
  made.face->setAlignment(Qt::AlignCenter);
  made.face->setFrameStyle(QFrame::Panel | QFrame::Raised);
  made.button = new TransparentButton(parent);
  made.button->setObjectName(QString::fromLatin1(buttonName));
  made.button->setGeometry(buttonGeometry);
  made.button->setToolTip(caption);
  bindButtonFace(made.button, made.face, kHoverColour);
  return made;
}

void bindButtonFace(TransparentButton* button, QLabel* face, QColor colour, QColor idle) {
  QObject::connect(button, &TransparentButton::hoverChanged, face,
                   [face, colour, idle](bool inside) {
                     if (inside)
                       setLabelFill(face, true, colour);
                     else if (idle.isValid())
                       setLabelFill(face, true, idle);
                     else
                       setLabelFill(face, false, colour);
                   });
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent), hint_(text) {
  installAccessibility();
  setToolTip(text);
  setStatusTip(text);
  setAlignment(Qt::AlignCenter);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
}

LinkLabel::LinkLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
    : LinkLabel(text, parent) {
  setObjectName(QString::fromLatin1(name));
  setGeometry(geometry);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  setLabelFill(this, true, kLinkColour);
}

void LinkLabel::focusInEvent(QFocusEvent* event) {
  QLabel::focusInEvent(event);
  setLabelFill(this, true, kLinkColour);
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
  QLabel::focusOutEvent(event);
  if (!underMouse()) setLabelFill(this, false, kLinkColour);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  if (pressKey(event) && !event->isAutoRepeat()) {
    emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (hasFocus()) drawFocusFrame(this);
}

void LinkLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  if (!hasFocus()) setLabelFill(this, false, kLinkColour);
  setAlignment(Qt::AlignCenter);
  setText(hint_);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    setText(QLatin1Char(' ') + hint_);
  }
  event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  setAlignment(Qt::AlignCenter);
  setText(hint_);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
  event->accept();
}

void ShadowLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  const QRect area = contentsRect();
  painter.setPen(Qt::black);
  painter.drawText(area.translated(1, 1), static_cast<int>(alignment()), text());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(area, static_cast<int>(alignment()), text());
}

BlinkLabel::BlinkLabel(QWidget* parent, QColor colour, QColor blinkColour, int interval)
    : QLabel(parent), colour_(colour), blinkColour_(blinkColour), timer_(new QTimer(this)) {
  timer_->setInterval(interval);
  connect(timer_, &QTimer::timeout, this, &BlinkLabel::blink);
  setLit(false);
}

bool BlinkLabel::blinking() const { return timer_->isActive(); }

void BlinkLabel::blink() { setLit(!lit_); }

void BlinkLabel::setLit(bool lit) {
  lit_ = lit;
  setTextColour(this, lit ? blinkColour_ : colour_);
}

void BlinkLabel::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  setLit(false);
  timer_->start();
}

void BlinkLabel::hideEvent(QHideEvent* event) {
  QLabel::hideEvent(event);
  timer_->stop();
  setLit(false);
}

void WindowDragger::watch(QWidget* widget) { widget->installEventFilter(this); }

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      if (condition_ && !condition_()) return false;
      QWidget* window = widget->window();
      auto* mouse = static_cast<QMouseEvent*>(event);
      // The move starts once the mouse moves: handing the press to the window
      // manager at once would swallow the second click of a double click.
      pressed_ = window;
      moving_ = false;
      pressPoint_ = mouse->globalPosition().toPoint();
      grabOffset_ = pressPoint_ - window->frameGeometry().topLeft();
      if (onPress_) onPress_();
      return false;
    }
    case QEvent::MouseMove: {
      if (!pressed_) return false;
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->buttons() == Qt::NoButton) {
        pressed_ = nullptr;
        return false;
      }
      const QPoint at = mouse->globalPosition().toPoint();
      if (!moving_) {
        if ((at - pressPoint_).manhattanLength() < QApplication::startDragDistance()) return false;
        moving_ = true;
        QWindow* handle = pressed_->windowHandle();
        if (handle && handle->startSystemMove()) {
          pressed_ = nullptr;  // the window manager moves it from here
          return false;
        }
      }
      pressed_->move(at - grabOffset_);
      return false;
    }
    case QEvent::MouseButtonRelease:
      pressed_ = nullptr;
      return false;
    default:
      return false;
  }
}

FormBase::FormBase(QWidget* parent, const char* objectName, const QString& caption, QSize client,
                   Qt::WindowFlags flags)
    : QDialog(parent, flags) {
  setObjectName(QString::fromLatin1(objectName));
  setWindowTitle(caption);
  setFixedSize(client);
  setFont(songFont(12));
  applyTutorPalette(this);
  setAutoFillBackground(true);
}

void FormBase::setDialogLabels(LinkLabel* ok, LinkLabel* cancel) {
  okLabel_ = ok;
  cancelLabel_ = cancel;
}

void FormBase::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // The focused label answers for itself; elsewhere Return means OK.
    if (okLabel_ && okLabel_->isVisible()) {
      okLabel_->click();
      return;
    }
  } else if (key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (cancelLabel_ && cancelLabel_->isVisible()) {
      cancelLabel_->click();
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

void FormBase::showEvent(QShowEvent* event) {
  placeOnShow();
  QDialog::showEvent(event);
}

void FormBase::placeOnShow() {
  QRect area;
  if (parentWidget())
    area = parentWidget()->window()->frameGeometry();
  else if (screen())
    area = screen()->availableGeometry();
  if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
}

void messageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                const char* objectName) {
  QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
  box.setObjectName(QString::fromLatin1(objectName));
  applyTutorPalette(&box);
  box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.exec();
}

}  // namespace quorvel::ui
