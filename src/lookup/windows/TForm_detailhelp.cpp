#include "lookup/windows/TForm_detailhelp.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

#include "lookup/LookupServices.h"
#include "lookup/windows/TForm_Charhelp.h"
#include "ui/Glyphs.h"
#include "ui/QtSupport.h"

namespace {
QWidget* panel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  frame->setGeometry(geometry);
  return frame;
}
QLabel* caption(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}
}  // namespace

TForm_detailhelp::TForm_detailhelp(const quorvel::platform::ResourceLibrary& library,
                                   QWidget* parent)
    : FormBase(parent, "Form_detailhelp", QStringLiteral("查询"), QSize(366, 341)),
      library_(library) {
  using namespace quorvel::ui;
  RzPanel1 = panel(this, "RzPanel1", QRect(4, 4, 358, 170));
  caption(RzPanel1, QStringLiteral("字、词查询编码："), 8, 10);
  RzButtonEdit_chartokey = new QLineEdit(RzPanel1);
  RzButtonEdit_chartokey->setObjectName(QStringLiteral("RzButtonEdit_chartokey"));
  RzButtonEdit_chartokey->setGeometry(130, 6, 220, 22);
  RzButtonEdit_chartokey->setMaxLength(26);
  RzButtonEdit_chartokey->setToolTip(QStringLiteral("输入汉字获取输入码"));
  RzButtonEdit_chartokey->setStatusTip(QStringLiteral("输入汉字获取输入码"));
  RzLabel_Char = new QLabel(QStringLiteral("查询结果"), RzPanel1);
  RzLabel_Char->setObjectName(QStringLiteral("RzLabel_Char"));
  RzLabel_Char->setFont(songFont(12, true));
  RzLabel_Char->setGeometry(8, 34, 340, 16);
  setUpCharCodeLabels(RzPanel1,
                      {QPoint(40, 54), QRect(8, 126, 110, 16), QRect(118, 126, 110, 16),
                       QRect(228, 126, 124, 16), QRect(8, 146, 200, 16), QRect(8, 96, 342, 30)});

  RzPanel2 = panel(this, "RzPanel2", QRect(4, 178, 358, 159));
  caption(RzPanel2, QStringLiteral("编码查询："), 8, 10);
  RzComboBox_WordChar = new QComboBox(RzPanel2);
  RzComboBox_WordChar->setObjectName(QStringLiteral("RzComboBox_WordChar"));
  RzComboBox_WordChar->addItems({QStringLiteral("字"), QStringLiteral("词")});
  RzComboBox_WordChar->setGeometry(84, 6, 48, 22);
  RzButtonEdit_keytochar = new QLineEdit(RzPanel2);
  RzButtonEdit_keytochar->setObjectName(QStringLiteral("RzButtonEdit_keytochar"));
  RzButtonEdit_keytochar->setGeometry(138, 6, 100, 22);
  RzButtonEdit_keytochar->setMaxLength(4);
  RzButtonEdit_keytochar->setToolTip(QStringLiteral("输入编码获取字、词"));
  RzButtonEdit_keytochar->setStatusTip(QStringLiteral("输入编码获取字、词"));
  caption(RzPanel2, QStringLiteral("（字母 + ？）"), 244, 10);
  RzMemo_WordChar = new QTextEdit(RzPanel2);
  RzMemo_WordChar->setObjectName(QStringLiteral("RzMemo_WordChar"));
  RzMemo_WordChar->setReadOnly(true);
  RzMemo_WordChar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RzMemo_WordChar->setGeometry(6, 34, 346, 100);
  RzLabel_Close =
      new LinkLabel(RzPanel2, "RzLabel_Close", QStringLiteral("关闭"), QRect(296, 136, 56, 20));
  connect(RzLabel_Close, &LinkLabel::clicked, this, &QDialog::reject);
  // The find buttons sit inside their fields.
  const QIcon find(quorvel::glyphs::find());
  connect(RzButtonEdit_chartokey->addAction(find, QLineEdit::TrailingPosition), &QAction::triggered,
          this, &TForm_detailhelp::RzButtonEdit_chartokeyButtonClick);
  connect(RzButtonEdit_keytochar->addAction(find, QLineEdit::TrailingPosition), &QAction::triggered,
          this, &TForm_detailhelp::RzButtonEdit_keytocharButtonClick);
  connect(RzButtonEdit_chartokey, &QLineEdit::returnPressed, this,
          &TForm_detailhelp::RzButtonEdit_chartokeyButtonClick);
  connect(RzButtonEdit_keytochar, &QLineEdit::returnPressed, this,
          &TForm_detailhelp::RzButtonEdit_keytocharButtonClick);
  auto* dragger = new WindowDragger(this);
  dragger->watch(this);
  dragger->watch(RzPanel1);
  dragger->watch(RzPanel2);
  for (QLabel* label :
       {RzLabel_Char, Image_Key1, Image_Key2, Image_Key3, Image_Key4, RzLabel_oneChar,
        RzLabel_twoChar, RzLabel_threeChar, RzLabel_allChar, RzLabel_split})
    dragger->watch(label);
}

