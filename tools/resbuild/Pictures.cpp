#include "Pictures.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace resbuild {
namespace {

const QString kSans = QStringLiteral("Noto Sans CJK SC");
const QString kSerif = QStringLiteral("Noto Serif CJK SC");
const QString kMing = QStringLiteral("AR PL UMing CN");

QFont font(const QString& family, double pixelSize, int weight = QFont::Normal,
           bool antialias = true) {
  QFont f(family);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  f.setWeight(static_cast<QFont::Weight>(weight));
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
  return f;
}

// The outline of `text` in `f`, with its ink box.
QPainterPath glyphPath(const QString& text, const QFont& f) {
  QPainterPath path;
  path.addText(0, 0, f, text);
  return path;
}

// Draws text so that its ink (not its em box) is centred in `box`, scaled so
// the ink fills at most `fill` of the box. Outlines scale smoothly, which keeps
// all roots at one visual size whatever part of the em square they use.
void drawCentredGlyph(QPainter& p, const QString& text, const QRectF& box, const QString& family,
                      int weight, const QColor& colour, double fill = 0.9, double maxScale = 1.6) {
  QFont f = font(family, 100, weight);
  QPainterPath path = glyphPath(text, f);
  QRectF ink = path.boundingRect();
  if (ink.isEmpty()) return;
  double scale = std::min(box.width() * fill / ink.width(), box.height() * fill / ink.height());
  scale = std::min(scale, maxScale * box.height() / 100.0);  // a dot or a stroke stays small
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.translate(box.center());
  p.scale(scale, scale);
  p.translate(-ink.center());
  p.fillPath(path, colour);
  p.restore();
}

void roundedKey(QPainter& p, const QRectF& r, double radius, const QColor& top,
                const QColor& bottom, const QColor& border, double borderWidth) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.setPen(QPen(border, borderWidth));
  p.setBrush(g);
  p.drawRoundedRect(r, radius, radius);
}

// Deterministic pseudo-random numbers (the same texture on every machine).
struct Lcg {
  std::uint32_t state;
  std::uint32_t next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
  double unit() { return (next() & 0xFFFF) / 65535.0; }
};

}  // namespace

QImage toQImage(const Pixels& pixels) {
  QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      image.setPixel(x, y,
                     0xFF000000u | pixels.rgb[static_cast<std::size_t>(y) * pixels.width + x]);
  return image;
}

static Pixels fromQImage(const QImage& image) {
  Pixels out;
  out.width = image.width();
  out.height = image.height();
  out.rgb.resize(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.rgb[static_cast<std::size_t>(y) * out.width + x] = image.pixel(x, y) & 0xFFFFFFu;
  return out;
}

namespace {

// Draws the glyph at its design size without anti-aliasing, so the font's
// hinting (or its hand-tuned bitmap strike) puts every stroke on whole pixels,
// then centres the ink in the 16 x 16 cell. Returns false if the ink does not fit.
bool drawHintedRoot(const Root& root, const QString& family, int pixelSize, Pixels& out,
                    int* inkSize = nullptr) {
  QImage canvas(48, 48, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  {
    QPainter p(&canvas);
    p.setFont(font(family, pixelSize, QFont::Normal, false));
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, 48, 48), Qt::AlignCenter, QString::fromStdString(root.glyph));
  }
  int left = 48, right = -1, top = 48, bottom = -1;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x)
      if (qGray(canvas.pixel(x, y)) < 128) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  if (right < 0 || right - left + 1 > 16 || bottom - top + 1 > 16) return false;
  const int w = right - left + 1, h = bottom - top + 1;
  if (inkSize) *inkSize = std::max(w, h);
  const int dx = (16 - w) / 2 - left, dy = (16 - h) / 2 - top;
  out.width = out.height = 16;
  out.rgb.assign(256, 0xFFFFFF);
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (qGray(canvas.pixel(x, y)) < 128)
        out.rgb[static_cast<std::size_t>((y + dy) * 16 + x + dx)] = 0x000000;
  return true;
}

}  // namespace

