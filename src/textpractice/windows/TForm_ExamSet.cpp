#include "textpractice/windows/TForm_ExamSet.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTextEdit>
#include <algorithm>

#include "data/Settings.h"
#include "platform/Gbk.h"
#include "textpractice/windows/PracticeTextPreview.h"
#include "ui/QtSupport.h"

namespace {

constexpr int kMinMinutes = quorvel::kExamMinutes.least;
constexpr int kMaxMinutes = quorvel::kExamMinutes.most;

QLabel* caption(QWidget* parent, const char* name, const QString& text, QPoint at) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(at);
  label->adjustSize();
  return label;
}

}  // namespace

TForm_ExamSet::TForm_ExamSet(QWidget* parent)
    : TextFileDialog(parent, "Form_ExamSet", QString(), QSize(366, 267),
                     Places{QRect(11, 43, 114, 20), QRect(12, 44, 112, 18), QPoint(14, 74),
                            QRect(59, 74, 296, 16), QRect(10, 91, 345, 145),
                            QRect(230, 242, 56, 20), QRect(299, 242, 56, 20)},
                     QStringLiteral("选择测试文件"), "RzLabel_OK",
                     quorvel::textpractice::previewPracticeText) {
  RzLabel_Name = caption(this, "RzLabel_Name", QStringLiteral("用户名："), QPoint(11, 17));
  RzEdit_Name = new QLineEdit(QStringLiteral("用户"), this);
  RzEdit_Name->setObjectName(QStringLiteral("RzEdit_Name"));
  RzEdit_Name->setGeometry(56, 12, 121, 20);
  RzEdit_Name->setToolTip(QStringLiteral("用户名"));
  RzLabel_Time = caption(this, "RzLabel_Time", QStringLiteral("测验时间:"), QPoint(194, 17));
  RzNumericEdit_Time = new QSpinBox(this);
  RzNumericEdit_Time->setObjectName(QStringLiteral("RzNumericEdit_Time"));
  RzNumericEdit_Time->setRange(kMinMinutes, kMaxMinutes);
  RzNumericEdit_Time->setValue(quorvel::kExamMinutes.defaultValue);
  RzNumericEdit_Time->setGeometry(255, 12, 67, 21);
  RzNumericEdit_Time->setToolTip(QStringLiteral("测验时间"));
  RzLabel_Minute = caption(this, "RzLabel_Minute", QStringLiteral("分钟"), QPoint(329, 17));
  RzEdit_Name->installEventFilter(this);
  RzNumericEdit_Time->installEventFilter(this);

  RzLabel_OK = okLabel();
  connect(RzLabel_OK, &quorvel::ui::LinkLabel::clicked, this, &TForm_ExamSet::RzLabel_OKClick);
  // Tab goes down the dialog: the name, the minutes, the file, OK, Cancel.
  setTabOrder(RzEdit_Name, RzNumericEdit_Time);
  setTabOrder(RzNumericEdit_Time, RzToolbarButton_SelFile);
  setTabOrder(RzToolbarButton_SelFile, RzMemo_PreView);
  setTabOrder(RzMemo_PreView, RzLabel_OK);
  setTabOrder(RzLabel_OK, RzLabel_Cancel);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  for (QWidget* body :
       {static_cast<QWidget*>(this), static_cast<QWidget*>(RzLabel_Name),
        static_cast<QWidget*>(RzLabel_Time), static_cast<QWidget*>(RzLabel_Minute),
        static_cast<QWidget*>(RzLabel_SelFileName), static_cast<QWidget*>(RzLabel2)})
    dragger->watch(body);
}

QString TForm_ExamSet::RunExamSettings(quorvel::TExamSettings& settings, int mode) {
  const bool byTime = mode == 0;
  showTimeControls(byTime);
  // Minutes are 0 until a test by time was first accepted; the edit shows
  // the nearest value it can hold.
  if (byTime) RzNumericEdit_Time->setValue(quorvel::kExamMinutes.clamp(settings.minutes));
  if (!settings.userName.empty()) RzEdit_Name->setText(quorvel::ui::fromGbk(settings.userName));
  RzEdit_Name->setFocus();
  const QString file = runChooser();
  if (file.isEmpty()) return {};
  settings.userName = FUserName;
  if (byTime) settings.minutes = FMinutes;
  return file;
}

void TForm_ExamSet::showTimeControls(bool shown) {
  RzLabel_Time->setVisible(shown);
  RzNumericEdit_Time->setVisible(shown);
  RzLabel_Minute->setVisible(shown);
}

void TForm_ExamSet::RzLabel_OKClick() {
  if (RzEdit_Name->text().trimmed().isEmpty()) {
    quorvel::ui::messageBox(this, QMessageBox::Information, QStringLiteral("提示"),
                            QStringLiteral("用户名不能为空。"), "MessageBox_EmptyName");
    RzEdit_Name->setFocus();
    return;
  }
  if (!FFileName.isEmpty()) {
    // The name is kept as typed, blanks and all, but never cut inside a
    // character: the test's report shows it as GBK text.
    const std::string gbk = quorvel::ui::toGbk(RzEdit_Name->text());
    FUserName = std::string(quorvel::gbk::head(gbk, quorvel::TExamSettings::kNameMax));
    if (!RzNumericEdit_Time->isHidden()) FMinutes = RzNumericEdit_Time->value();
  }
  finish(true);  // counts as cancelled when no file was picked
}

void TForm_ExamSet::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    RzLabel_CancelClick();
  else
    TextFileDialog::keyPressEvent(event);
}

bool TForm_ExamSet::eventFilter(QObject* watched, QEvent* event) {
  // The edits never see Esc (it cancels the dialog) nor Enter (it moves on).
  if (event->type() == QEvent::KeyPress &&
      (watched == RzEdit_Name || watched == RzNumericEdit_Time)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
      RzLabel_CancelClick();
      return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == RzNumericEdit_Time) RzNumericEdit_Time->interpretText();
      focusNextChild();
      return true;
    }
  }
  // Tabbing into the name keeps the cursor instead of selecting the whole
  // name, which a single typed letter would then replace.
  if (event->type() == QEvent::FocusIn && watched == RzEdit_Name) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
      QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
      QCoreApplication::sendEvent(RzEdit_Name, &plain);
      return true;
    }
  }
  return TextFileDialog::eventFilter(watched, event);
}
