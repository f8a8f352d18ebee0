#pragma once
#include "lookup/windows/TForm_Charhelp.h"

class QGroupBox;

class TForm_Wordhelp : public quorvel::ui::CodeHintForm {
  Q_OBJECT
 public:
  TForm_Wordhelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);
  void fill(const quorvel::TCharCodes& codes, const quorvel::TWordCode& word);
  void showWordHint(const quorvel::TCharCodes& codes, const quorvel::TWordCode& word);

  QGroupBox* RzBorder_Word = nullptr;
  QLabel *Image_wordkey1, *Image_wordkey2, *Image_wordkey3, *Image_wordkey4;
  quorvel::ui::BlinkLabel* RzLabel_Word = nullptr;
  QLabel* RzLabel_wordchar = nullptr;
  QGroupBox* RzBorder_Char = nullptr;
  quorvel::ui::BlinkLabel* RzLabel_Char = nullptr;

 private:
  std::array<QLabel*, 4> wordKeys_{};
};