Pixels drawRootBitmap(const Root& root) {
  // Pure black on pure white: white is the transparent colour, and grey
  // fringes would show as a halo on the coloured current cell. The Ming face
  // carries hand-tuned 16-pixel bitmaps with one-pixel strokes, the clearest
  // form at this size; the outline faces stand in for roots it lacks.
  Pixels out;
  for (const QString& family : {kMing, kSans}) {
    QRawFont raw = QRawFont::fromFont(font(family, 16));
    bool covered = true;
    for (char32_t c : QString::fromStdString(root.glyph).toUcs4())
      covered = covered && raw.supportsCharacter(c);
    if (!covered) continue;
    for (int size = 16; size >= 12; --size) {
      int ink = 0;
      if (!drawHintedRoot(root, family, size, out, &ink)) continue;
      // A small component (a dot pair, a lid) is drawn larger so that its
      // strokes stay apart, as long as it stays clearly smaller than a full root.
      if (ink <= 9) {
        Pixels larger;
        int largerInk = 0;
        for (int bigger = 22; bigger > size; --bigger)
          if (drawHintedRoot(root, family, bigger, larger, &largerInk) && largerInk <= 12)
            return larger;
      }
      return out;
    }
  }
  // Last resort: an outline reduced from four times the size.
  constexpr int kScale = 4;
  QImage big(16 * kScale, 16 * kScale, QImage::Format_RGB32);
  big.fill(Qt::white);
  {
    QPainter p(&big);
    drawCentredGlyph(p, QString::fromStdString(root.glyph), QRectF(0, 0, 16 * kScale, 16 * kScale),
                     kSans, QFont::Medium, Qt::black, 0.92, 1.1);
  }
  out.width = out.height = 16;
  out.rgb.assign(256, 0xFFFFFF);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      int ink = 0;
      for (int dy = 0; dy < kScale; ++dy)
        for (int dx = 0; dx < kScale; ++dx)
          ink += 255 - qGray(big.pixel(x * kScale + dx, y * kScale + dy));
      if (ink > 255 * kScale * kScale * 3 / 10)
        out.rgb[static_cast<std::size_t>(y) * 16 + x] = 0x000000;
    }
  }
  return out;
}

Pixels drawRootBitmapAt(const Root& root, int size, const Pixels* handDrawn) {
  Pixels out;
  out.width = out.height = size;
  out.rgb.assign(static_cast<std::size_t>(size) * size, 0xFFFFFF);
  if (handDrawn && handDrawn->width > 0 && handDrawn->height > 0) {
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        out.rgb[static_cast<std::size_t>(y) * size + x] =
            handDrawn
                ->rgb[static_cast<std::size_t>(y * handDrawn->height / size) * handDrawn->width +
                      x * handDrawn->width / size];
    return out;
  }
  // Pure black on white as at 16, from an outline four times the size; at
  // these sizes the sans face keeps thin strokes apart.
  QString family = kSans;
  {
    QRawFont raw = QRawFont::fromFont(font(kSans, size));
    for (char32_t c : QString::fromStdString(root.glyph).toUcs4())
      if (!raw.supportsCharacter(c)) family = kMing;
  }
  constexpr int kScale = 4;
  QImage big(size * kScale, size * kScale, QImage::Format_RGB32);
  big.fill(Qt::white);
  {
    QPainter p(&big);
    drawCentredGlyph(p, QString::fromStdString(root.glyph),
                     QRectF(0, 0, size * kScale, size * kScale), family, QFont::Normal, Qt::black,
                     0.92, 1.1);
  }
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int ink = 0;
      for (int dy = 0; dy < kScale; ++dy)
        for (int dx = 0; dx < kScale; ++dx)
          ink += 255 - qGray(big.pixel(x * kScale + dx, y * kScale + dy));
      if (ink > 255 * kScale * kScale * 3 / 10)
        out.rgb[static_cast<std::size_t>(y) * size + x] = 0x000000;
    }
  }
  return out;
}

