#include "lookup/windows/TForm_Tip.h"

#include <QTextEdit>

#include "ui/QtSupport.h"

TForm_Tip::TForm_Tip(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : FormBase(parent, "Form_Tip", QStringLiteral("学习提示"), QSize(426, 349)), library_(library) {
  RzMemo_Tip = new QTextEdit(this);
  RzMemo_Tip->setObjectName(QStringLiteral("RzMemo_Tip"));
  RzMemo_Tip->setReadOnly(true);
  RzMemo_Tip->setFont(quorvel::ui::songFont(14));
  RzMemo_Tip->setGeometry(11, 10, 403, 305);
  RzMemo_Tip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RzLabel_Close = new quorvel::ui::LinkLabel(this, "RzLabel_Close", QStringLiteral("关闭"),
                                             QRect(358, 322, 56, 20));
  connect(RzLabel_Close, &quorvel::ui::LinkLabel::clicked, this, &QDialog::accept);
  setDialogLabels(RzLabel_Close, RzLabel_Close);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->watch(this);
  setFocusProxy(RzMemo_Tip);
}

void TForm_Tip::loadTip(int tipKind) {
  static const char* const names[] = {"chartip", "wordtip", "Texttip"};
  static const char* const captions[] = {"单字学习提示", "词组学习提示", "学习提示"};
  if (tipKind < 1 || tipKind > 3) return;
  // Without the library the window keeps its previous text and caption.
  if (!library_.available()) return;
  bool found = false;
  const QString text = quorvel::ui::libraryTip(library_, names[tipKind - 1], &found);
  setWindowTitle(QString::fromUtf8(captions[tipKind - 1]));
  RzMemo_Tip->setPlainText(text);
}

void TForm_Tip::showTip(int tipKind) {
  loadTip(tipKind);
  RzMemo_Tip->setFocus();
  exec();
}
