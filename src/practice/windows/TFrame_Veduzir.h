#pragma once
// The practice frame as the user sees it. It owns the practice logic
// (quorvel::PracticeFrame), forwards every event to it and then shows what
// the logic's FrameView holds, changing only what changed since last time.
// It is also the logic's host: sound, the other windows and help.
#include <QWidget>
#include <array>
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
class QMenu;
class QProgressBar;
class QSplitter;
class QTextEdit;
class QTimer;
struct WindowSet;

namespace quorvel {
class PracticeFrame;
namespace ui {
class TransparentButton;
}
}  // namespace quorvel

// StringGrid_typer: the root drill's picture grid, 26 x 10 cells of 22 x 20.
class TypingPictureGrid : public QWidget {
  Q_OBJECT
 public:
  explicit TypingPictureGrid(QWidget* parent = nullptr);
  void setModel(const quorvel::PictureGrid* grid, const std::vector<QPixmap>* roots);
  static constexpr int kColumnWidth = 22;
  static constexpr int kRowHeight = 20;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void StringGrid_typerDrawCell(QPainter& painter, int column, int row, const QRect& rect);
  const quorvel::PictureGrid* grid_ = nullptr;
  const std::vector<QPixmap>* roots_ = nullptr;
};

class TFrame_Veduzir : public QWidget, public quorvel::FrameHost {
  Q_OBJECT
 public:
  explicit TFrame_Veduzir(QWidget* parent = nullptr);
  ~TFrame_Veduzir() override;

  // Frame set-up: reads the practice data and builds the grids.
  void setUp(const quorvel::platform::ResourceLibrary& library, WindowSet* windows,
             const quorvel::platform::LockKeys* locks);
  // Frame tear-down: the logic frees what it loaded.
  void tearDown();

  // The key handler: every key the main window does not take itself.
  void keyHandler(quorvel::vk::KeyPress key);

  quorvel::PracticeFrame& logic() { return *logic_; }
  const quorvel::PracticeFrame& logic() const { return *logic_; }
  QLabel* cellLabel(int index) const { return FCellLabels[static_cast<std::size_t>(index)]; }
  QTextEdit* express() const { return RzRichEdit_express; }
  // Shows what the logic changed. Every event handler calls it.
  void render();

  // FrameHost
  void beep() override;
  void processPendingEvents() override;
  void restoreSelectionPanel() override;
  void showCharHint(const quorvel::TCharCodes& codes) override;
  void showWordHint(const quorvel::TCharCodes& codes, const quorvel::TWordCode& word) override;
  void showRootHint(char keyLetter) override;
  void showRootTip() override;
  void showTip(int tipKind) override;
  void openLookup() override;
  void toggleRootTable() override;
  void openHelp(int context) override;

 signals:
  // Every key that reaches the key handler, before the logic acts on it.
  void keyReceived(quorvel::vk::KeyPress key);
  // The selection label was double-clicked: maximise or restore the window.
  void maximiseToggleRequested();
  // A beep was asked for (the sound itself is QApplication::beep).
  void beeped();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildLayout();
  void buildSelectionPanel(QWidget* panel);
  void buildMenus();
  void buildPracticeArea(QWidget* area);
  void buildPageInfoBar(QWidget* bar);
  void buildSpeedInfo(QWidget* panel);
  void layoutPageInfoBar();
  void applySplitter();

  void RzToolbarButton_rootClick();
  void RzToolbarButton_compareClick();
  void RzToolbarButton_inputClick();
  void RzToolbarButton_queryClick();
  void RzToolbarButton_RootMapClick();
  void RzToolbarButton_fastHelpClick();
  void MenuItem_onechar_allClick(int tag);
  void MenuItem_ExamClick(int tag);
  void RzCheckBox_alfClick();
  void Timer_ExamTimer();
  void dropMenu(int row, QMenu* menu);

  std::unique_ptr<quorvel::platform::Clock> clock_;
  std::unique_ptr<quorvel::platform::RandomSource> random_;
  std::unique_ptr<quorvel::PracticeFrame> logic_;
  WindowSet* windows_ = nullptr;
  bool setUpDone_ = false;

  // What is on screen now, to change only what the logic changed.
  quorvel::FrameView shown_;
  bool firstRender_ = true;
  std::uint64_t shownRevision_ = ~std::uint64_t{0};
  std::vector<QPixmap> rootPixmaps_;
  QPixmap rootMapPicture_;

 public:
  // The text file of the comparison practice and of the test, as last chosen.
  QString FCompareFile;
  QString FExamFile;
  bool FExamByTime = true;
  quorvel::TExamSettings FExamSettings;

 public:
  // Controls, by the names the tutor gives them.
  QWidget* Panel_VEDuzir = nullptr;
  QLabel* RzLabel_Seltext = nullptr;
  QSplitter* RzSplitter_Text = nullptr;
  QWidget* RzPanel_BtnPanel = nullptr;
  std::array<QLabel*, 8> FCaptionLabels{};
  std::array<quorvel::ui::TransparentButton*, 8> FSelectionButtons{};
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
  QLabel* Image_Map = nullptr;
  QMenu* PopupMenu_Char = nullptr;
  QMenu* PopupMenu_word = nullptr;
  QMenu* PopupMenu_exam = nullptr;
  QTimer* Timer_Exam = nullptr;
};
