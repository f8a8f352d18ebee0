#pragma once
// The practice frame as the user sees it. It owns the practice logic
// (quorvel::PracticeFrame), forwards every event to it and then has the
// renderer show what the logic's FrameView holds. The selection panel on its
// left, the grid, the page line, the code line and the score panel are its
// parts; tests find them by object name.
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/ResourceLibrary.h"
#include "platform/VirtualKeys.h"
#include "practice/FrameHost.h"
#include "practice/FrameView.h"

class QCheckBox;
class QLabel;
class QLCDNumber;
class QProgressBar;
class QSplitter;
class QTextEdit;
class QTimer;
class FrameRenderer;
class SelectionPanel;
class TypingPictureGrid;

namespace quorvel {
class PracticeFrame;
namespace ui {
class TransparentButton;
}
}  // namespace quorvel

// It is the logic's host until the tutor hands it one that also reaches
// the other windows; alone it beeps, repaints and restores its panel.
class TFrame_Veduzir : public QWidget, public quorvel::FrameHost {
  Q_OBJECT
 public:
  explicit TFrame_Veduzir(QWidget* parent = nullptr);
  ~TFrame_Veduzir() override;

  // Frame set-up: reads the practice data and builds the grids.
  void setUp(const quorvel::platform::ResourceLibrary& library,
             const quorvel::platform::LockKeys* locks);
  // The root table picture shown under the grid in a wide frame.
  // The root-table picture shown in a tall frame, fetched when first shown.
  void setRootMapPicture(QSize size, std::function<QPixmap()> picture);
  // Frame tear-down: the logic frees what it loaded.
  void tearDown();

  // The key handler: every key the main window does not take itself.
  void keyHandler(quorvel::vk::KeyPress key);

  quorvel::PracticeFrame& logic() { return *logic_; }
  const quorvel::PracticeFrame& logic() const { return *logic_; }
  // Cell label of the grid, by cellIndex(column, row).
  QLabel* cellLabel(int index) const;
  // The side pane that shows the introduction or the chosen text file.
  QTextEdit* express() const { return RzRichEdit_express; }
  // Shows what the logic changed. Every event handler calls it.
  void render();
  // The selection panel takes the keyboard focus, shown first if the
  // practice area filled the frame.
  void focusSelection();
  SelectionPanel* selectionPanel() const { return RzPanel_BtnPanel; }

  // FrameHost: the frame's own effects.
  void beep() override;
  void processPendingEvents() override;
  void restoreSelectionPanel() override;
  void showCharHint(const quorvel::TCharCodes&) override {}
  void showWordHint(const quorvel::TCharCodes&, const quorvel::TWordCode&) override {}
  void showRootHint(char) override {}
  void showRootTip() override {}
  void showTip(int) override {}
  void openLookup() override {}
  void openHelp(int) override {}

 signals:
  // Every key that reaches the key handler, before the logic acts on it.
  void keyReceived(quorvel::vk::KeyPress key);
  // The selection label was double-clicked: maximise or restore the window.
  void maximiseToggleRequested();
  // A beep was asked for (the sound itself is QApplication::beep).
  void beeped();
  // 学习路线 was chosen in the selection panel: the main window shows the path.
  void pathRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildLayout();
  void buildPracticeArea(QWidget* area);
  void buildPageInfoBar(QWidget* bar);
  void buildSpeedInfo(QWidget* panel);
  void layoutPageInfoBar();

  void selectionButtonClicked(int row);
  void MenuItem_onechar_allClick(int tag);
  void RzToolbarButton_fastHelpClick();
  void RzCheckBox_alfClick();
  void Timer_ExamTimer();

  std::unique_ptr<quorvel::platform::Clock> clock_;
  std::unique_ptr<quorvel::platform::RandomSource> random_;
  std::unique_ptr<quorvel::PracticeFrame> logic_;
  std::unique_ptr<FrameRenderer> renderer_;
  bool setUpDone_ = false;
  std::vector<QPixmap> rootPixmaps_;

  // Controls, by the names the tutor gives them.
  QWidget* Panel_VEDuzir = nullptr;
  QLabel* RzLabel_Seltext = nullptr;
  QSplitter* RzSplitter_Text = nullptr;
  SelectionPanel* RzPanel_BtnPanel = nullptr;
  QWidget* Panel_Preview = nullptr;
  QTextEdit* RzRichEdit_express = nullptr;
  QLabel* RzLabel_preview = nullptr;
  QWidget* RzPanel_RightInput = nullptr;
  std::array<QLabel*, quorvel::kGridColumns * quorvel::kGridRows> FCellLabels{};
  TypingPictureGrid* StringGrid_typer = nullptr;
  QLabel* RzLabel_STip = nullptr;
  QWidget* RzPanel_RightPageInfo = nullptr;
  QLabel* RzLabel_PagesInfo = nullptr;
  QLCDNumber* RzLEDDisplay_Exam = nullptr;
  QCheckBox* RzCheckBox_alf = nullptr;
  QLabel* RzLabel_fastHelp = nullptr;
  quorvel::ui::TransparentButton* RzToolbarButton_fastHelp = nullptr;
  QSplitter* RzSplitter_word = nullptr;
  QLabel* RzLabel_keyplace = nullptr;
  QLabel* RzLabel_wordplace = nullptr;
  QWidget* Panel_SpeedInfo = nullptr;
  QLabel* RzLabel_1 = nullptr;
  QLabel* RzLabel_V = nullptr;
  QLabel* RzLabel6 = nullptr;
  QLabel* RzLabel_TrainName = nullptr;
  QLabel* RzLabel_Right = nullptr;
  QProgressBar* RzProgressBar_right = nullptr;
  QLabel* RzLabel2 = nullptr;
  QLabel* RzLabel3 = nullptr;
  QLabel* RzLabel4 = nullptr;
  QLabel* RzLabel_pathKey = nullptr;
  QLabel* Image_Map = nullptr;
  QTimer* Timer_Exam = nullptr;
};
