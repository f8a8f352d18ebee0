#include "ui/TextFileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QTextEdit>

#include "ui/QtSupport.h"

namespace quorvel::ui {

TextFileDialog::TextFileDialog(QWidget* parent, const char* objectName, const QString& caption,
                               QSize client, const Places& places)
    : FormBase(parent, objectName, caption, client), openDialog_([](QWidget* p) {
        return QFileDialog::getOpenFileName(p, QStringLiteral("选择文件"), QString(),
                                            QStringLiteral("文本文件(*.txt)"));
      }) {
  const FaceButton select = makeFaceButton(this, QStringLiteral("选择文件"), "RzLabel_SelFile",
                                           "RzToolbarButton_SelFile", places.face, places.button);
  RzLabel_SelFile = select.face;
  RzToolbarButton_SelFile = select.button;
  connect(RzToolbarButton_SelFile, &QAbstractButton::clicked, this,
          &TextFileDialog::RzToolbarButton_SelFileClick);
  RzLabel_SelFileName = new QLabel(QStringLiteral("文件名："), this);
  RzLabel_SelFileName->setObjectName(QStringLiteral("RzLabel_SelFileName"));
  RzLabel_SelFileName->setGeometry(places.fileName);
  RzMemo_PreView = new QTextEdit(this);
  RzMemo_PreView->setObjectName(QStringLiteral("RzMemo_PreView"));
  RzMemo_PreView->setReadOnly(true);
  RzMemo_PreView->setFont(songFont(13));
  RzMemo_PreView->setGeometry(places.preview);
  RzLabel_Ok = new LinkLabel(this, "RzLabel_Ok", QStringLiteral("确定"), places.ok);
  RzLabel_Cancel = new LinkLabel(this, "RzLabel_Cancel", QStringLiteral("取消"), places.cancel);
  connect(RzLabel_Cancel, &LinkLabel::clicked, this, [this] { finish(false); });
}

QString TextFileDialog::runChooser() {
  FAccepted = false;
  exec();
  return FAccepted ? FFileName : QString();
}

void TextFileDialog::finish(bool accepted) {
  FAccepted = accepted && !FFileName.isEmpty();
  close();
}

void TextFileDialog::RzToolbarButton_SelFileClick() {
  const QString path = openDialog_ ? openDialog_(this) : QString();
  if (!path.isEmpty()) pickFile(path);
}

void TextFileDialog::pickFile(const QString& path) {
  FFileName = path;
  RzLabel_SelFileName->setText(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    RzMemo_PreView->setPlainText(QStringLiteral("无法打开文件：%1").arg(path));
    return;
  }
  const QByteArray bytes = file.readAll();
  RzMemo_PreView->setPlainText(withNewlines(
      fromGbk(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))));
}

}  // namespace quorvel::ui
