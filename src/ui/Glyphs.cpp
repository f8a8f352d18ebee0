#include "ui/Glyphs.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "ui/QtSupport.h"

namespace quorvel::glyphs {
namespace {

QPixmap blank(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void drawGear(QPainter& p, double s) {
  const QPointF c(s / 2, s / 2);
  QPainterPath teeth;
  const int count = 8;
  for (int i = 0; i < count * 2; ++i) {
    const double a = i * M_PI / count;
    const double r = (i % 2 == 0) ? s * 0.46 : s * 0.34;
    const double a1 = a - M_PI / (count * 2.6), a2 = a + M_PI / (count * 2.6);
    const QPointF p1 = c + QPointF(std::cos(a1) * r, std::sin(a1) * r);
    const QPointF p2 = c + QPointF(std::cos(a2) * r, std::sin(a2) * r);
    if (i == 0)
      teeth.moveTo(p1);
    else
      teeth.lineTo(p1);
    teeth.lineTo(p2);
  }
  teeth.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(c, s * 0.14, s * 0.14);
  p.setPen(QPen(QColor(0x30, 0x40, 0x60), 1));
  QLinearGradient g(0, 0, s, s);
  g.setColorAt(0, QColor(0xB0, 0xC4, 0xDE));
  g.setColorAt(1, QColor(0x46, 0x5A, 0x82));
  p.setBrush(g);
  p.drawPath(teeth.subtracted(hole));
}

void drawHelp(QPainter& p, double s) {
  QRadialGradient g(s * 0.4, s * 0.35, s * 0.6);
  g.setColorAt(0, QColor(0x9F, 0xD8, 0xFF));
  g.setColorAt(1, QColor(0x1E, 0x64, 0xB4));
  p.setPen(QPen(QColor(0x10, 0x40, 0x80), 1));
  p.setBrush(g);
  p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(static_cast<int>(s * 0.7));
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
}

void drawAbout(QPainter& p, double s) {
  p.setPen(QPen(QColor(0x2F, 0x6B, 0x2F), 1));
  QLinearGradient g(0, 0, 0, s);
  g.setColorAt(0, QColor(0xB8, 0xF0, 0xB0));
  g.setColorAt(1, QColor(0x3C, 0x9A, 0x3C));
  p.setBrush(g);
  p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(s / 2, s * 0.28), s * 0.07, s * 0.07);
  p.drawRoundedRect(QRectF(s * 0.43, s * 0.42, s * 0.14, s * 0.36), s * 0.04, s * 0.04);
}

void drawExit(QPainter& p, double s) {
  // An open door with an arrow leaving it.
  p.setPen(QPen(QColor(0x60, 0x30, 0x10), 1));
  p.setBrush(QColor(0xC8, 0x8A, 0x50));
  p.drawRect(QRectF(s * 0.12, s * 0.1, s * 0.42, s * 0.8));
  p.setBrush(QColor(0x8B, 0x4A, 0x1C));
  QPolygonF leaf;
  leaf << QPointF(s * 0.12, s * 0.1) << QPointF(s * 0.36, s * 0.18) << QPointF(s * 0.36, s * 0.98)
       << QPointF(s * 0.12, s * 0.9);
  p.drawPolygon(leaf);
  QPen arrow(QColor(0xC0, 0x20, 0x20), s * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(arrow);
  p.drawLine(QPointF(s * 0.5, s * 0.5), QPointF(s * 0.9, s * 0.5));
  p.drawLine(QPointF(s * 0.75, s * 0.35), QPointF(s * 0.9, s * 0.5));
  p.drawLine(QPointF(s * 0.75, s * 0.65), QPointF(s * 0.9, s * 0.5));
}

// Three rising bars with a line over them: the learner's progress.
void drawProgress(QPainter& p, int size) {
  const double s = size;
  p.setPen(QPen(QColor(0x30, 0x40, 0x60), s / 28.0));
  p.drawLine(QPointF(s * 0.12, s * 0.88), QPointF(s * 0.9, s * 0.88));
  const QColor bars[] = {QColor(0x91, 0xDD, 0xF7), QColor(0x6C, 0xC0, 0xE8),
                         QColor(0x38, 0x98, 0xD0)};
  for (int i = 0; i < 3; ++i) {
    const double h = s * (0.25 + 0.2 * i);
    p.fillRect(QRectF(s * (0.18 + 0.24 * i), s * 0.86 - h, s * 0.16, h), bars[i]);
  }
  p.setPen(QPen(QColor(0xD0, 0x40, 0x20), s / 14.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(s * 0.2, s * 0.5), QPointF(s * 0.45, s * 0.38),
                            QPointF(s * 0.62, s * 0.3), QPointF(s * 0.86, s * 0.1)}));
}

// A winding road up to a flag.
void drawPath(QPainter& p, int size) {
  const double s = size;
  QPainterPath road(QPointF(s * 0.2, s * 0.92));
  road.cubicTo(QPointF(s * 0.95, s * 0.78), QPointF(s * 0.05, s * 0.5),
               QPointF(s * 0.62, s * 0.36));
  p.setPen(QPen(QColor(0x6C, 0xC0, 0xE8), s / 7.0, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(road);
  p.setPen(QPen(QColor(0x30, 0x40, 0x60), s / 28.0));
  p.drawLine(QPointF(s * 0.62, s * 0.38), QPointF(s * 0.62, s * 0.06));
  p.setBrush(QColor(0xD0, 0x40, 0x20));
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF(
      {QPointF(s * 0.63, s * 0.06), QPointF(s * 0.9, s * 0.13), QPointF(s * 0.63, s * 0.21)}));
}

}  // namespace

QPixmap toolbar(Toolbar which, int size) {
  QPixmap pixmap = blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (which) {
    case Toolbar::Settings:
      drawGear(p, size);
      break;
    case Toolbar::Help:
      drawHelp(p, size);
      break;
    case Toolbar::About:
      drawAbout(p, size);
      break;
    case Toolbar::Exit:
      drawExit(p, size);
      break;
    case Toolbar::Progress:
      drawProgress(p, size);
      break;
    case Toolbar::Path:
      drawPath(p, size);
      break;
  }
  return pixmap;
}

QPixmap tick() {
  QPixmap pixmap = blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x00, 0x80, 0x20), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
  return pixmap;
}

QPixmap cross() {
  QPixmap pixmap = blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0xC0, 0x10, 0x10), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
  return pixmap;
}

