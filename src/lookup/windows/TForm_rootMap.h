#pragma once
// The root table: a borderless picture of the whole keyboard with its roots,
// always on top, opened and closed by F4 and the "字根表" button.
#include <QWidget>

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
  QPixmap picture() const { return picture_; }

  QLabel* Image_Map = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Close = nullptr;

 private:
  void RzLabel_CloseClick() { close(); }
  QPixmap picture_;
};
