#pragma once
// The practice-file chooser of the comparison practice: pick a text file,
// see its content, accept or cancel. Its choice survives between uses.
#include <functional>

#include "app/Widgets.h"

class QTextEdit;

class TForm_Selfile : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  explicit TForm_Selfile(QWidget* parent = nullptr);
  // Shows the dialog modally; the chosen path when accepted, else empty.
  QString ChoosePracticeFile();
  // The open-file dialog; replaceable so a test can answer it.
  void setOpenDialog(std::function<QString(QWidget*)> dialog) { openDialog_ = std::move(dialog); }
  // What a file picked in the open dialog does: name, path label, preview.
  void pickFile(const QString& path);
  const QString& fileName() const { return FFileName; }

  QLabel* RzLabel_SelFile = nullptr;
  quorvel::ui::TransparentButton* RzToolbarButton_SelFile = nullptr;
  QLabel* RzLabel2 = nullptr;
  QLabel* RzLabel_SelFileName = nullptr;
  QTextEdit* RzMemo_PreView = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Ok = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Cancel = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RzToolbarButton_SelFileClick();
  void RzLabel_OkClick();
  void RzLabel_CancelClick();
  QString FFileName;
  bool FAccepted = false;
  std::function<QString(QWidget*)> openDialog_;
};