Pixels drawKeyBitmap(char letter) {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(QColor(0xE0, 0xE0, 0xE0));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  // The key's side (darker, lower) and its top face.
  roundedKey(p, QRectF(1.5, 1.5, 29, 29), 4, QColor(0x9A, 0x9A, 0x9A), QColor(0x78, 0x78, 0x78),
             QColor(0x50, 0x50, 0x50), 1.0);
  roundedKey(p, QRectF(4, 3, 24, 22), 3, QColor(0xFF, 0xFF, 0xFF), QColor(0xE4, 0xE4, 0xE4),
             QColor(0xB0, 0xB0, 0xB0), 0.8);
  QString text(QChar(letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter));
  drawCentredGlyph(p, text, QRectF(6, 5, 20, 18), QStringLiteral("DejaVu Sans"), QFont::Bold,
                   QColor(0x10, 0x20, 0x40), 0.8, 2.0);
  p.end();
  return fromQImage(image);
}

QImage drawBackground() {
  constexpr int kSize = 128;
  constexpr double kTwoPi = 6.283185307179586;
  // Sums of waves whose periods divide the tile make it seamless; fine grain
  // is smoothed with wrap-around so that it tiles too.
  Lcg rng{20260101u};
  struct Wave {
    int fx, fy;
    double amp, phase;
  };
  std::vector<Wave> waves;
  for (int i = 0; i < 14; ++i) {
    int fx = static_cast<int>(rng.next() % 5);
    int fy = static_cast<int>(rng.next() % 5);
    if (fx == 0 && fy == 0) fy = 1;
    waves.push_back({fx, fy, 0.6 + rng.unit(), rng.unit() * kTwoPi});
  }
  std::vector<double> grain(kSize * kSize);
  for (auto& g : grain) g = rng.unit() - 0.5;
  std::vector<double> smooth(kSize * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double sum = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          sum += grain[static_cast<std::size_t>(((y + dy + kSize) % kSize) * kSize +
                                                (x + dx + kSize) % kSize)];
      smooth[static_cast<std::size_t>(y * kSize + x)] = sum / 9.0;
    }
  }
  QImage image(kSize, kSize, QImage::Format_RGB32);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double v = 0;
      for (const auto& w : waves)
        v += w.amp * std::cos(kTwoPi * (w.fx * x + w.fy * y) / kSize + w.phase);
      v = v / 14.0 * 4.0 + smooth[static_cast<std::size_t>(y * kSize + x)] * 10.0;
      // A light, slightly warm grey a little brighter than the windows' 0xE0E0E0.
      auto channel = [&](double base) {
        return std::clamp(static_cast<int>(std::lround(base + v)), 0, 255);
      };
      image.setPixel(x, y, qRgb(channel(236), channel(235), channel(230)));
    }
  }
  return image;
}

