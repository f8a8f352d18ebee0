#pragma once
// The test settings dialog shown before every test: user name, minutes for a
// test by time, and the test's text file with a preview.
#include <functional>

#include "app/Widgets.h"

class QLineEdit;
class QSpinBox;
class QTextEdit;

class TForm_ExamSet : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  explicit TForm_ExamSet(QWidget* parent = nullptr);
  // Shows the dialog modally for a test by time (minutes asked) or by
  // quantity; the test file when accepted, else empty.
  QString runExamSettings(bool byTime);
  void setOpenDialog(std::function<QString(QWidget*)> dialog) { openDialog_ = std::move(dialog); }
  void pickFile(const QString& path);
  QString userName() const;
  int minutes() const;

  QLineEdit* RzEdit_Name = nullptr;
  QSpinBox* RzNumericEdit_Time = nullptr;
  QLabel* RzLabel_SelFile = nullptr;
  quorvel::ui::TransparentButton* RzToolbarButton_SelFile = nullptr;
  QLabel* RzLabel_SelFileName = nullptr;
  QTextEdit* RzMemo_PreView = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Ok = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Cancel = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RzLabel_OkClick();
  QString FFileName;
  bool FAccepted = false;
  std::function<QString(QWidget*)> openDialog_;
};
