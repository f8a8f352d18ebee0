#include "app/TForm_Set.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QRadioButton>

#include "app/Settings.h"
#include "platform/Registry.h"
#include "ui/QtSupport.h"

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
  using namespace quorvel;
  platform::Registry registry;
  if (!registry.keyExists(kSettingsKey)) {
    // A new key holds the defaults, which the controls already show.
    ensureSettingsKey(registry);
    return;
  }
  if (readSettingOrDefault(registry, kMusicPlay) != 0) {
    const auto number = readSetting(registry, kMusicNo);
    if (!number) writeSetting(registry, kMusicNo, kMusicNo.defaultValue);
    // The tune the main window plays (the number brought into range), so OK
    // untouched changes nothing.
    QRadioButton* tunes[] = {RzRadioButton_music1, RzRadioButton_music2, RzRadioButton_music3,
                             RzRadioButton_music4};
    tunes[number.value_or(kMusicNo.defaultValue) - kMusicNo.least]->setChecked(true);
  } else {
    RzCheckBox_Music->setChecked(false);
    RzCheckBox_MusicClick();
  }
  const auto maxSize = readSetting(registry, kMaxSize);
  if (!maxSize) writeSetting(registry, kMaxSize, kMaxSize.defaultValue);
  RzCheckBox_MaxSize->setChecked(maxSize.value_or(kMaxSize.defaultValue) != 0);
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
  using namespace quorvel;
  platform::Registry registry;
  bool saved = registry.keyExists(kSettingsKey);
  if (saved) {
    saved = writeSetting(registry, kMaxSize, RzCheckBox_MaxSize->isChecked() ? 1 : 0);
    saved = writeSetting(registry, kMusicPlay, RzCheckBox_Music->isChecked() ? 1 : 0) && saved;
    FMusicOn = RzCheckBox_Music->isChecked();
    if (FMusicOn) {
      FMusicNo = checkedTune();
      saved = writeSetting(registry, kMusicNo, FMusicNo) && saved;
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
