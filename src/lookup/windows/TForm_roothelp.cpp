#include "lookup/windows/TForm_roothelp.h"

#include <QLabel>
#include <QTextEdit>
#include <cctype>

#include "ui/QtSupport.h"

TForm_roothelp::TForm_roothelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : FormBase(parent, "Form_roothelp", QStringLiteral("字根提示"), QSize(366, 147)),
      library_(library) {
  RzMemo_Tip = new QTextEdit(this);
  RzMemo_Tip->setObjectName(QStringLiteral("RzMemo_Tip"));
  RzMemo_Tip->setReadOnly(true);
  RzMemo_Tip->setFont(quorvel::ui::songFont(13));
  RzMemo_Tip->setGeometry(6, 6, 252, 121);
  RzMemo_Tip->setPlainText(quorvel::ui::libraryTip(library, "roottip"));
  Image_Key = new QLabel(this);
  Image_Key->setObjectName(QStringLiteral("Image_Key"));
  Image_Key->setGeometry(280, 10, 64, 64);
  Image_Key->setAlignment(Qt::AlignCenter);
  RzLabel_Char = new quorvel::ui::BlinkLabel(this, quorvel::ui::kNavy, quorvel::ui::kBlinkBlue);
  RzLabel_Char->setObjectName(QStringLiteral("RzLabel_Char"));
  RzLabel_Char->setFont(quorvel::ui::songFont(16, true));
  RzLabel_Char->setGeometry(266, 80, 92, 20);
  RzLabel_Char->setAlignment(Qt::AlignCenter);
  RzLabel_Close = new quorvel::ui::LinkLabel(this, "RzLabel_Close", QStringLiteral("关闭"),
                                             QRect(302, 120, 56, 20));
  connect(RzLabel_Close, &quorvel::ui::LinkLabel::clicked, this, &QDialog::accept);
  setDialogLabels(RzLabel_Close, RzLabel_Close);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->watch(this);
  dragger->watch(Image_Key);
  dragger->watch(RzLabel_Char);
  setFocusProxy(RzMemo_Tip);
}

void TForm_roothelp::fill(char keyLetter) {
  if (!library_.available()) return;
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(keyLetter)));
  const QImage key = quorvel::ui::libraryPicture(library_, "RCDATA", std::string("key_") + lower);
  Image_Key->setPixmap(QPixmap::fromImage(key));
  RzLabel_Char->setText(QStringLiteral("%1 键").arg(
      QChar::fromLatin1(static_cast<char>(std::toupper(static_cast<unsigned char>(keyLetter))))));
}

void TForm_roothelp::showRootHint(char keyLetter) {
  fill(keyLetter);
  RzMemo_Tip->setFocus();
  exec();
}