QPixmap find() {
  QPixmap pixmap = blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x30, 0x40, 0x60), 1.8));
  p.setBrush(QColor(0xD8, 0xEC, 0xFF));
  p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
  p.setPen(QPen(QColor(0x30, 0x40, 0x60), 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(13.5, 13.5));
  return pixmap;
}

QPixmap programIcon(int size) {
  // Asked for by several windows at start-up, some at the same size.
  static QHash<int, QPixmap> drawn;
  if (const auto found = drawn.constFind(size); found != drawn.constEnd()) return *found;
  // A key cap carrying 奎, the first character of the tutor's name.
  QPixmap pixmap = blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  QLinearGradient g(0, 0, 0, s);
  g.setColorAt(0, QColor(0xF4, 0xF8, 0xFF));
  g.setColorAt(1, QColor(0x9C, 0xB4, 0xD8));
  p.setPen(QPen(QColor(0x28, 0x3C, 0x64), std::max(1.0, s / 32)));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(s * 0.05, s * 0.05, s * 0.9, s * 0.9), s * 0.16, s * 0.16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 150));
  p.drawRoundedRect(QRectF(s * 0.14, s * 0.1, s * 0.72, s * 0.7), s * 0.1, s * 0.1);
  QFont f = ui::songFont(static_cast<int>(s * 0.56), true);
  p.setFont(f);
  p.setPen(QColor(0xB7, 0x2B, 0x91));
  p.drawText(QRectF(0, 0, s, s * 0.9), Qt::AlignCenter, QStringLiteral("奎"));
  p.end();
  drawn.insert(size, pixmap);
  return pixmap;
}

}  // namespace quorvel::glyphs
