#pragma once
// Shows a FrameView on the frame's widgets, changing only what changed since
// the last time. The view is the one source of truth for what the frame
// shows: cells, picture grid, labels, clock, preview, splitter, map picture.
#include <QPixmap>
#include <array>
#include <cstdint>
#include <functional>

#include "practice/FrameView.h"

class QCheckBox;
class QLabel;
class QLCDNumber;
class QProgressBar;
class QSplitter;
class QTextEdit;
class QWidget;
class TypingPictureGrid;

struct FrameWidgets {
  std::array<QLabel*, quorvel::kGridColumns * quorvel::kGridRows> cells{};
  TypingPictureGrid* pictureGrid = nullptr;
  QLabel* pagesInfo = nullptr;
  QLabel* keyplace = nullptr;
  QLabel* wordplace = nullptr;
  QLabel* speed = nullptr;
  QLabel* trainName = nullptr;
  QProgressBar* accuracy = nullptr;
  QLCDNumber* examClock = nullptr;
  QCheckBox* letterMode = nullptr;
  QTextEdit* preview = nullptr;
  QSplitter* textSplitter = nullptr;
  QLabel* map = nullptr;
};

class FrameRenderer {
 public:
  explicit FrameRenderer(const FrameWidgets& widgets) : w_(widgets) {}
  // Draws everything at the next render (after set-up).
  void invalidate() { firstRender_ = true; }
  void render(const quorvel::FrameView& view);
  // Splits the text splitter as the last view asked (also after a resize).
  void applySplitter();
  // The root-table picture: its size, and where to get it the first time it shows.
  void setMapPicture(QSize size, std::function<QPixmap()> picture);
  bool hasMapPicture() const { return !mapSize_.isEmpty(); }
  QSize mapSize() const { return mapSize_; }

 private:
  FrameWidgets w_;
  quorvel::FrameView shown_;
  bool firstRender_ = true;
  std::uint64_t shownRevision_ = ~std::uint64_t{0};
  QSize mapSize_;
  std::function<QPixmap()> mapPicture_;
};
