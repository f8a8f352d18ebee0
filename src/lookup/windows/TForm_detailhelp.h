#pragma once
// The code lookup window (F3, "字码互查"): character or word to code in the
// upper panel, code to characters or words in the lower one.
#include "data/CodeTypes.h"
#include "data/PracticeData.h"
#include "lookup/windows/TForm_Charhelp.h"
#include "platform/ResourceLibrary.h"
#include "ui/Widgets.h"

class QComboBox;
class QLineEdit;
class QTextEdit;

class TForm_detailhelp : public quorvel::ui::FormBase, public quorvel::ui::CharCodeFields {
  Q_OBJECT
 public:
  TForm_detailhelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);
  // The tables the searches read: the practice frame's loaded data.
  void setData(const quorvel::PracticeData* data) { data_ = data; }
  void showLookup();
  // The find buttons (and Enter in their fields).
  void RzButtonEdit_chartokeyButtonClick();
  void RzButtonEdit_keytocharButtonClick();

  QWidget* RzPanel1 = nullptr;
  QLineEdit* RzButtonEdit_chartokey = nullptr;
  QLabel* RzLabel_Char = nullptr;
  QWidget* RzPanel2 = nullptr;
  QComboBox* RzComboBox_WordChar = nullptr;
  QLineEdit* RzButtonEdit_keytochar = nullptr;
  QTextEdit* RzMemo_WordChar = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Close = nullptr;

 private:
  void showNoCodes();
  void showCharResult(const quorvel::TCharCodes& codes);
  void showWordResult(const quorvel::TWordCode& word);
  quorvel::platform::ResourceLibrary library_;
  const quorvel::PracticeData* data_ = nullptr;
  bool firstShow_ = true;
};
