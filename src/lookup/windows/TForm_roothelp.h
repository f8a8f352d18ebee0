#pragma once
// The root hint: one key with its picture and the root study text (F1
// during the root drill).
#include "platform/ResourceLibrary.h"
#include "ui/Widgets.h"

class QTextEdit;

class TForm_roothelp : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  TForm_roothelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);
  // Fills the window for a key letter ('A'..'Z') without showing it.
  void fill(char keyLetter);
  void showRootHint(char keyLetter);

  QTextEdit* RzMemo_Tip = nullptr;
  QLabel* Image_Key = nullptr;
  quorvel::ui::BlinkLabel* RzLabel_Char = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Close = nullptr;

 private:
  quorvel::platform::ResourceLibrary library_;
};
