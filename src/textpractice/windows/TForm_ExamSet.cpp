#include "textpractice/windows/TForm_ExamSet.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>

TForm_ExamSet::TForm_ExamSet(QWidget* parent)
    : TextFileDialog(
          parent, "Form_ExamSet", QString(), QSize(366, 267),
          Places{QRect(9, 42, 114, 20), QRect(10, 43, 112, 18), QRect(10, 70, 345, 16),
                 QRect(10, 91, 345, 145), QRect(232, 242, 56, 20), QRect(300, 242, 56, 20)}) {
  auto* nameCaption = new QLabel(QStringLiteral("用户名："), this);
  nameCaption->move(10, 15);
  RzEdit_Name = new QLineEdit(this);
  RzEdit_Name->setObjectName(QStringLiteral("RzEdit_Name"));
  RzEdit_Name->setGeometry(70, 12, 110, 21);
  auto* timeCaption = new QLabel(QStringLiteral("测验时间(分钟)："), this);
  timeCaption->move(150 + 40, 15);
  timeCaption->adjustSize();
  RzNumericEdit_Time = new QSpinBox(this);
  RzNumericEdit_Time->setObjectName(QStringLiteral("RzNumericEdit_Time"));
  RzNumericEdit_Time->setRange(1, 200);
  RzNumericEdit_Time->setValue(1);
  RzNumericEdit_Time->setGeometry(290, 12, 67, 21);
  RzNumericEdit_Time->setToolTip(QStringLiteral("测验时间"));
  connect(RzLabel_Ok, &quorvel::ui::LinkLabel::clicked, this, &TForm_ExamSet::RzLabel_OkClick);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->watch(this);
}

QString TForm_ExamSet::runExamSettings(bool byTime) {
  RzNumericEdit_Time->setEnabled(byTime);
  return runChooser();
}

QString TForm_ExamSet::userName() const { return RzEdit_Name->text().trimmed(); }
int TForm_ExamSet::minutes() const { return RzNumericEdit_Time->value(); }

void TForm_ExamSet::RzLabel_OkClick() {
  if (userName().isEmpty()) {
    QMessageBox::information(this, QStringLiteral("提示"), QStringLiteral("用户名不能为空。"));
    return;
  }
  finish(true);
}

void TForm_ExamSet::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    finish(false);
  else
    TextFileDialog::keyPressEvent(event);
}
