#include "app/TForm_Set.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

#include "app/QtSupport.h"

TForm_Set::TForm_Set(QWidget* parent)
    : FormBase(parent, "Form_Set", QStringLiteral("设置"), QSize(285, 173)) {
  using namespace quorvel::ui;
  RzCheckBox_MaxSize = new QCheckBox(QStringLiteral("启动时最大化"), this);
  RzCheckBox_MaxSize->setObjectName(QStringLiteral("RzCheckBox_MaxSize"));
  RzCheckBox_MaxSize->setGeometry(14, 10, 200, 20);
  RzCheckBox_Music = new QCheckBox(QStringLiteral("播放背景音乐"), this);
  RzCheckBox_Music->setObjectName(QStringLiteral("RzCheckBox_Music"));
  RzCheckBox_Music->setGeometry(14, 34, 200, 20);
  RzCheckBox_Music->setChecked(true);
  connect(RzCheckBox_Music, &QCheckBox::clicked, this, &TForm_Set::RzCheckBox_MusicClick);
  RzBorder_Music = new QGroupBox(this);
  RzBorder_Music->setObjectName(QStringLiteral("RzBorder_Music"));
  RzBorder_Music->setGeometry(10, 58, 265, 80);
  auto radio = [this](const char* name, const char* text, int x, int y) {
    auto* button = new QRadioButton(QString::fromUtf8(text), RzBorder_Music);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, 120, 20);
    return button;
  };
  RzRadioButton_music1 = radio("RzRadioButton_music1", "背景音乐一", 14, 14);
  RzRadioButton_music2 = radio("RzRadioButton_music2", "背景音乐二", 140, 14);
  RzRadioButton_music3 = radio("RzRadioButton_music3", "背景音乐三", 14, 46);
  RzRadioButton_music4 = radio("RzRadioButton_music4", "背景音乐四", 140, 46);
  RzRadioButton_music1->setChecked(true);
  RzLabel_Ok = new LinkLabel(this, "RzLabel_Ok", QStringLiteral("确定"), QRect(150, 146, 56, 20));
  connect(RzLabel_Ok, &LinkLabel::clicked, this, &QDialog::accept);
  RzLabel_Cancel =
      new LinkLabel(this, "RzLabel_Cancel", QStringLiteral("取消"), QRect(219, 146, 56, 20));
  connect(RzLabel_Cancel, &LinkLabel::clicked, this, &QDialog::reject);
  auto* dragger = new WindowDragger(this);
  dragger->watch(this);
  dragger->watch(RzBorder_Music);
}

void TForm_Set::RzCheckBox_MusicClick() {
  const bool on = RzCheckBox_Music->isChecked();
  for (QRadioButton* b :
       {RzRadioButton_music1, RzRadioButton_music2, RzRadioButton_music3, RzRadioButton_music4})
    b->setEnabled(on);
}
