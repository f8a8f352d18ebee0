#include "ui/TextFileDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QTextEdit>

#include "ui/Look.h"
#include "ui/QtSupport.h"

namespace quorvel::ui {

namespace {

QString runSystemOpenDialog(QWidget* parent, const QString& startDir) {
  QFileDialog dialog(parent, QStringLiteral("选择文件"), startDir,
                     QStringLiteral("文本文件(*.txt);;所有文件(*)"));
  dialog.setObjectName(QStringLiteral("FileDialog"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  applyTutorPalette(&dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

}  // namespace

TextFileDialog::TextFileDialog(QWidget* parent, const char* objectName, const QString& caption,
                               QSize client, const Places& places, const QString& faceCaption,
                               const char* okName, FileReader reader)
    : FormBase(parent, objectName, caption, client),
      openDialog_(runSystemOpenDialog),
      reader_(std::move(reader)) {
  const FaceButton select = makeFaceButton(this, faceCaption, "RzLabel_SelFile",
                                           "RzToolbarButton_SelFile", places.face, places.button);
  RzLabel_SelFile = select.face;
  RzToolbarButton_SelFile = select.button;
  connect(RzToolbarButton_SelFile, &QAbstractButton::clicked, this,
          &TextFileDialog::RzToolbarButton_SelFileClick);
  RzLabel2 = new QLabel(QStringLiteral("预览"), this);
  RzLabel2->setObjectName(QStringLiteral("RzLabel2"));
  RzLabel2->move(places.previewCaption);
  RzLabel_SelFileName = new QLabel(QStringLiteral("文件名："), this);
  RzLabel_SelFileName->setObjectName(QStringLiteral("RzLabel_SelFileName"));
  RzLabel_SelFileName->setGeometry(places.fileName);
  RzMemo_PreView = new QTextEdit(this);
  RzMemo_PreView->setObjectName(QStringLiteral("RzMemo_PreView"));
  RzMemo_PreView->setReadOnly(true);
  RzMemo_PreView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RzMemo_PreView->setFont(songFont(13));
  RzMemo_PreView->setGeometry(places.preview);
  QPalette white = RzMemo_PreView->palette();
  white.setColor(QPalette::Base, Qt::white);
  RzMemo_PreView->setPalette(white);
  // Beside the button face: the offer of simplified characters.
  CheckBox_Simplified = new QCheckBox(QStringLiteral("以简体字练习"), this);
  CheckBox_Simplified->setObjectName(QStringLiteral("CheckBox_Simplified"));
  CheckBox_Simplified->setAccessibleName(QStringLiteral("以简体字练习"));
  CheckBox_Simplified->setToolTip(QStringLiteral("把文章中的繁体字转为简体字再练习"));
  CheckBox_Simplified->setGeometry(places.face.right() + 12, places.face.top(),
                                   client.width() - places.face.right() - 20, places.face.height());
  CheckBox_Simplified->setEnabled(false);
  connect(CheckBox_Simplified, &QCheckBox::toggled, this, &TextFileDialog::showPreview);
  okLabel_ = new LinkLabel(this, okName, QStringLiteral("确定"), places.ok);
  RzLabel_Cancel = new LinkLabel(this, "RzLabel_Cancel", QStringLiteral("取消"), places.cancel);
  connect(RzLabel_Cancel, &LinkLabel::clicked, this, [this] { finish(false); });
  setDialogLabels(okLabel_, RzLabel_Cancel);
}

QString TextFileDialog::startDirectory() const {
  if (FFileName.isEmpty()) return textsDir_;
  return QFileInfo(FFileName).absolutePath();
}

QString TextFileDialog::runChooser() {
  FAccepted = false;
  showChosenName();  // a refusal shown last time is no longer news
  exec();
  return FAccepted ? FFileName : QString();
}

void TextFileDialog::finish(bool accepted) {
  FAccepted = accepted && !FFileName.isEmpty();
  close();
}

void TextFileDialog::RzToolbarButton_SelFileClick() {
  const QString path = openDialog_ ? openDialog_(this, startDirectory()) : QString();
  if (!path.isEmpty()) pickFile(path);
}

bool TextFileDialog::pickFile(const QString& path) {
  const FilePreview preview = reader_(path);
  if (!preview.ok) {
    const QString reason = preview.error.isEmpty() ? QStringLiteral("读取失败") : preview.error;
    RzLabel_SelFileName->setText(QStringLiteral("无法打开文件：") + reason);
    RzLabel_SelFileName->setToolTip(path);
    QApplication::beep();
    return false;
  }
  FFileName = path;
  preview_ = preview;
  showChosenName();
  const bool offered = !preview.simplifiedText.isEmpty();
  const QSignalBlocker quiet(CheckBox_Simplified);
  CheckBox_Simplified->setEnabled(offered);
  CheckBox_Simplified->setChecked(offered && preview.traditional);
  CheckBox_Simplified->setAccessibleDescription(!offered ? QStringLiteral("文章中没有繁体字")
                                                : preview.traditional
                                                    ? QStringLiteral("文章多为繁体字")
                                                    : QStringLiteral("文章中有繁体字"));
  showPreview();
  return true;
}

bool TextFileDialog::simplified() const {
  return CheckBox_Simplified->isEnabled() && CheckBox_Simplified->isChecked();
}

void TextFileDialog::showPreview() {
  RzMemo_PreView->setPlainText(simplified() ? preview_.simplifiedText : preview_.text);
}

void TextFileDialog::showChosenName() {
  RzLabel_SelFileName->setText(FFileName.isEmpty() ? QStringLiteral("文件名：") : FFileName);
  RzLabel_SelFileName->setToolTip(FFileName);
}

}  // namespace quorvel::ui
