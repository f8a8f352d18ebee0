#pragma once
// The test settings dialog shown before every test: user name, minutes for a
// test by time, and the test's text file with a preview.
#include "ui/TextFileDialog.h"

class QLineEdit;
class QSpinBox;

class TForm_ExamSet : public quorvel::ui::TextFileDialog {
  Q_OBJECT
 public:
  explicit TForm_ExamSet(QWidget* parent = nullptr);
  // Shows the dialog modally for a test by time (minutes asked) or by
  // quantity; the test file when accepted, else empty.
  QString runExamSettings(bool byTime);
  QString userName() const;
  int minutes() const;

  QLineEdit* RzEdit_Name = nullptr;
  QSpinBox* RzNumericEdit_Time = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RzLabel_OkClick();
};
