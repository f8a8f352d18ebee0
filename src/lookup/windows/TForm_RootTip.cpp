#include "lookup/windows/TForm_RootTip.h"

#include <QLabel>
#include <QTextEdit>

#include "ui/QtSupport.h"

TForm_RootTip::TForm_RootTip(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : FormBase(parent, "Form_RootTip", QStringLiteral("字根学习提示"), QSize(428, 384)),
      library_(library) {
  RzMemo_Tip = new QTextEdit(this);
  RzMemo_Tip->setObjectName(QStringLiteral("RzMemo_Tip"));
  RzMemo_Tip->setReadOnly(true);
  RzMemo_Tip->setFont(quorvel::ui::songFont(13));
  RzMemo_Tip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RzMemo_Tip->setGeometry(6, 6, 416, 158);
  RzMemo_Tip->setPlainText(quorvel::ui::libraryTip(library, "roottip"));
  RzLabel_preview = new QLabel(QStringLiteral("岚川形音码同类形根聚合表现如下"), this);
  RzLabel_preview->setObjectName(QStringLiteral("RzLabel_preview"));
  RzLabel_preview->setGeometry(8, 168, 300, 16);
  RzLabel_Close = new quorvel::ui::LinkLabel(this, "RzLabel_Close", QStringLiteral("关闭"),
                                             QRect(366, 166, 56, 20));
  connect(RzLabel_Close, &quorvel::ui::LinkLabel::clicked, this, &QDialog::accept);
  setDialogLabels(RzLabel_Close, RzLabel_Close);
  Image_Root = new QLabel(this);
  Image_Root->setObjectName(QStringLiteral("Image_Root"));
  Image_Root->setScaledContents(true);
  Image_Root->setGeometry(6, 188, 417, 193);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->watch(this);
  dragger->watch(Image_Root);
  dragger->watch(RzLabel_preview);
  setFocusProxy(RzMemo_Tip);
}

void TForm_RootTip::showEvent(QShowEvent* event) {
  // The picture is decoded when the tip is first shown, not at start-up,
  // which most sessions never show it in.
  if (Image_Root->pixmap().isNull()) {
    const QImage picture = quorvel::ui::libraryJpeg(library_, "rootbut");
    if (!picture.isNull()) Image_Root->setPixmap(QPixmap::fromImage(picture));
  }
  FormBase::showEvent(event);
}

void TForm_RootTip::showRootTip() {
  RzMemo_Tip->setFocus();
  exec();
}
