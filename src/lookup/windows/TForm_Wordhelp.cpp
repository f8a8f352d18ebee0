#include "lookup/windows/TForm_Wordhelp.h"

#include <QGroupBox>
#include <QLabel>
#include <tuple>

#include "ui/QtSupport.h"

TForm_Wordhelp::TForm_Wordhelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : CodeHintForm(library, parent, "Form_Wordhelp", QStringLiteral("词组编码提示"),
                   QSize(366, 290)) {
  using namespace quorvel::ui;
  RzBorder_Word = new QGroupBox(this);
  RzBorder_Word->setObjectName(QStringLiteral("RzBorder_Word"));
  RzBorder_Word->setGeometry(6, 4, 354, 112);
  wordKeys_ = makeKeyPictures(RzBorder_Word, "Image_wordkey", 36, 8);
  std::tie(Image_wordkey1, Image_wordkey2, Image_wordkey3, Image_wordkey4) =
      std::tuple_cat(wordKeys_);
  RzLabel_Word = makeHeading(RzBorder_Word, "RzLabel_Word", QRect(8, 84, 200, 22));
  RzLabel_wordchar = makeCodeLabel(RzBorder_Word, "RzLabel_wordchar", 220, 88, 130);
  RzBorder_Char = new QGroupBox(this);
  RzBorder_Char->setObjectName(QStringLiteral("RzBorder_Char"));
  RzBorder_Char->setGeometry(6, 120, 354, 136);
  setUpCharCodeLabels(RzBorder_Char, {QPoint(36, 8), QRect(8, 82, 110, 16), QRect(118, 82, 110, 16),
                                      QRect(228, 82, 120, 16), QRect(8, 62, 200, 16)});
  RzLabel_Char = makeHeading(RzBorder_Char, "RzLabel_Char", QRect(8, 106, 200, 22));
  addLinks(QRect(228, 263, 68, 20), QRect(302, 263, 56, 20));
  auto* dragger = new WindowDragger(this);
  for (QWidget* w : std::initializer_list<QWidget*>{
           this, RzBorder_Word, RzBorder_Char, RzLabel_Word, RzLabel_wordchar, RzLabel_Char,
           Image_wordkey1, Image_wordkey2, Image_wordkey3, Image_wordkey4, Image_Key1, Image_Key2,
           Image_Key3, Image_Key4, RzLabel_oneChar, RzLabel_twoChar, RzLabel_threeChar,
           RzLabel_allChar})
    dragger->watch(w);
}

void TForm_Wordhelp::fill(const quorvel::TCharCodes& codes, const quorvel::TWordCode& word) {
  codeLabels_.fill(library_, codes);
  RzLabel_Char->setText(QStringLiteral("字：%1").arg(quorvel::ui::fromGbk(codes.Text)));
  setWindowTitle(QStringLiteral("词组编码提示"));
  quorvel::ui::showCodeKeys(library_, word.Code, wordKeys_);
  RzLabel_wordchar->setText(
      QStringLiteral("编码：%1").arg(QString::fromLatin1(word.Code.c_str()).toUpper()));
  RzLabel_Word->setText(QStringLiteral("词：%1").arg(quorvel::ui::fromGbk(word.Text)));
}

void TForm_Wordhelp::showWordHint(const quorvel::TCharCodes& codes,
                                  const quorvel::TWordCode& word) {
  fill(codes, word);
  exec();
}
