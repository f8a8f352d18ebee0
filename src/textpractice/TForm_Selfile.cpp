#include "textpractice/TForm_Selfile.h"

#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QTextEdit>

#include "app/QtSupport.h"

namespace {
QString defaultOpenDialog(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("选择文件"), QString(),
                                      QStringLiteral("文本文件(*.txt)"));
}
}  // namespace

TForm_Selfile::TForm_Selfile(QWidget* parent)
    : FormBase(parent, "Form_Selfile", QStringLiteral("选择对照文件"), QSize(366, 211)),
      openDialog_(defaultOpenDialog) {
  using namespace quorvel::ui;
  RzLabel_SelFile = new QLabel(QStringLiteral("选择文件"), this);
  RzLabel_SelFile->setObjectName(QStringLiteral("RzLabel_SelFile"));
  RzLabel_SelFile->setGeometry(7, 11, 114, 20);
  RzLabel_SelFile->setAlignment(Qt::AlignCenter);
  RzLabel_SelFile->setFrameStyle(QFrame::Panel | QFrame::Raised);
  RzToolbarButton_SelFile = new TransparentButton(this);
  RzToolbarButton_SelFile->setObjectName(QStringLiteral("RzToolbarButton_SelFile"));
  RzToolbarButton_SelFile->setGeometry(8, 12, 112, 18);
  RzToolbarButton_SelFile->setToolTip(QStringLiteral("选择文件"));
  bindButtonFace(RzToolbarButton_SelFile, RzLabel_SelFile, kHoverColour);
  connect(RzToolbarButton_SelFile, &QAbstractButton::clicked, this,
          &TForm_Selfile::RzToolbarButton_SelFileClick);
  RzLabel2 = new QLabel(QStringLiteral("预览"), this);
  RzLabel2->setObjectName(QStringLiteral("RzLabel2"));
  RzLabel2->move(10, 42);
  RzLabel_SelFileName = new QLabel(QStringLiteral("文件名："), this);
  RzLabel_SelFileName->setObjectName(QStringLiteral("RzLabel_SelFileName"));
  RzLabel_SelFileName->setGeometry(55, 42, 304, 16);
  RzMemo_PreView = new QTextEdit(this);
  RzMemo_PreView->setObjectName(QStringLiteral("RzMemo_PreView"));
  RzMemo_PreView->setReadOnly(true);
  RzMemo_PreView->setFont(songFont(13));
  RzMemo_PreView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RzMemo_PreView->setGeometry(8, 59, 351, 122);
  RzLabel_Ok = new LinkLabel(QStringLiteral("确定"), this);
  RzLabel_Ok->setObjectName(QStringLiteral("RzLabel_Ok"));
  RzLabel_Ok->setGeometry(232, 186, 56, 20);
  connect(RzLabel_Ok, &LinkLabel::clicked, this, &TForm_Selfile::RzLabel_OkClick);
  RzLabel_Cancel = new LinkLabel(QStringLiteral("取消"), this);
  RzLabel_Cancel->setObjectName(QStringLiteral("RzLabel_Cancel"));
  RzLabel_Cancel->setGeometry(301, 186, 56, 20);
  connect(RzLabel_Cancel, &LinkLabel::clicked, this, &TForm_Selfile::RzLabel_CancelClick);
  auto* dragger = new WindowDragger(this);
  dragger->watch(this);
  dragger->watch(RzLabel_SelFileName);
  dragger->watch(RzLabel2);
}

QString TForm_Selfile::ChoosePracticeFile() {
  FAccepted = false;
  exec();
  return FAccepted ? FFileName : QString();
}

void TForm_Selfile::pickFile(const QString& path) {
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

void TForm_Selfile::RzToolbarButton_SelFileClick() {
  const QString path = openDialog_ ? openDialog_(this) : QString();
  if (!path.isEmpty()) pickFile(path);
}

void TForm_Selfile::RzLabel_OkClick() {
  FAccepted = !FFileName.isEmpty();
  close();
}

void TForm_Selfile::RzLabel_CancelClick() {
  FAccepted = false;
  close();
}

void TForm_Selfile::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    RzLabel_CancelClick();
  else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    RzLabel_OkClick();
  else
    FormBase::keyPressEvent(event);
}
