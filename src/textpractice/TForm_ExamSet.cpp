#include "textpractice/TForm_ExamSet.h"

#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTextEdit>

#include "app/QtSupport.h"

TForm_ExamSet::TForm_ExamSet(QWidget* parent)
    : FormBase(parent, "Form_ExamSet", QString(), QSize(366, 267)), openDialog_([](QWidget* p) {
        return QFileDialog::getOpenFileName(p, QStringLiteral("选择文件"), QString(),
                                            QStringLiteral("文本文件(*.txt)"));
      }) {
  using namespace quorvel::ui;
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
  RzLabel_SelFile = new QLabel(QStringLiteral("选择文件"), this);
  RzLabel_SelFile->setObjectName(QStringLiteral("RzLabel_SelFile"));
  RzLabel_SelFile->setGeometry(9, 42, 114, 20);
  RzLabel_SelFile->setAlignment(Qt::AlignCenter);
  RzLabel_SelFile->setFrameStyle(QFrame::Panel | QFrame::Raised);
  RzToolbarButton_SelFile = new TransparentButton(this);
  RzToolbarButton_SelFile->setObjectName(QStringLiteral("RzToolbarButton_SelFile"));
  RzToolbarButton_SelFile->setGeometry(10, 43, 112, 18);
  bindButtonFace(RzToolbarButton_SelFile, RzLabel_SelFile, kHoverColour);
  connect(RzToolbarButton_SelFile, &QAbstractButton::clicked, this, [this] {
    const QString path = openDialog_ ? openDialog_(this) : QString();
    if (!path.isEmpty()) pickFile(path);
  });
  RzLabel_SelFileName = new QLabel(QStringLiteral("文件名："), this);
  RzLabel_SelFileName->setObjectName(QStringLiteral("RzLabel_SelFileName"));
  RzLabel_SelFileName->setGeometry(10, 70, 345, 16);
  RzMemo_PreView = new QTextEdit(this);
  RzMemo_PreView->setObjectName(QStringLiteral("RzMemo_PreView"));
  RzMemo_PreView->setReadOnly(true);
  RzMemo_PreView->setFont(songFont(13));
  RzMemo_PreView->setGeometry(10, 91, 345, 145);
  RzLabel_Ok = new LinkLabel(QStringLiteral("确定"), this);
  RzLabel_Ok->setObjectName(QStringLiteral("RzLabel_Ok"));
  RzLabel_Ok->setGeometry(232, 242, 56, 20);
  connect(RzLabel_Ok, &LinkLabel::clicked, this, &TForm_ExamSet::RzLabel_OkClick);
  RzLabel_Cancel = new LinkLabel(QStringLiteral("取消"), this);
  RzLabel_Cancel->setObjectName(QStringLiteral("RzLabel_Cancel"));
  RzLabel_Cancel->setGeometry(300, 242, 56, 20);
  connect(RzLabel_Cancel, &LinkLabel::clicked, this, [this] {
    FAccepted = false;
    close();
  });
  auto* dragger = new WindowDragger(this);
  dragger->watch(this);
}

QString TForm_ExamSet::runExamSettings(bool byTime) {
  RzNumericEdit_Time->setEnabled(byTime);
  FAccepted = false;
  exec();
  return FAccepted ? FFileName : QString();
}

void TForm_ExamSet::pickFile(const QString& path) {
  FFileName = path;
  RzLabel_SelFileName->setText(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    RzMemo_PreView->setPlainText(QStringLiteral("无法打开文件：%1").arg(path));
    return;
  }
  const QByteArray bytes = file.readAll();
  RzMemo_PreView->setPlainText(quorvel::ui::withNewlines(quorvel::ui::fromGbk(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))));
}

QString TForm_ExamSet::userName() const { return RzEdit_Name->text().trimmed(); }
int TForm_ExamSet::minutes() const { return RzNumericEdit_Time->value(); }

void TForm_ExamSet::RzLabel_OkClick() {
  if (userName().isEmpty()) {
    QMessageBox::information(this, QStringLiteral("提示"), QStringLiteral("用户名不能为空。"));
    return;
  }
  FAccepted = !FFileName.isEmpty();
  close();
}

void TForm_ExamSet::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    FAccepted = false;
    close();
  } else {
    FormBase::keyPressEvent(event);
  }
}
