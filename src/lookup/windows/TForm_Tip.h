#pragma once
// The study tip window shared by the character, word and general tips. It
// reloads its text every time it is shown.
#include "platform/ResourceLibrary.h"
#include "ui/Widgets.h"

class QTextEdit;

class TForm_Tip : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  TForm_Tip(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);
  // Tip kind 1 "chartip", 2 "wordtip", 3 "Texttip"; shown modally.
  void showTip(int tipKind);
  // Loads the tip without showing the window.
  void loadTip(int tipKind);

  QTextEdit* RzMemo_Tip = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Close = nullptr;

 private:
  quorvel::platform::ResourceLibrary library_;
};
