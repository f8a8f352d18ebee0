#include "app/TForm_Flash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "ui/Glyphs.h"
#include "ui/QtSupport.h"

TForm_Flash::TForm_Flash(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Form_Flash"));
  setFixedSize(269, 160);
  // The splash paints its texts; a screen reader reads them from here.
  setAccessibleName(QStringLiteral("Quorvel 奎沃"));
  setAccessibleDescription(QStringLiteral("岚川形音输入法版本 Version:1.2"));
  texture_ = quorvel::ui::libraryJpeg(library, "Bgjpg");
  icon_ = quorvel::glyphs::programIcon(48);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

void TForm_Flash::paintEvent(QPaintEvent*) {
  // Start-up repaints the splash after each window it creates; the picture
  // never changes, so it is drawn once and copied after that.
  const qreal ratio = devicePixelRatioF();
  if (drawn_.isNull() || drawn_.devicePixelRatio() != ratio) {
    drawn_ = QPixmap(size() * ratio);
    drawn_.setDevicePixelRatio(ratio);
    QPainter p(&drawn_);
    draw(p);
  }
  QPainter(this).drawPixmap(0, 0, drawn_);
}

void TForm_Flash::draw(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  if (!texture_.isNull())
    p.fillRect(rect(), QBrush(texture_));
  else
    p.fillRect(rect(), quorvel::ui::kFormColour);
  p.setPen(QColor(0x50, 0x50, 0x50));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.drawPixmap(16, 18, icon_);

  // Raised text: a light copy up-left, a dark copy down-right, the text on top.
  auto raised = [&p](const QRect& box, const QString& text, const QFont& font, QColor colour) {
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 220));
    p.drawText(box.translated(-1, -1), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(box.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.setPen(colour);
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
  };
  QFont title = quorvel::ui::songFont(24, true);
  title.setItalic(true);
  raised(QRect(76, 14, 180, 30), QStringLiteral("Quorvel"), title, QColor(0xB7, 0x2B, 0x91));
  raised(QRect(76, 46, 180, 30), QStringLiteral("奎沃"), title, QColor(0xB7, 0x2B, 0x91));
  p.setFont(quorvel::ui::songFont(16, true));
  p.setPen(QColor(0x10, 0x20, 0x50));
  p.drawText(QRect(16, 90, 240, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("岚川形音输入法版本"));
  p.setFont(quorvel::ui::songFont(13));
  p.drawText(QRect(16, 122, 240, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Version:1.2"));
}
