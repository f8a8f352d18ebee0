#pragma once
// The settings dialog: start maximised, background music on, which tune. It
// reads the settings once when created and writes them on OK; its controls
// keep what the user left, also after Cancel.
#include <cstdint>
#include <string>

#include "ui/Widgets.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;

class TForm_Set : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  explicit TForm_Set(QWidget* parent = nullptr);
  // Shows the dialog modally with the main window's music settings as its
  // outputs; true when OK changed either of them.
  bool RunSettings(bool musicOn, std::int32_t musicNo);

  // Outputs: what the main window takes over after the dialog.
  bool FMusicOn = true;
  std::int32_t FMusicNo = 1;
  // Why the last OK could not save, for the learner; empty when it saved.
  const std::string& saveProblem() const { return saveProblem_; }

  QCheckBox* RzCheckBox_MaxSize = nullptr;
  QCheckBox* RzCheckBox_Music = nullptr;
  QGroupBox* RzBorder_Music = nullptr;
  QRadioButton* RzRadioButton_music1 = nullptr;
  QRadioButton* RzRadioButton_music2 = nullptr;
  QRadioButton* RzRadioButton_music3 = nullptr;
  QRadioButton* RzRadioButton_music4 = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Ok = nullptr;
  quorvel::ui::LinkLabel* RzLabel_Cancel = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
  void RzCheckBox_MusicClick();
  void RzLabel_OkClick();
  int checkedTune() const;
  std::string saveProblem_;
};
