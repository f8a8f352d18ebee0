#pragma once
// Pictures drawn at build time with QtGui and the installed CJK fonts, so they
// always agree with the root table.
#include <QImage>
#include <string>
#include <vector>

#include "Bmp.h"
#include "Roots.h"

namespace resbuild {

// A 16 x 16 root picture: the root in black on white (white is transparent
// where the tutor shows it).
Pixels drawRootBitmap(const Root& root);
// The same root for a screen of 1.5 or 2 device pixels a pixel: `size` x
// `size` (24 or 32), drawn from the font's outline, or the hand-drawn 16 x 16
// picture (when given) scaled by whole and half pixels.
Pixels drawRootBitmapAt(const Root& root, int size, const Pixels* handDrawn = nullptr);
// A 32 x 32 key cap with the key's upper-case letter, on the window grey.
Pixels drawKeyBitmap(char letter);
// A quiet, light, seamlessly tileable paper texture (128 x 128).
QImage drawBackground();
// The root table: a keyboard whose 26 letter keys show their roots (878 x 332).
QImage drawRootMap(const std::vector<Root>& roots);
// Look-alike roots grouped side by side with their keys (834 x 386).
QImage drawRootGroups(const std::vector<Root>& roots, const std::vector<RootGroup>& groups);
// The program icon, 256 x 256 with transparency.
QImage drawIcon();

std::string encodeJpeg(const QImage& image);
std::string encodePng(const QImage& image);
QImage toQImage(const Pixels& pixels);
// Glyphs none of the installed fonts can draw (they would show as boxes).
std::vector<std::string> missingGlyphs(const std::vector<Root>& roots);

}  // namespace resbuild