QImage drawRootMap(const std::vector<Root>& roots) {
  // Laid out on a 1100 x 416 canvas and drawn at 878 x 332, twice the
  // window's design size of 439 x 166: sharp when the window shrinks it, and
  // still narrower than a 1024-pixel screen when shown at full size.
  constexpr int kWidth = 1100, kHeight = 416;
  constexpr int kOutWidth = 878, kOutHeight = 332;
  QImage image(kOutWidth, kOutHeight, QImage::Format_RGB32);
  image.fill(QColor(0xEE, 0xEE, 0xEA));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.scale(static_cast<double>(kOutWidth) / kWidth, static_cast<double>(kOutHeight) / kHeight);

  const char* rows[3] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const double margin = 8, gap = 6;
  const double keyW = (kWidth - 2 * margin - 9 * gap) / 10.0;
  const double keyH = (kHeight - 2 * margin - 2 * gap) / 3.0;
  const double rowOffset[3] = {0, keyW * 0.28, keyW * 0.78};

  for (int r = 0; r < 3; ++r) {
    for (int i = 0; rows[r][i]; ++i) {
      char key = rows[r][i];
      QRectF cap(margin + rowOffset[r] + i * (keyW + gap), margin + r * (keyH + gap), keyW, keyH);
      roundedKey(p, cap, 8, QColor(0xFF, 0xFF, 0xFD), QColor(0xE2, 0xE2, 0xDC),
                 QColor(0x8A, 0x8A, 0x84), 1.6);
      auto keyRoots = rootsOfKey(roots, key);
      // The key letter takes the first slot of the key's grid, the roots the rest.
      int slotCount = static_cast<int>(keyRoots.size()) + 1;
      QRectF area = cap.adjusted(5, 5, -5, -5);
      // Rows of two, three or four: the roots read left to right like text.
      int cols = slotCount <= 4 ? 2 : slotCount <= 9 ? 3 : 4;
      int rowsOfKey = (slotCount + cols - 1) / cols;
      double cw = area.width() / cols, ch = area.height() / rowsOfKey;
      double cell = std::min({cw, ch, 40.0});
      QRectF letterBox(area.left(), area.top(), cw, ch);
      QRectF tag = QRectF(letterBox.center() - QPointF(cell * 0.42, cell * 0.42),
                          QSizeF(cell * 0.84, cell * 0.84));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x2B, 0x5C, 0x9E));
      p.drawRoundedRect(tag, 5, 5);
      drawCentredGlyph(p, QString(QChar(key)), tag, QStringLiteral("DejaVu Sans"), QFont::Bold,
                       Qt::white, 0.62, 2.0);
      for (int k = 0; k < static_cast<int>(keyRoots.size()); ++k) {
        int slot = k + 1;
        QRectF box(area.left() + (slot % cols) * cw, area.top() + (slot / cols) * ch, cw, ch);
        QRectF square(box.center() - QPointF(cell / 2, cell / 2), QSizeF(cell, cell));
        drawCentredGlyph(p, QString::fromStdString(keyRoots[static_cast<std::size_t>(k)]->glyph),
                         square, kSans, QFont::Medium, QColor(0x10, 0x10, 0x10), 0.84, 1.0);
      }
    }
  }
  // The free corner right of the bottom row names the table.
  QRectF legend(margin + rowOffset[2] + 7 * (keyW + gap) + 4, margin + 2 * (keyH + gap), 0, keyH);
  legend.setRight(kWidth - margin);
  // The window lays its "关闭" link over the lower right corner: the legend
  // ends above it, its title in the upper half and two lines of text below.
  legend.setBottom(legend.bottom() - 34);
  const QRectF text = legend.adjusted(6, 6, -6, 0);
  const double titleH = text.height() * 0.48, lineH = text.height() * 0.26;
  drawCentredGlyph(p, QStringLiteral("岚川形音 字根表"),
                   QRectF(text.left(), text.top(), text.width(), titleH), kSerif, QFont::Bold,
                   QColor(0x2B, 0x5C, 0x9E), 0.9, 2.0);
  drawCentredGlyph(p, QStringLiteral("蓝底字母为键位"),
                   QRectF(text.left(), text.top() + titleH, text.width(), lineH), kSans,
                   QFont::Normal, QColor(0x50, 0x50, 0x50), 0.8, 2.0);
  drawCentredGlyph(p, QStringLiteral("其后为该键的字根"),
                   QRectF(text.left(), text.top() + titleH + lineH, text.width(), lineH), kSans,
                   QFont::Normal, QColor(0x50, 0x50, 0x50), 0.8, 2.0);
  p.end();
  return image;
}

