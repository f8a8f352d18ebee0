#include "app/TForm_Set.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <algorithm>

#include "app/Settings.h"
#include "platform/Registry.h"
#include "ui/QtSupport.h"

using quorvel::ui::kSettingsKey;

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
  connect(RzLabel_Ok, &LinkLabel::clicked, this, &TForm_Set::RzLabel_OkClick);
  RzLabel_Cancel =
      new LinkLabel(this, "RzLabel_Cancel", QStringLiteral("取消"), QRect(219, 146, 56, 20));
  connect(RzLabel_Cancel, &LinkLabel::clicked, this, &QDialog::reject);
  setDialogLabels(RzLabel_Ok, RzLabel_Cancel);
  auto* dragger = new WindowDragger(this);
  dragger->watch(this);
  dragger->watch(RzBorder_Music);
  FormCreate();
}

void TForm_Set::FormCreate() {
  // A store that cannot be read or written leaves the controls as they start.
  quorvel::platform::Registry registry;
  if (!registry.keyExists(kSettingsKey)) {
    // A new key holds the defaults, which the controls already show.
    quorvel::ui::ensureSettingsKey(registry);
    return;
  }
  if (registry.readInt(kSettingsKey, "musicplay").value_or(1) != 0) {
    const auto number = registry.readInt(kSettingsKey, "musicNo");
    if (!number) registry.writeInt(kSettingsKey, "musicNo", 1);
    // A tune number below 1 plays tune 1 in the main window; the dialog
    // ticks the same one, so OK untouched changes nothing.
    switch (std::max(number.value_or(1), 1)) {
      case 1:
        RzRadioButton_music1->setChecked(true);
        break;
      case 2:
        RzRadioButton_music2->setChecked(true);
        break;
      case 3:
        RzRadioButton_music3->setChecked(true);
        break;
      default:
        RzRadioButton_music4->setChecked(true);
        break;
    }
  } else {
    RzCheckBox_Music->setChecked(false);
    RzCheckBox_MusicClick();
  }
  const auto maxSize = registry.readInt(kSettingsKey, "MaxSize");
  if (!maxSize) registry.writeInt(kSettingsKey, "MaxSize", 0);
  RzCheckBox_MaxSize->setChecked(maxSize.value_or(0) != 0);
}

bool TForm_Set::RunSettings(bool musicOn, std::int32_t musicNo) {
  FMusicOn = musicOn;
  FMusicNo = musicNo;
  exec();
  return FMusicOn != musicOn || FMusicNo != musicNo;
}

void TForm_Set::RzCheckBox_MusicClick() {
  const bool on = RzCheckBox_Music->isChecked();
  for (QRadioButton* b :
       {RzRadioButton_music1, RzRadioButton_music2, RzRadioButton_music3, RzRadioButton_music4})
    b->setEnabled(on);
}

int TForm_Set::checkedTune() const {
  if (RzRadioButton_music1->isChecked()) return 1;
  if (RzRadioButton_music2->isChecked()) return 2;
  if (RzRadioButton_music3->isChecked()) return 3;
  return 4;
}

void TForm_Set::RzLabel_OkClick() {
  quorvel::platform::Registry registry;
  bool saved = registry.keyExists(kSettingsKey);
  if (saved) {
    saved = registry.writeInt(kSettingsKey, "MaxSize", RzCheckBox_MaxSize->isChecked() ? 1 : 0);
    saved = registry.writeInt(kSettingsKey, "musicplay", RzCheckBox_Music->isChecked() ? 1 : 0) &&
            saved;
    FMusicOn = RzCheckBox_Music->isChecked();
    if (FMusicOn) {
      FMusicNo = checkedTune();
      saved = registry.writeInt(kSettingsKey, "musicNo", FMusicNo) && saved;
    }
  }
  saveProblem_ = saved ? std::string() : registry.problem();
  accept();
}

void TForm_Set::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    reject();
  else
    FormBase::keyPressEvent(event);
}
