#include "lookup/windows/TForm_rootMap.h"

#include <QLabel>
#include <QScreen>

#include "ui/Look.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"

TForm_rootMap::TForm_rootMap(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Form_rootMap"));
  setWindowTitle(QStringLiteral("字根提示"));
  setFont(quorvel::ui::songFont(12));
  quorvel::ui::applyTutorPalette(this);
  const QImage image = quorvel::ui::libraryJpeg(library, "RootMap");
  picture_ = QPixmap::fromImage(image);
  QSize size = picture_.isNull() ? QSize(439, 166) : picture_.size();
  // A picture wider than the screen is shown smaller, in its own proportions.
  if (QScreen* s = screen()) {
    const int room = s->availableGeometry().width() - 20;
    if (room > 0 && size.width() > room)
      size = size.scaled(room, size.height(), Qt::KeepAspectRatio);
  }
  setFixedSize(size);
  Image_Map = new QLabel(this);
  Image_Map->setObjectName(QStringLiteral("Image_Map"));
  Image_Map->setScaledContents(true);
  Image_Map->setGeometry(0, 0, size.width(), size.height());
  if (!picture_.isNull())
    Image_Map->setPixmap(picture_);
  else {
    Image_Map->setText(QStringLiteral("字根表"));
    Image_Map->setAlignment(Qt::AlignCenter);
  }
  RzLabel_Close = new quorvel::ui::LinkLabel(this, "RzLabel_Close", QStringLiteral("关闭"),
                                             QRect(size.width() - 48, size.height() - 22, 44, 18));
  connect(RzLabel_Close, &quorvel::ui::LinkLabel::clicked, this,
          &TForm_rootMap::RzLabel_CloseClick);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->watch(this);
  dragger->watch(Image_Map);
}
