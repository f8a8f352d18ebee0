#include "lookup/windows/TForm_rootMap.h"

#include <QLabel>
#include <QScreen>

#include "platform/Jpeg.h"
#include "ui/Look.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"

TForm_rootMap::TForm_rootMap(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Form_rootMap"));
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
