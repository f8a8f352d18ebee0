#include "practice/windows/FrameParts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitterHandle>
#include <QTextBlock>
#include <QTextEdit>

#include "ui/Glyphs.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"

using quorvel::ui::fromGbk;
using quorvel::ui::songFont;

namespace {

// The text splitter's bar: locked, 10 pixels wide, with a hot spot in its
// middle that opens and closes the selection side.
class HotSpotHandle : public QSplitterHandle {
 public:
  HotSpotHandle(Qt::Orientation orientation, QSplitter* parent, std::function<void()> onHotSpot)
      : QSplitterHandle(orientation, parent), onHotSpot_(std::move(onHotSpot)) {
    setCursor(Qt::PointingHandCursor);
  }
  QRect hotSpot() const { return QRect(0, height() / 2 - 30, width(), 60); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), quorvel::ui::kFormColour);
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawLine(0, 0, 0, height());
    p.setPen(Qt::white);
    p.drawLine(width() - 1, 0, width() - 1, height());
    const QRect spot = hotSpot().adjusted(1, 0, -2, 0);
    p.fillRect(spot, QColor(0xC8, 0xC8, 0xC8));
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(QColor(0x40, 0x40, 0x40));
    // Arrow pointing to the side that a click will open.
    const int cx = spot.center().x(), cy = spot.center().y();
    const bool selectionShown = splitter()->sizes().value(0) > 0;
    QPolygon arrow;
    if (selectionShown)
      arrow << QPoint(cx - 2, cy) << QPoint(cx + 2, cy - 4) << QPoint(cx + 2, cy + 4);
    else
      arrow << QPoint(cx + 2, cy) << QPoint(cx - 2, cy - 4) << QPoint(cx - 2, cy + 4);
    p.drawPolygon(arrow);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && onHotSpot_) onHotSpot_();
    event->accept();
  }
  void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }  // locked
  void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }

 private:
  std::function<void()> onHotSpot_;
};

// The second splitter's bar is locked without a hot spot.
class LockedHandle : public QSplitterHandle {
 public:
  using QSplitterHandle::QSplitterHandle;

 protected:
  void mousePressEvent(QMouseEvent* e) override { e->accept(); }
  void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
};

}  // namespace

namespace quorvel::ui {

HotSpotSplitter::HotSpotSplitter(std::function<void()> onHotSpot, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), onHotSpot_(std::move(onHotSpot)) {}

QSplitterHandle* HotSpotSplitter::createHandle() {
  return new HotSpotHandle(orientation(), this, onHotSpot_);
}

QSplitterHandle* LockedSplitter::createHandle() {
  auto* handle = new LockedHandle(orientation(), this);
  handle->setCursor(Qt::ArrowCursor);
  return handle;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  return label;
}

void setFill(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace quorvel::ui

TypingPictureGrid::TypingPictureGrid(QWidget* parent)
    : QWidget(parent), tick_(quorvel::glyphs::tick()), cross_(quorvel::glyphs::cross()) {
  setObjectName(QStringLiteral("StringGrid_typer"));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TypingPictureGrid::setModel(const quorvel::PictureGrid* grid,
                                 const std::vector<QPixmap>* roots) {
  grid_ = grid;
  roots_ = roots;
  update();
}

void TypingPictureGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!grid_) return;
  painter.setFont(songFont(16));
  for (int row = 0; row < quorvel::PictureGrid::Rows; ++row)
    for (int column = 0; column < quorvel::PictureGrid::Columns; ++column)
      StringGrid_typerDrawCell(
          painter, column, row,
          QRect(column * kColumnWidth, row * kRowHeight, kColumnWidth, kRowHeight));
}

void TypingPictureGrid::StringGrid_typerDrawCell(QPainter& painter, int column, int row,
                                                 const QRect& rect) {
  static const QString right = QStringLiteral("√");
  static const QString wrong = QStringLiteral("メ");
  if (row % 2 == 1) {
    const QString mark = fromGbk(
        grid_->marks[static_cast<std::size_t>(row * quorvel::PictureGrid::Columns + column)]);
    if (mark == right) {
      painter.fillRect(rect, quorvel::ui::rgb(quorvel::colour::Right));
      painter.drawPixmap(rect.left() + 1, rect.top() + 2, tick_);
    } else if (mark == wrong) {
      painter.fillRect(rect, quorvel::ui::rgb(quorvel::colour::Wrong));
      painter.drawPixmap(rect.left() + 1, rect.top() + 2, cross_);
    } else if (!mark.isEmpty()) {
      painter.setPen(Qt::black);
      painter.drawText(rect, Qt::AlignCenter, mark);
    }
    return;
  }
  const int index = grid_->pageFirst + (row / 2) * quorvel::PictureGrid::Columns + column;
  painter.fillRect(rect, index == grid_->current ? quorvel::ui::rgb(quorvel::colour::Current)
                                                 : QColor(Qt::white));
  if (index >= 0 && static_cast<std::size_t>(index) < grid_->roots.size() && roots_) {
    const int root = grid_->roots[static_cast<std::size_t>(index)];
    if (root >= 0 && static_cast<std::size_t>(root) < roots_->size())
      painter.drawPixmap(rect.left() + 1, rect.top() + 2,
                         (*roots_)[static_cast<std::size_t>(root)]);
  }
}

namespace quorvel::ui {

bool ReadOnlyPaneFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* pane = qobject_cast<QTextEdit*>(watched);
  if (!pane || event->type() != QEvent::KeyPress) return false;
  // The read-only pane swallows typing and keys that would leave its text;
  // other navigation scrolls it.
  auto* key = static_cast<QKeyEvent*>(event);
  const QTextCursor cursor = pane->textCursor();
  const bool atStart = cursor.atStart();
  const bool atEnd = cursor.atEnd();
  const bool firstLine =
      cursor.block() == pane->document()->firstBlock() &&
      (!cursor.block().layout() ||
       cursor.block().layout()->lineForTextPosition(cursor.positionInBlock()).lineNumber() == 0);
  switch (key->key()) {
    case Qt::Key_Backspace:
      return true;
    case Qt::Key_Up:
      return firstLine || atStart;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
      return atStart;
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_PageDown:
      return atEnd;
    case Qt::Key_Home:
    case Qt::Key_End:
      return false;
    default:
      return !key->text().isEmpty() || key->key() == Qt::Key_Return ||
             key->key() == Qt::Key_Enter || key->key() == Qt::Key_Tab;
  }
}

}  // namespace quorvel::ui
