#pragma once
// The About window: product, edition, version and facts about the computer.
#include "platform/ResourceLibrary.h"
#include "ui/Widgets.h"

class QFrame;

class TForm_About : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  TForm_About(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);

  QWidget* RzPanel_About = nullptr;
  QLabel* LblTitle = nullptr;
  QWidget* RzBackground_About = nullptr;
  QLabel* Image_Mylogo = nullptr;
  QLabel* RzLabel_Title = nullptr;
  QLabel* RzLabel_version = nullptr;
  QLabel* RzLabel2 = nullptr;
  QLabel* Image_Logo = nullptr;
  QFrame* Bevel1 = nullptr;
  QFrame* Bevel2 = nullptr;
  QLabel* RzLabel_Os = nullptr;
  QLabel* RzLabel_memory = nullptr;
  QLabel* RzLabel_Ip = nullptr;
  quorvel::ui::TransparentButton* RzBmpButton_close = nullptr;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QImage texture_;
};
