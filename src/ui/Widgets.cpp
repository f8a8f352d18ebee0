#include "ui/Widgets.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "ui/Look.h"
#include "ui/QtSupport.h"

namespace quorvel::ui {

TransparentButton::TransparentButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
}

void TransparentButton::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  emit hoverChanged(true);
}

void TransparentButton::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  emit hoverChanged(false);
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
  setToolTip(text);
  setStatusTip(text);
  setAlignment(Qt::AlignCenter);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
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

void LinkLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  setLabelFill(this, false, kLinkColour);
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
