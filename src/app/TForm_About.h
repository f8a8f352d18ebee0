#pragma once
// The About window: product, edition, version and facts about the computer.
#include <cstdint>

#include "platform/ResourceLibrary.h"
#include "ui/Widgets.h"

class QFrame;
class QLocale;

class TForm_About : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  TForm_About(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);

  QWidget* RzPanel_About = nullptr;
  quorvel::ui::ShadowLabel* LblTitle = nullptr;
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

  // "524,288 KB": the total in whole kilobytes, grouped the locale's way.
  static QString memoryText(std::uint64_t totalBytes, const QLocale& locale);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void placeOnShow() override;

 private:
  void useCaptionColours();
  quorvel::platform::ResourceLibrary library_;
  QImage texture_;  // decoded at the first showing
};
