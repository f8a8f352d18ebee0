#pragma once
// The practice-file chooser of the comparison practice: pick a text file,
// see its content, accept or cancel. Its choice survives between uses.
#include "ui/TextFileDialog.h"

class TForm_Selfile : public quorvel::ui::TextFileDialog {
  Q_OBJECT
 public:
  explicit TForm_Selfile(QWidget* parent = nullptr);
  // Shows the dialog modally; the chosen path when accepted, else empty.
  QString ChoosePracticeFile() { return runChooser(); }

  quorvel::ui::LinkLabel* RzLabel_Ok = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RzLabel_OkClick() { finish(true); }
  void RzLabel_CancelClick() { finish(false); }
};
