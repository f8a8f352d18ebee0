#pragma once
// The root table: a borderless picture of the whole keyboard with its roots,
// always on top, opened and closed by F4 and the "字根表" button. It never
// takes the keyboard from the practice: it is shown without being activated,
// gives the activation back to its owner when a click or a drag gave it, and
// hands on any key that still reaches it.
#include <QPixmap>
#include <QWidget>
#include <string>

#include "platform/ResourceLibrary.h"

class QLabel;
namespace quorvel::ui {
class LinkLabel;
class WindowDragger;
}  // namespace quorvel::ui

class TForm_rootMap : public QWidget {
  Q_OBJECT
 public:
  TForm_rootMap(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);
  // The picture is read with the others at start-up but decoded only when
  // first asked for: most runs never show it. Null when it cannot be read.
  QPixmap picture();
  QSize pictureSize() const { return pictureSize_; }
  // Where the table goes for an owner window at `owner` (its frame) on a
  // screen whose work area is `area`: below the owner when it fits there,
  // else above, else right or left of it, else the place that covers the
  // least of the owner's lower part (candidate line, score line), always
  // inside the work area.
  static QPoint placeFor(QSize size, const QRect& owner, const QRect& area);

  QLabel* Image_Map = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Close = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void RzLabel_CloseClick() { close(); }
  std::string jpeg_;
  QSize pictureSize_;
  QPixmap picture_;
};
