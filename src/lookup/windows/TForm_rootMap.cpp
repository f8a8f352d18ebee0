#include "lookup/windows/TForm_rootMap.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <algorithm>

#include "platform/Jpeg.h"
#include "ui/Look.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"

TForm_rootMap::TForm_rootMap(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("Form_rootMap"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setWindowTitle(QStringLiteral("字根提示"));
  setFont(quorvel::ui::songFont(12));
  quorvel::ui::applyTutorPalette(this);
  const quorvel::platform::ResourceData data = library.read("JPEG", "RootMap");
  if (const auto size = data.ok() ? quorvel::platform::jpegSize(data.bytes) : std::nullopt) {
    jpeg_ = data.bytes;
    pictureSize_ = QSize(size->first, size->second);
  }
  QSize size = pictureSize_.isEmpty() ? QSize(439, 166) : pictureSize_;
  // A picture wider than the screen is shown smaller, in its own proportions.
  if (QScreen* s = screen()) {
    const int room = s->availableGeometry().width() - 20;
    if (room > 0 && size.width() > room)
      size = size.scaled(room, size.height(), Qt::KeepAspectRatio);
  }
  setFixedSize(size);
  Image_Map = new QLabel(this);
  Image_Map->setObjectName(QStringLiteral("Image_Map"));
  Image_Map->setAccessibleName(QStringLiteral("字根表"));
  Image_Map->setScaledContents(true);
  Image_Map->setGeometry(0, 0, size.width(), size.height());
  Image_Map->setAlignment(Qt::AlignCenter);
  if (jpeg_.empty()) Image_Map->setText(QStringLiteral("字根表"));
  RzLabel_Close = new quorvel::ui::LinkLabel(this, "RzLabel_Close", QStringLiteral("关闭"),
                                             QRect(size.width() - 48, size.height() - 22, 44, 18));
  RzLabel_Close->setFocusPolicy(Qt::NoFocus);
  connect(RzLabel_Close, &quorvel::ui::LinkLabel::clicked, this,
          &TForm_rootMap::RzLabel_CloseClick);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->watch(this);
  dragger->watch(Image_Map);
}

QPixmap TForm_rootMap::picture() {
  if (picture_.isNull() && !jpeg_.empty()) {
    picture_ = QPixmap::fromImage(quorvel::ui::jpegImage(jpeg_));
    jpeg_.clear();
    jpeg_.shrink_to_fit();
  }
  return picture_;
}

void TForm_rootMap::showEvent(QShowEvent* event) {
  if (Image_Map->pixmap().isNull() && Image_Map->text().isEmpty()) {
    const QPixmap shown = picture();
    if (shown.isNull())
      Image_Map->setText(QStringLiteral("字根表"));  // its header read, its data did not
    else
      Image_Map->setPixmap(shown);
  }
  QWidget::showEvent(event);
}

QPoint TForm_rootMap::placeFor(QSize size, const QRect& owner, const QRect& area) {
  const int gap = 4;
  auto inside = [&](QPoint at) {
    return QPoint(
        std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())),
        std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
  };
  const int centredX = owner.center().x() - size.width() / 2;
  const int centredY = owner.center().y() - size.height() / 2;
  const QPoint tries[] = {
      {centredX, owner.bottom() + 1 + gap},
      {centredX, owner.top() - gap - size.height()},
      {owner.right() + 1 + gap, centredY},
      {owner.left() - gap - size.width(), centredY},
  };
  for (const QPoint& at : tries)
    if (area.contains(QRect(at, size))) return at;
  // No free side: the lower part of the owner (the candidate line and the
  // score line) is what the learner reads while typing; cover as little of
  // it as the screen allows, keeping to the top of the work area.
  const QRect lower(owner.left(), owner.bottom() - owner.height() / 3, owner.width(),
                    owner.height() / 3);
  QPoint best = inside({centredX, area.top()});
  int bestCover =
      QRect(best, size).intersected(lower).width() * QRect(best, size).intersected(lower).height();
  for (const QPoint& at : tries) {
    const QPoint moved = inside(at);
    const QRect covered = QRect(moved, size).intersected(lower);
    const int cover = covered.width() * covered.height();
    if (cover < bestCover) {
      best = moved;
      bestCover = cover;
    }
  }
  return best;
}

bool TForm_rootMap::event(QEvent* event) {
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  switch (event->type()) {
    case QEvent::WindowActivate:
      // A click or a drag (or a platform that ignores the hint) made it the
      // active window: the practice gets the keyboard back.
      if (owner && owner->isVisible()) owner->activateWindow();
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (owner) {
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* target = owner->focusWidget() ? owner->focusWidget() : owner;
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                       static_cast<ushort>(key->count()));
        QCoreApplication::sendEvent(target, &copy);
        return true;
      }
      break;
    default:
      break;
  }
  return QWidget::event(event);
}
