#include "ui/QtSupport.h"

#include "platform/Gbk.h"

namespace quorvel::ui {

QString fromGbk(std::string_view gbk) {
  const std::string utf8 = gbk::toUtf8(gbk);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toGbk(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return gbk::fromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString withNewlines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QFont songFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleHint(QFont::Serif);
  return font;
}

void installFontSubstitutions() {
  const QStringList songFaces = {
      QStringLiteral("Noto Serif CJK SC"),  QStringLiteral("Source Han Serif SC"),
      QStringLiteral("AR PL UMing CN"),     QStringLiteral("AR PL UMing TW"),
      QStringLiteral("AR PL SungtiL GB"),   QStringLiteral("Noto Sans CJK SC"),
      QStringLiteral("WenQuanYi Micro Hei")};
  QFont::insertSubstitutions(QStringLiteral("宋体"), songFaces);
  QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces);
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("DejaVu Sans")});
}

QImage toQImage(const platform::RgbImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() < static_cast<std::size_t>(image.width) * image.height * 3)
    return {};
  QImage out(image.rgb.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888);
  return out.copy();  // detach from the vector
}

QImage jpegImage(std::string_view bytes) {
  const auto decoded = platform::decodeJpeg(bytes);
  return decoded ? toQImage(*decoded) : QImage();
}

QImage libraryJpeg(const platform::ResourceLibrary& library, std::string_view name) {
  const platform::ResourceData data = library.read("JPEG", name);
  return data.ok() ? jpegImage(data.bytes) : QImage();
}

QImage libraryPicture(const platform::ResourceLibrary& library, std::string_view type,
                      std::string_view name) {
  const platform::ResourceData data = library.read(type, name);
  if (!data.ok()) return {};
  if (auto bmp = platform::decodeBmp(data.bytes)) return toQImage(*bmp);
  if (auto jpeg = platform::decodeJpeg(data.bytes)) return toQImage(*jpeg);
  return {};
}

QString libraryTip(const platform::ResourceLibrary& library, std::string_view name, bool* found) {
  const platform::ResourceData data = library.read("TIPDATA", name);
  if (found) *found = data.ok();
  if (!data.ok()) return {};
  return withNewlines(fromGbk(data.bytes));
}

}  // namespace quorvel::ui
