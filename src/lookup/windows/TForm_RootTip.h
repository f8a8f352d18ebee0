#pragma once
// The root study tip: the root study text and a picture of similar roots
// grouped together (F2 during the root drill).
#include "platform/ResourceLibrary.h"
#include "ui/Widgets.h"

class QTextEdit;

class TForm_RootTip : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  TForm_RootTip(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);
  void showRootTip();

  QTextEdit* RzMemo_Tip = nullptr;
  QLabel* RzLabel_preview = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Close = nullptr;
  QLabel* Image_Root = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  quorvel::platform::ResourceLibrary library_;
};
