#include "practice/windows/FrameParts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSplitterHandle>
#include <QTextBlock>
#include <QTextEdit>
#include <algorithm>

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

namespace {

// One item of the picture grid as assistive technology sees it.
class PictureItemAccessible : public QAccessibleInterface {
 public:
  PictureItemAccessible(TypingPictureGrid* grid, int place) : grid_(grid), place_(place) {}
  bool isValid() const override { return grid_ && place_ < grid_->itemCount(); }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && isValid() ? grid_->itemText(place_) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect r = grid_->itemRect(place_);
    return QRect(grid_->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid() || !grid_->isVisible()) s.invisible = true;
    s.readOnly = true;
    if (isValid() && grid_->itemIsCurrent(place_)) s.focused = s.selected = true;
    return s;
  }

 private:
  QPointer<TypingPictureGrid> grid_;
  int place_;
};

// The grid: a list whose children are its items, in reading order.
class PictureGridAccessible : public QAccessibleWidget {
 public:
  explicit PictureGridAccessible(TypingPictureGrid* grid)
      : QAccessibleWidget(grid, QAccessible::List) {}
  ~PictureGridAccessible() override {
    for (QAccessible::Id id : items_) QAccessible::deleteAccessibleInterface(id);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QStringLiteral("字根练习区");
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return grid()->itemCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    while (static_cast<int>(items_.size()) <= index)
      items_.push_back(QAccessible::registerAccessibleInterface(
          new PictureItemAccessible(grid(), static_cast<int>(items_.size()))));
    return QAccessible::accessibleInterface(items_[static_cast<std::size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (QAccessible::accessibleInterface(items_[i]) == child) return static_cast<int>(i);
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint at = grid()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < childCount(); ++i)
      if (grid()->itemRect(i).contains(at)) return child(i);
    return nullptr;
  }

 private:
  TypingPictureGrid* grid() const { return static_cast<TypingPictureGrid*>(widget()); }
  mutable std::vector<QAccessible::Id> items_;
};

QAccessibleInterface* pictureGridFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("TypingPictureGrid"))
    if (auto* grid = qobject_cast<TypingPictureGrid*>(object))
      return new PictureGridAccessible(grid);
  return nullptr;
}

}  // namespace

TypingPictureGrid::TypingPictureGrid(QWidget* parent)
    : QWidget(parent), tick_(quorvel::glyphs::tick()), cross_(quorvel::glyphs::cross()) {
  static const bool factory = (QAccessible::installFactory(pictureGridFactory), true);
  (void)factory;
  setObjectName(QStringLiteral("StringGrid_typer"));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TypingPictureGrid::setModel(const quorvel::PictureGrid* grid,
                                 const std::vector<QPixmap>* roots,
                                 const std::array<std::string, quorvel::kRootCount>* names) {
  grid_ = grid;
  roots_ = roots;
  names_ = names;
  update();
}

int TypingPictureGrid::itemCount() const {
  if (!grid_) return 0;
  const int left = static_cast<int>(grid_->roots.size()) - grid_->pageFirst;
  return std::clamp(left, 0, quorvel::PictureGrid::Columns * quorvel::PictureGrid::Rows / 2);
}

QRect TypingPictureGrid::itemRect(int place) const {
  const int column = place % quorvel::PictureGrid::Columns;
  const int row = 2 * (place / quorvel::PictureGrid::Columns);
  return QRect(column * kColumnWidth, row * kRowHeight, kColumnWidth, 2 * kRowHeight);
}

bool TypingPictureGrid::itemIsCurrent(int place) const {
  return grid_ && grid_->pageFirst + place == grid_->current;
}

QString TypingPictureGrid::itemText(int place) const {
  if (!grid_ || place < 0 || place >= itemCount()) return {};
  const int root = grid_->roots[static_cast<std::size_t>(grid_->pageFirst + place)];
  QString name = QStringLiteral("字根 %1").arg(root + 1);
  if (names_ && root >= 0 && root < quorvel::kRootCount &&
      !(*names_)[static_cast<std::size_t>(root)].empty())
    name = QString::fromStdString((*names_)[static_cast<std::size_t>(root)]);
  const int column = place % quorvel::PictureGrid::Columns;
  const int markRow = 2 * (place / quorvel::PictureGrid::Columns) + 1;
  const QString mark = fromGbk(
      grid_->marks[static_cast<std::size_t>(markRow * quorvel::PictureGrid::Columns + column)]);
  QString entry;
  if (mark == QStringLiteral("√"))
    entry = QStringLiteral("，对");
  else if (mark == QStringLiteral("メ"))
    entry = QStringLiteral("，错");
  else if (itemIsCurrent(place))
    entry = QStringLiteral("，当前");
  return QStringLiteral("第 %1 个 %2%3").arg(grid_->pageFirst + place + 1).arg(name, entry);
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
