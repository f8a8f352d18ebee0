#pragma once
// Small widgets of the practice frame: the picture grid of the root drill,
// the two locked splitters (one with the hot spot that opens and closes the
// selection side), and label helpers.
#include <QLabel>
#include <QSplitter>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "data/PracticeData.h"
#include "practice/FrameView.h"

// StringGrid_typer: the root drill's picture grid, 26 x 10 cells of 22 x 20.
// To assistive technology it is a list of the page's items, each read as its
// place, the root as text and its name, then the entry's mark (right, wrong
// or the one to type) in words.
class TypingPictureGrid : public QWidget {
  Q_OBJECT
 public:
  explicit TypingPictureGrid(QWidget* parent = nullptr);
  void setModel(const quorvel::PictureGrid* grid, const std::vector<QPixmap>* roots,
                const std::array<std::string, quorvel::kRootCount>* names = nullptr);
  static constexpr int kColumnWidth = 22;
  static constexpr int kRowHeight = 20;
  // The items of the page shown, and what each reads as (place 0 first).
  int itemCount() const;
  QString itemText(int place) const;
  QRect itemRect(int place) const;
  bool itemIsCurrent(int place) const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void StringGrid_typerDrawCell(QPainter& painter, int column, int row, const QRect& rect);
  const quorvel::PictureGrid* grid_ = nullptr;
  const std::vector<QPixmap>* roots_ = nullptr;
  const std::array<std::string, quorvel::kRootCount>* names_ = nullptr;
  // The marks belong to the grid: a pixmap must not outlive the application.
  QPixmap tick_, cross_;
};

namespace quorvel::ui {

// The text splitter: locked, with a hot spot in its bar's middle.
class HotSpotSplitter : public QSplitter {
 public:
  HotSpotSplitter(std::function<void()> onHotSpot, QWidget* parent);

 protected:
  QSplitterHandle* createHandle() override;

 private:
  std::function<void()> onHotSpot_;
};

// A splitter whose bar does not move.
class LockedSplitter : public QSplitter {
 public:
  using QSplitter::QSplitter;

 protected:
  QSplitterHandle* createHandle() override;
};

// Keeps a read-only text pane from taking typing, and from taking the
// navigation keys that would lead out of its text (those go on to the frame).
class ReadOnlyPaneFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font);
// Fills the widget's background with a colour of its own.
void setFill(QWidget* widget, QColor colour);

}  // namespace quorvel::ui
