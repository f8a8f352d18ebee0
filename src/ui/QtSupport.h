#pragma once
// Small helpers shared by every window: text conversion at the display edge,
// the 宋体 font, pictures from the resource library, and the colours the
// windows share.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <string>
#include <string_view>

#include "platform/Jpeg.h"
#include "platform/ResourceLibrary.h"

namespace quorvel::ui {

inline const QColor kFormColour{0xE0, 0xE0, 0xE0};
inline const QColor kHoverColour{0x91, 0xDD, 0xF7};
inline const QColor kLinkColour{0x00, 0x80, 0xC0};
inline const QColor kNavy{0x00, 0x00, 0x80};
inline const QColor kBlinkBlue{0x00, 0x00, 0xFF};
inline QColor rgb(std::uint32_t value) {
  return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

// GBK bytes to a QString, and back (unrepresentable characters become '?').
QString fromGbk(std::string_view gbk);
std::string toGbk(const QString& text);
// CR and CR LF line ends as the tutor's texts have them, turned into '\n'.
QString withNewlines(QString text);

// "宋体" at a pixel size; the alias installed by installFontSubstitutions
// makes it a Song face on any Linux desktop.
QFont songFont(int pixelSize, bool bold = false);
// Maps "宋体" and "SimSun" to the Song faces a Linux desktop has, so Chinese
// never falls back to empty boxes even before the fontconfig alias is installed.
void installFontSubstitutions();

QImage toQImage(const platform::RgbImage& image);
// A JPEG picture from its bytes; a null image when they do not decode.
QImage jpegImage(std::string_view bytes);
// A JPEG picture of the resource library; a null image when the library, the
// entry or the picture is missing or broken.
QImage libraryJpeg(const platform::ResourceLibrary& library, std::string_view name);
// A picture of the resource library stored as a Windows bitmap or a JPEG.
QImage libraryPicture(const platform::ResourceLibrary& library, std::string_view type,
                      std::string_view name);
// A TIPDATA text of the resource library (GBK in the library); empty when missing.
QString libraryTip(const platform::ResourceLibrary& library, std::string_view name,
                   bool* found = nullptr);

}  // namespace quorvel::ui
