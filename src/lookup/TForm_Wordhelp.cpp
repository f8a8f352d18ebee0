#include "lookup/TForm_Wordhelp.h"

#include <QGroupBox>
#include <QLabel>

#include "app/QtSupport.h"
#include "lookup/TForm_detailhelp.h"

namespace {
QLabel* heading(QWidget* parent, const char* name, int x, int y) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(quorvel::ui::songFont(16, true));
  label->setGeometry(x, y, 200, 22);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 0x80));
  label->setPalette(palette);
  return label;
}
}  // namespace

TForm_Wordhelp::TForm_Wordhelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : FormBase(parent, "Form_Wordhelp", QStringLiteral("词组编码提示"), QSize(366, 290)),
      library_(library) {
  using namespace quorvel::ui;
  RzBorder_Word = new QGroupBox(this);
  RzBorder_Word->setObjectName(QStringLiteral("RzBorder_Word"));
  RzBorder_Word->setGeometry(6, 4, 354, 112);
  Image_wordkey1 = makeKeyPicture(RzBorder_Word, "Image_wordkey1", 36, 8);
  Image_wordkey2 = makeKeyPicture(RzBorder_Word, "Image_wordkey2", 116, 8);
  Image_wordkey3 = makeKeyPicture(RzBorder_Word, "Image_wordkey3", 196, 8);
  Image_wordkey4 = makeKeyPicture(RzBorder_Word, "Image_wordkey4", 276, 8);
  RzLabel_Word = heading(RzBorder_Word, "RzLabel_Word", 8, 84);
  RzLabel_wordchar = makeCodeLabel(RzBorder_Word, "RzLabel_wordchar", 220, 88, 130);
  RzBorder_Char = new QGroupBox(this);
  RzBorder_Char->setObjectName(QStringLiteral("RzBorder_Char"));
  RzBorder_Char->setGeometry(6, 120, 354, 136);
  Image_Key1 = makeKeyPicture(RzBorder_Char, "Image_Key1", 36, 8);
  Image_Key2 = makeKeyPicture(RzBorder_Char, "Image_Key2", 116, 8);
  Image_Key3 = makeKeyPicture(RzBorder_Char, "Image_Key3", 196, 8);
  Image_Key4 = makeKeyPicture(RzBorder_Char, "Image_Key4", 276, 8);
  RzLabel_allChar = makeCodeLabel(RzBorder_Char, "RzLabel_allChar", 8, 62, 200);
  RzLabel_oneChar = makeCodeLabel(RzBorder_Char, "RzLabel_oneChar", 8, 82, 110);
  RzLabel_twoChar = makeCodeLabel(RzBorder_Char, "RzLabel_twoChar", 118, 82, 110);
  RzLabel_threeChar = makeCodeLabel(RzBorder_Char, "RzLabel_threeChar", 228, 82, 120);
  RzLabel_Char = heading(RzBorder_Char, "RzLabel_Char", 8, 106);
  RzLabel_query = new LinkLabel(QStringLiteral("查询其它"), this);
  RzLabel_query->setObjectName(QStringLiteral("RzLabel_query"));
  RzLabel_query->setGeometry(228, 263, 68, 20);
  RzLabel_Close = new LinkLabel(QStringLiteral("关闭"), this);
  RzLabel_Close->setObjectName(QStringLiteral("RzLabel_Close"));
  RzLabel_Close->setGeometry(302, 263, 56, 20);
  connect(RzLabel_Close, &LinkLabel::clicked, this, &QDialog::accept);
  connect(RzLabel_query, &LinkLabel::clicked, this, [this] {
    accept();
    if (lookup_) lookup_->showLookup();
  });
}

void TForm_Wordhelp::fill(const quorvel::TCharCodes& codes, const quorvel::TWordCode& word) {
  const quorvel::ui::CharCodeLabels labels{{Image_Key1, Image_Key2, Image_Key3, Image_Key4},
                                           RzLabel_oneChar,
                                           RzLabel_twoChar,
                                           RzLabel_threeChar,
                                           RzLabel_allChar};
  labels.fill(library_, codes);
  setWindowTitle(QStringLiteral("编码提示"));
  RzLabel_Char->setText(QStringLiteral("字：%1").arg(quorvel::ui::fromGbk(codes.Text)));
  setWindowTitle(QStringLiteral("词组编码提示"));
  quorvel::ui::showCodeKeys(library_, word.Code,
                            {Image_wordkey1, Image_wordkey2, Image_wordkey3, Image_wordkey4});
  RzLabel_wordchar->setText(
      QStringLiteral("编码：%1").arg(QString::fromLatin1(word.Code.c_str()).toUpper()));
  RzLabel_Word->setText(QStringLiteral("词：%1").arg(quorvel::ui::fromGbk(word.Text)));
}

void TForm_Wordhelp::showWordHint(const quorvel::TCharCodes& codes,
                                  const quorvel::TWordCode& word) {
  fill(codes, word);
  exec();
}
