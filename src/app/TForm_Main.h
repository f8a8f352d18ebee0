#pragma once
// The main window: toolbar, status bar and the practice frame. It previews
// every key: Alt+F4, F7, F8, F9, Alt+A and Ctrl+S are its own, every other key
// goes to the practice frame's key handler.
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/Music.h"
#include "app/WindowSet.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/ResourceLibrary.h"
#include "platform/VirtualKeys.h"

class QKeyEvent;
class QLabel;
class QTime;
class QTimer;
class QToolButton;
class TFrame_Veduzir;
class TForm_Progress;
class TForm_Path;
class TutorHost;
namespace quorvel::history {
class HistoryStore;
}

// Where the tutor finds its data and how it reads the keyboard's lock keys.
struct AppEnvironment {
  std::filesystem::path programDir;
  quorvel::platform::ResourceLibrary library;
  // Caps Lock and Num Lock; null: the system's.
  const quorvel::platform::LockKeys* locks = nullptr;
  // The screen width the start-up size rule looks at; 0: the real screen's.
  int screenWidth = 0;
  // Where the background music plays; null: the system's sound output.
  quorvel::ui::MusicOutput* music = nullptr;
  // Runs after each group of windows start-up creates (the splash repaints).
  std::function<void()> afterEachWindow;
};
// The installed tutor's environment: its own directory and the library found
// by the data search.
AppEnvironment defaultEnvironment();

class TForm_Main : public QWidget {
  Q_OBJECT
 public:
  explicit TForm_Main(AppEnvironment environment, QWidget* parent = nullptr);
  ~TForm_Main() override;

  WindowSet& windows() { return windows_; }
  TFrame_Veduzir* frame() const { return Frame_Veduzir1; }
  const AppEnvironment& environment() const { return environment_; }
  // Shows the window as start-up wants it: maximised when asked for or on a
  // narrow screen, else at its fixed size.
  void showStartUp();
  bool startsMaximised() const { return startMaximised_; }
  // The text the message pane shows now.
  QString statusText() const;
  // The hint handler: writes the message pane for a hint text.
  void ApplicationHint(const QString& hint);
  // FormKeyDown: the main window's own keys; false when the key went to the frame.
  bool FormKeyDown(quorvel::vk::KeyPress key);
  void toggleMaximised();
  // The run going on goes to the history as given up, as at the end of the
  // program; the program may end at once after it.
  void recordRunInProgress();
  // What start-up says about the resource library: that it was not found
  // (with the places searched), could not be read, or lacks its dictionary;
  // empty when it is fine.
  QString libraryProblem() const;

  static QString DefaultStatusText();
  // What went wrong with the settings store, shown in the message pane in
  // place of the default text; empty while nothing has.
  const QString& settingsNotice() const { return settingsNotice_; }
  // The status bar clock's text for a time of day.
  static QString clockText(const QTime& time);

  // Settings as read at start-up.
  bool FMusicOn = true;
  std::int32_t FMusicNo = 1;
  bool FMaxSize = false;

  // Controls.
  QWidget* TbrMain = nullptr;
  QToolButton* RzToolbarButton_Set = nullptr;
  QToolButton* RzToolbarButton_Help = nullptr;
  QToolButton* RzToolbarButton_about = nullptr;
  QToolButton* RzToolbarButton_progress = nullptr;
  QToolButton* RzToolbarButton_path = nullptr;
  QToolButton* RzToolbarButton_exit = nullptr;
  QWidget* RzPanel_Text = nullptr;
  TFrame_Veduzir* Frame_Veduzir1 = nullptr;
  QWidget* RzStatusBar_Main = nullptr;
  QLabel* RzClockStatus_Time = nullptr;
  QLabel* RzKeyStatus_Caps = nullptr;
  QLabel* RzStatusPane_statue = nullptr;
  std::unique_ptr<quorvel::ui::BackgroundMusic> MediaPlayer_BG;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void readSettings();
  void showSettingsProblem(const std::string& problem);
  void RzToolbarButton_SetClick();
  void RzToolbarButton_HelpClick();
  void RzToolbarButton_aboutClick();
  void RzToolbarButton_exitClick() { close(); }

 public:
  // The progress window, made when first asked for (F9 or the toolbar).
  void RzToolbarButton_progressClick();
  // What the progress window says of the run going on, if any.
  QString runningNote() const;
  TForm_Progress* progressWindow() const { return progress_; }
  // The learning-path window, made when first asked for (the toolbar, the
  // selection panel, or F7, which also starts the next session).
  void RzToolbarButton_pathClick();
  void startPathSession();
  TForm_Path* pathWindow() const { return path_; }
  // The clock the path counts days by (tests move it on).
  void setPathClock(const quorvel::platform::Clock* clock) { pathClock_ = clock; }
  quorvel::history::HistoryStore* history() const { return history_.get(); }

 private:
  void statusTimer();
  // Keys that take the focus out of the practice frame; true when taken.
  bool leaveFrameKey(const QWidget* watched, const QKeyEvent& event);
  // A key for a focused toolbar button or selection row.
  bool controlKey(QWidget* focused, QKeyEvent& event);
  void applyNormalSize();
  void maximise();

  AppEnvironment environment_;
  std::unique_ptr<quorvel::platform::LockKeys> systemLocks_;
  std::unique_ptr<quorvel::ui::MusicOutput> systemMusic_;
  WindowSet windows_;
  std::unique_ptr<TutorHost> host_;
  // The learner's history: opened when the first run ends or the progress
  // window is first shown, so start-up does not wait for it.
  std::unique_ptr<quorvel::history::HistoryStore> history_;
  TForm_Progress* progress_ = nullptr;
  TForm_Path* path_ = nullptr;
  std::unique_ptr<quorvel::platform::Registry> pathSettings_;  // the learner's targets
  void makePathWindow();
  quorvel::platform::Clock systemClock_;
  const quorvel::platform::Clock* pathClock_ = &systemClock_;
  QImage toolbarTexture_;
  QTimer* statusTimer_ = nullptr;
  bool startMaximised_ = false;
  bool painted_ = false;  // the first paint is a start-up mark
  bool forwarding_ = false;
  QString currentHint_;
  QPoint normalPlace_;  // where the normal window was before it was maximised
  QString settingsNotice_;
};
