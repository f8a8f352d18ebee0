#pragma once
// The test settings dialog shown before every test: user name, minutes for a
// test by time, and the test's text file with a preview. Its choices survive
// between uses.
#include <string>

#include "practice/ExamSettings.h"
#include "ui/TextFileDialog.h"

class QLineEdit;
class QSpinBox;

class TForm_ExamSet : public quorvel::ui::TextFileDialog {
  Q_OBJECT
 public:
  explicit TForm_ExamSet(QWidget* parent = nullptr);
  // Shows the dialog modally for a test by time (mode 0, minutes asked) or
  // by quantity (mode 1). When accepted, the user name and, by time, the
  // minutes go into `settings` and the test file is returned; otherwise
  // `settings` stays as it was and the result is empty.
  QString RunExamSettings(quorvel::TExamSettings& settings, int mode);

  QLabel* RzLabel_Name = nullptr;
  QLineEdit* RzEdit_Name = nullptr;
  QLabel* RzLabel_Time = nullptr;
  QSpinBox* RzNumericEdit_Time = nullptr;
  QLabel* RzLabel_Minute = nullptr;
  quorvel::ui::LinkLabel* RzLabel_OK = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RzLabel_OKClick();
  void RzLabel_CancelClick() { finish(false); }
  void showTimeControls(bool shown);

  std::string FUserName;  // GBK, as accepted last
  int FMinutes = 0;
};