void TForm_detailhelp::showNoCodes() {
  for (QLabel* key : codeLabels_.keys) key->clear();
  RzLabel_oneChar->setText(QStringLiteral("一级简码：无"));
  RzLabel_twoChar->setText(QStringLiteral("二级简码：无"));
  RzLabel_threeChar->setText(QStringLiteral("三级简码：无"));
  RzLabel_allChar->setText(QStringLiteral("全码：无"));
  RzLabel_split->clear();
}

void TForm_detailhelp::showCharResult(const quorvel::TCharCodes& codes) {
  const QString character = quorvel::ui::fromGbk(codes.Text);
  if (QString::fromLatin1(codes.AllCode.c_str()).trimmed().isEmpty()) {
    showNoCodes();
    RzLabel_Char->setText(QStringLiteral("查询结果：%1").arg(character + QStringLiteral("无")));
    return;
  }
  codeLabels_.fill(library_, codes);
  RzLabel_Char->setText(QStringLiteral("查询结果：%1").arg(character));
}

void TForm_detailhelp::showWordResult(const quorvel::TWordCode& word) {
  const QString text = quorvel::ui::fromGbk(word.Text);
  if (QString::fromLatin1(word.Code.c_str()).trimmed().isEmpty()) {
    showNoCodes();
    RzLabel_Char->setText(QStringLiteral("无查询结果：%1").arg(text));
    return;
  }
  showNoCodes();
  quorvel::ui::showCodeKeys(library_, word.Code, codeLabels_.keys);
  RzLabel_allChar->setText(
      QStringLiteral("编码：%1").arg(QString::fromLatin1(word.Code.c_str()).toUpper()));
  RzLabel_Char->setText(QStringLiteral("查询结果：%1").arg(text));
}

void TForm_detailhelp::RzButtonEdit_chartokeyButtonClick() {
  // Blanks and control characters at either end do not count.
  QString typed = RzButtonEdit_chartokey->text();
  while (!typed.isEmpty() && typed.front().unicode() <= 0x20) typed.remove(0, 1);
  while (!typed.isEmpty() && typed.back().unicode() <= 0x20) typed.chop(1);
  if (typed.toUpper() != typed.toLower()) {
    showNoCodes();
    RzLabel_Char->setText(QStringLiteral("无查询结果：%1").arg(typed));
    return;
  }
  const std::string t = quorvel::ui::toGbk(typed);
  static const quorvel::PracticeData kNoData;
  const quorvel::PracticeData& data = data_ ? *data_ : kNoData;
  if (t.size() == 2) {
    showCharResult(quorvel::LookupCharCodes(data, t));
  } else if (t.size() > 2) {
    quorvel::TWordCode word;
    word.Code = quorvel::LookupWordCode(data, t);
    word.Text = t.substr(0, 26);
    showWordResult(word);
  }
}

void TForm_detailhelp::RzButtonEdit_keytocharButtonClick() {
  const QString typed = RzButtonEdit_keytochar->text().trimmed();
  // A Chinese input method types the wildcard (and letters) full width: ？
  // and ａ count as ? and a. The heading repeats the text as typed.
  const std::string pattern =
      typed.normalized(QString::NormalizationForm_KC).toLower().toStdString();
  static const quorvel::PracticeData kNoData;
  const quorvel::PracticeData& data = data_ ? *data_ : kNoData;
  const std::string result = RzComboBox_WordChar->currentIndex() == 1
                                 ? quorvel::FindWordsByCode(data, pattern)
                                 : quorvel::FindCharsByCode(data, pattern);
  if (!result.empty())
    RzMemo_WordChar->setPlainText(QStringLiteral("查询结果：%1\n").arg(typed) +
                                  quorvel::ui::fromGbk(result));
  else
    RzMemo_WordChar->setPlainText(QStringLiteral("无查询结果：%1").arg(typed));
}

void TForm_detailhelp::showLookup() {
  if (firstShow_) RzButtonEdit_chartokey->setFocus();
  firstShow_ = false;
  exec();
}