QImage drawRootGroups(const std::vector<Root>& roots, const std::vector<RootGroup>& groups) {
  constexpr int kWidth = 834, kHeight = 386;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(QColor(0xF4, 0xF4, 0xF0));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  if (groups.empty()) return image;

  // Each group is a framed row of roots, each root with its key letter under
  // it. The tip window shows the picture at half this size, so the letter is
  // a bold capital about a third of the box high: some ten pixels on screen,
  // as readable as the window's own text.
  const int cols = groups.size() > 12 ? 3 : 2;
  const int rowsCount = static_cast<int>((groups.size() + cols - 1) / cols);
  const double margin = 8, gap = 8, rootGap = 8;
  const double boxW = (kWidth - 2 * margin - (cols - 1) * gap) / cols;
  const double boxH = (kHeight - 2 * margin - (rowsCount - 1) * gap) / rowsCount;
  // One glyph size for all groups, the largest the fullest group allows.
  std::size_t most = 0;
  for (const auto& group : groups) most = std::max(most, group.glyphs.size());
  const double letterH = boxH * 0.38;
  const double glyph =
      std::min(boxH * 0.54,
               (boxW - 12 - (static_cast<double>(most) - 1) * rootGap) / static_cast<double>(most));
  const double top = (boxH - glyph - letterH) / 2;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    int c = static_cast<int>(g) % cols, r = static_cast<int>(g) / cols;
    QRectF box(margin + c * (boxW + gap), margin + r * (boxH + gap), boxW, boxH);
    p.setPen(QPen(QColor(0xA8, 0xA8, 0xA0), 1.4));
    p.setBrush(QColor(0xFF, 0xFF, 0xFC));
    p.drawRoundedRect(box, 8, 8);
    const auto& glyphs = groups[g].glyphs;
    const double count = static_cast<double>(glyphs.size());
    const double used = count * glyph + (count - 1) * rootGap;
    double x = box.left() + (box.width() - used) / 2;
    for (const auto& root : glyphs) {
      QRectF glyphBox(x, box.top() + top, glyph, glyph);
      drawCentredGlyph(p, QString::fromStdString(root), glyphBox, kSans, QFont::Medium,
                       QColor(0x10, 0x10, 0x10), 0.9, 1.0);
      QRectF letterBox(x, glyphBox.bottom(), glyph, letterH);
      drawCentredGlyph(p, QString(QChar(keyOfGlyph(roots, root))), letterBox,
                       QStringLiteral("DejaVu Sans"), QFont::Bold, QColor(0x2B, 0x5C, 0x9E), 0.92,
                       2.0);
      x += glyph + rootGap;
    }
  }
  p.end();
  return image;
}

QImage drawIcon() {
  QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  // Soft shadow, the key's side, then its face.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 50));
  p.drawRoundedRect(QRectF(18, 26, 226, 226), 34, 34);
  roundedKey(p, QRectF(12, 12, 226, 226), 34, QColor(0x6E, 0x86, 0xA8), QColor(0x3B, 0x52, 0x74),
             QColor(0x2A, 0x3A, 0x55), 3);
  roundedKey(p, QRectF(30, 22, 190, 180), 24, QColor(0xFF, 0xFF, 0xFB), QColor(0xE6, 0xE9, 0xEE),
             QColor(0x9C, 0xA8, 0xB8), 2);
  drawCentredGlyph(p, QStringLiteral("奎"), QRectF(44, 32, 162, 160), kSerif, QFont::Bold,
                   QColor(0xA0, 0x1C, 0x1C), 0.86, 2.0);
  p.end();
  return image;
}

std::string encodeJpeg(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", 92);
  return bytes.toStdString();
}

std::string encodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

std::vector<std::string> missingGlyphs(const std::vector<Root>& roots) {
  std::vector<std::string> missing;
  const QRawFont ming = QRawFont::fromFont(QFont(kMing)), sans = QRawFont::fromFont(QFont(kSans));
  for (const auto& r : roots) {
    for (char32_t c : QString::fromStdString(r.glyph).toUcs4()) {
      if (!ming.supportsCharacter(c) && !sans.supportsCharacter(c)) {
        missing.push_back(r.glyph);
        break;
      }
    }
  }
  return missing;
}

}  // namespace resbuild
