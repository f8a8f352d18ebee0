#pragma once
// The settings dialog: start maximised, background music on, which tune.
#include "app/Widgets.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;

class TForm_Set : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  explicit TForm_Set(QWidget* parent = nullptr);

  QCheckBox* RzCheckBox_MaxSize = nullptr;
  QCheckBox* RzCheckBox_Music = nullptr;
  QGroupBox* RzBorder_Music = nullptr;
  QRadioButton* RzRadioButton_music1 = nullptr;
  QRadioButton* RzRadioButton_music2 = nullptr;
  QRadioButton* RzRadioButton_music3 = nullptr;
  QRadioButton* RzRadioButton_music4 = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Ok = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Cancel = nullptr;

 private:
  void RzCheckBox_MusicClick();
};
