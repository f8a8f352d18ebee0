#include "app/TForm_Main.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/HelpViewer.h"
#include "app/Settings.h"
#include "app/TForm_About.h"
#include "app/TForm_Set.h"
#include "app/TutorHost.h"
#include "history/HistoryStore.h"
#include "history/windows/TForm_Progress.h"
#include "lookup/windows/TForm_rootMap.h"
#include "path/windows/TForm_Path.h"
#include "platform/Registry.h"
#include "platform/StartupTrace.h"
#include "platform/qt/KeyMapping.h"
#include "platform/qt/LockKeysX11.h"
#include "practice/PracticeFrame.h"
#include "practice/windows/SelectionPanel.h"
#include "practice/windows/TFrame_Veduzir.h"
#include "ui/Glyphs.h"
#include "ui/Look.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"

namespace {

constexpr int kClientWidth = 634;
constexpr int kClientHeight = 410;

// The toolbar: its background is the library's texture, tiled; a press on it
// drags the window.
class Toolbar : public QWidget {
 public:
  Toolbar(const QImage* texture, QWidget* parent) : QWidget(parent), texture_(texture) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (texture_ && !texture_->isNull())
      p.fillRect(rect(), QBrush(*texture_));
    else
      p.fillRect(rect(), quorvel::ui::kFormColour);
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawLine(0, height() - 1, width(), height() - 1);
  }

 private:
  const QImage* texture_;
};

QLabel* statusPane(QWidget* parent, const char* name) {
  auto* pane = new QLabel(parent);
  pane->setObjectName(QString::fromLatin1(name));
  pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pane->setFont(quorvel::ui::songFont(12));
  pane->setContentsMargins(3, 0, 3, 0);
  return pane;
}

}  // namespace

AppEnvironment defaultEnvironment() {
  AppEnvironment environment;
  environment.programDir = quorvel::platform::programDirectory();
  environment.library = quorvel::platform::ResourceLibrary::locate(environment.programDir);
  return environment;
}

QString TForm_Main::DefaultStatusText() {
  return QStringLiteral("奎沃/Quorvel （岚川形音输入法版本） Version 1.2") + QStringLiteral("  ") +
         QStringLiteral("作者:") + QStringLiteral("Marrowby 工作室") + QStringLiteral(" ");
}

TForm_Main::TForm_Main(AppEnvironment environment, QWidget* parent)
    : QWidget(parent), environment_(std::move(environment)) {
  setObjectName(QStringLiteral("Form_Main"));
  setWindowTitle(QStringLiteral("奎沃/Quorvel"));
  setWindowIcon(QIcon(quorvel::glyphs::programIcon(64)));
  setFont(quorvel::ui::songFont(16));
  quorvel::ui::applyTutorPalette(this);
  setAutoFillBackground(true);
  if (!environment_.locks) {
    systemLocks_ = std::make_unique<quorvel::platform::LockKeysX11>();
    environment_.locks = systemLocks_.get();
  }
  if (!environment_.music) {
    systemMusic_ = quorvel::ui::systemMusicOutput();
    environment_.music = systemMusic_.get();
  }
  MediaPlayer_BG =
      std::make_unique<quorvel::ui::BackgroundMusic>(environment_.library, environment_.music);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  TbrMain = new Toolbar(&toolbarTexture_, this);
  TbrMain->setObjectName(QStringLiteral("TbrMain"));
  TbrMain->setFixedHeight(56);
  auto* bar = new QHBoxLayout(TbrMain);
  bar->setContentsMargins(4, 2, 4, 2);
  bar->setSpacing(0);
  auto makeButton = [this](const char* name, const QString& caption, const QString& hint,
                           quorvel::glyphs::Toolbar glyph) {
    auto* button = new QToolButton(TbrMain);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setIcon(QIcon(quorvel::glyphs::toolbar(glyph)));
    button->setIconSize(QSize(28, 28));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    // Tab and F10 reach the toolbar; a click leaves the focus with the practice.
    button->setFocusPolicy(Qt::TabFocus);
    button->setFont(quorvel::ui::songFont(12));
    button->setFixedSize(52, 52);
    return button;
  };
  RzToolbarButton_Set =
      makeButton("RzToolbarButton_Set", QStringLiteral("设置"), QStringLiteral("设置(Ctrl+S)"),
                 quorvel::glyphs::Toolbar::Settings);
  RzToolbarButton_Help =
      makeButton("RzToolbarButton_Help", QStringLiteral("帮助"), QStringLiteral("帮助(F8)/(F1)"),
                 quorvel::glyphs::Toolbar::Help);
  RzToolbarButton_about =
      makeButton("RzToolbarButton_about", QStringLiteral("关于"), QStringLiteral("关于(Alt+A)"),
                 quorvel::glyphs::Toolbar::About);
  RzToolbarButton_progress =
      makeButton("RzToolbarButton_progress", QStringLiteral("进度"), QStringLiteral("练习进度(F9)"),
                 quorvel::glyphs::Toolbar::Progress);
  RzToolbarButton_path =
      makeButton("RzToolbarButton_path", QStringLiteral("路线"),
                 QStringLiteral("学习路线：下一课按 F7"), quorvel::glyphs::Toolbar::Path);
  RzToolbarButton_exit = makeButton("RzToolbarButton_exit", QStringLiteral("退出"),
                                    QStringLiteral("退出(Alt+F4)"), quorvel::glyphs::Toolbar::Exit);
  bar->addWidget(RzToolbarButton_Set);
  bar->addSpacing(5);
  bar->addWidget(RzToolbarButton_Help);
  bar->addSpacing(5);
  bar->addWidget(RzToolbarButton_about);
  bar->addSpacing(5);
  bar->addWidget(RzToolbarButton_progress);
  bar->addSpacing(5);
  bar->addWidget(RzToolbarButton_path);
  // The exit button keeps its place: 5 + 52 + 5 + 52 + 206 is the old 320.
  bar->addSpacing(206);
  bar->addWidget(RzToolbarButton_exit);
  bar->addStretch(1);
  connect(RzToolbarButton_Set, &QToolButton::clicked, this, &TForm_Main::RzToolbarButton_SetClick);
  connect(RzToolbarButton_Help, &QToolButton::clicked, this,
          &TForm_Main::RzToolbarButton_HelpClick);
  connect(RzToolbarButton_about, &QToolButton::clicked, this,
          &TForm_Main::RzToolbarButton_aboutClick);
  connect(RzToolbarButton_exit, &QToolButton::clicked, this,
          &TForm_Main::RzToolbarButton_exitClick);
  connect(RzToolbarButton_progress, &QToolButton::clicked, this,
          &TForm_Main::RzToolbarButton_progressClick);
  connect(RzToolbarButton_path, &QToolButton::clicked, this,
          &TForm_Main::RzToolbarButton_pathClick);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->watch(TbrMain);
  layout->addWidget(TbrMain);

  RzPanel_Text = new QWidget(this);
  RzPanel_Text->setObjectName(QStringLiteral("RzPanel_Text"));
  auto* textLayout = new QVBoxLayout(RzPanel_Text);
  textLayout->setContentsMargins(0, 0, 0, 0);
  Frame_Veduzir1 = new TFrame_Veduzir(RzPanel_Text);
  textLayout->addWidget(Frame_Veduzir1);
  layout->addWidget(RzPanel_Text, 1);

  RzStatusBar_Main = new QWidget(this);
  RzStatusBar_Main->setObjectName(QStringLiteral("RzStatusBar_Main"));
  RzStatusBar_Main->setFixedHeight(19);
  auto* status = new QHBoxLayout(RzStatusBar_Main);
  status->setContentsMargins(0, 0, 0, 0);
  status->setSpacing(2);
  RzClockStatus_Time = statusPane(RzStatusBar_Main, "RzClockStatus_Time");
  RzClockStatus_Time->setFixedWidth(70);
  RzClockStatus_Time->setAlignment(Qt::AlignCenter);
  RzClockStatus_Time->setToolTip(QStringLiteral("当前时间"));
  RzClockStatus_Time->setStatusTip(QStringLiteral("当前时间"));
  RzKeyStatus_Caps = statusPane(RzStatusBar_Main, "RzKeyStatus_Caps");
  RzKeyStatus_Caps->setText(QStringLiteral("Caps"));
  RzKeyStatus_Caps->setFixedWidth(44);
  RzKeyStatus_Caps->setAlignment(Qt::AlignCenter);
  RzKeyStatus_Caps->setToolTip(QStringLiteral("Caps Lock"));
  RzKeyStatus_Caps->setStatusTip(QStringLiteral("Caps Lock"));
  RzStatusPane_statue = statusPane(RzStatusBar_Main, "RzStatusPane_statue");
  status->addWidget(RzClockStatus_Time);
  status->addWidget(RzKeyStatus_Caps);
  status->addWidget(RzStatusPane_statue, 1);
  layout->addWidget(RzStatusBar_Main);

  // Tab goes round the toolbar, the selection rows as shown, the hint button
  // and the practice frame.
  {
    QWidget* previous = RzToolbarButton_exit;
    for (int row : SelectionPanel::shownOrder()) {
      QWidget* next = Frame_Veduzir1->selectionPanel()->button(row);
      setTabOrder(previous, next);
      previous = next;
    }
    if (QWidget* hint = findChild<QWidget*>(QStringLiteral("RzToolbarButton_fastHelp"))) {
      setTabOrder(previous, hint);
      previous = hint;
    }
    setTabOrder(previous, Frame_Veduzir1);
  }

  statusTimer_ = new QTimer(this);
  statusTimer_->setInterval(1000);
  connect(statusTimer_, &QTimer::timeout, this, &TForm_Main::statusTimer);
  statusTimer_->start();
  statusTimer();

  quorvel::platform::traceStartup("main window built");
  FormCreate();
}

TForm_Main::~TForm_Main() {
  qApp->removeEventFilter(this);
  // FormDestroy: the practice frame is torn down before its windows go.
  if (Frame_Veduzir1) {
    Frame_Veduzir1->tearDown();                // a run still going goes to the history as given up
    Frame_Veduzir1->logic().setHost(nullptr);  // the host goes before the frame
    Frame_Veduzir1->logic().setHistory(nullptr);
  }
  MediaPlayer_BG->stop();
}

void TForm_Main::recordRunInProgress() {
  if (Frame_Veduzir1) Frame_Veduzir1->tearDown();
}

void TForm_Main::FormCreate() {
  // Problems with the settings store met while the windows set up are said below.
  quorvel::platform::Registry::takeLatestProblem();
  // Every read of the set-up and of the windows built here shares one open.
  const quorvel::platform::ResourceLibrary::Batch startUp(environment_.library);
  toolbarTexture_ = quorvel::ui::libraryJpeg(environment_.library, "Bgjpg");
  Frame_Veduzir1->setUp(environment_.library, environment_.locks);
  quorvel::platform::traceStartup("frame set up");
  createWindows(windows_, this, environment_.library, environment_.programDir,
                Frame_Veduzir1->logic().data(), environment_.afterEachWindow);
  quorvel::platform::traceStartup("windows created");
  host_ = std::make_unique<TutorHost>(*Frame_Veduzir1, windows_);
  Frame_Veduzir1->logic().setHost(host_.get());
  // Trouble with the history file is said in the message pane, once: the
  // practice goes on without it.
  history_ = std::make_unique<quorvel::history::HistoryStore>(
      quorvel::history::HistoryStore::defaultFile(),
      [this](const std::string& problem) { showSettingsProblem(problem); });
  Frame_Veduzir1->logic().setHistory(history_.get());
  connect(Frame_Veduzir1, &TFrame_Veduzir::pathRequested, this,
          &TForm_Main::RzToolbarButton_pathClick);
  Frame_Veduzir1->logic().setRunRecorded([this](const quorvel::history::RunRecord& run) {
    if (!path_ || !quorvel::kindInfo(run.kind).plannedItems) return;
    // A session that ended brings the path back with what it changed; one
    // given up for another practice only updates it.
    path_->sessionEnded();
    if (run.finished) path_->showPath();
  });
  if (TForm_rootMap* map = windows_.rootMap)
    Frame_Veduzir1->setRootMapPicture(map->pictureSize(), [map] { return map->picture(); });
  connect(Frame_Veduzir1, &TFrame_Veduzir::maximiseToggleRequested, this,
          &TForm_Main::toggleMaximised);
  readSettings();
  int screenWidth = environment_.screenWidth;
  if (screenWidth <= 0 && screen()) screenWidth = screen()->geometry().width();
  startMaximised_ = FMaxSize || (screenWidth > 0 && screenWidth < 700);
  applyNormalSize();
  // The hint handler: status tips of every control reach event() below.
  ApplicationHint(QString());
  qApp->installEventFilter(this);
  quorvel::platform::traceStartup("settings read");
}

void TForm_Main::readSettings() {
  // A store that cannot be read or written leaves the defaults in force.
  quorvel::platform::Registry registry;
  quorvel::ensureSettingsKey(registry);
  FMusicOn = quorvel::readSettingOrDefault(registry, quorvel::kMusicPlay) != 0;
  FMusicNo = quorvel::readSettingOrDefault(registry, quorvel::kMusicNo);
  FMaxSize = quorvel::readSettingOrDefault(registry, quorvel::kMaxSize) != 0;
  showSettingsProblem(quorvel::platform::Registry::takeLatestProblem());
}

void TForm_Main::showSettingsProblem(const std::string& problem) {
  // Said in the message pane, where it stays whenever no hint is shown: the
  // learner sees it without a dialog in the way of practising.
  if (problem.empty()) return;
  settingsNotice_ = QString::fromStdString(problem);
  RzStatusPane_statue->setToolTip(settingsNotice_);
  ApplicationHint(currentHint_);
}

void TForm_Main::applyNormalSize() {
  setMinimumSize(kClientWidth, kClientHeight);
  setMaximumSize(kClientWidth, kClientHeight);
  resize(kClientWidth, kClientHeight);
}

void TForm_Main::showStartUp() {
  if (QScreen* s = screen())
    move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  if (startMaximised_) {
    maximise();
  } else {
    show();
  }
  Frame_Veduzir1->setFocus();
  // The music starts once the window is up: a first start writes the tune
  // file to disk, which the learner should not wait for.
  QTimer::singleShot(0, this, [this] { MediaPlayer_BG->start(FMusicOn, FMusicNo); });
  // Without its library the tutor still runs, but the empty toolbar and
  // introduction would not say why; it says so once, over the shown window.
  // Checking opens the library, so that too waits until the window is up.
  QTimer::singleShot(0, this, [this] {
    const QString problem = libraryProblem();
    if (problem.isEmpty()) return;
    quorvel::ui::messageBox(this, QMessageBox::Warning, QStringLiteral("提示"), problem,
                            "MessageBox_Library");
    Frame_Veduzir1->setFocus();
  });
}

QString TForm_Main::libraryProblem() const {
  const auto& library = environment_.library;
  const QString unusable = QStringLiteral("练习材料、提示和图片都无法使用，其余功能照常。");
  if (library.file().empty()) {
    QStringList places;
    for (const auto& dir : quorvel::platform::dataSearchDirs(environment_.programDir))
      places << QStringLiteral("  ") + QString::fromStdString(dir.string());
    return QStringLiteral("找不到资源库 %1，%2\n查找过的位置：\n%3")
        .arg(QString::fromLatin1(quorvel::platform::kResourceLibraryName), unusable,
             places.join(QLatin1Char('\n')));
  }
  const QString file = QString::fromStdString(library.file().string());
  if (!library.available())
    return QStringLiteral("资源库 %1 无法读取（文件可能已损坏），%2").arg(file, unusable);
  if (!Frame_Veduzir1->logic().data().basePresent)
    return QStringLiteral("资源库 %1 中的词典无法读取，编码提示和候选字无法使用。").arg(file);
  return {};
}

void TForm_Main::toggleMaximised() {
  if (isMaximized()) {
    showNormal();
    applyNormalSize();
    // Back where it was before: the maximised geometry replaced the normal one.
    if (!normalPlace_.isNull()) move(normalPlace_);
  } else {
    normalPlace_ = pos();
    maximise();
  }
}

void TForm_Main::maximise() {
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  // Fill the work area first: a desktop without a window manager ignores the
  // maximised state, and one with a window manager maximises anyway.
  if (QScreen* s = screen()) setGeometry(s->availableGeometry());
  showMaximized();
}

QString TForm_Main::clockText(const QTime& time) {
  // Hours, minutes and seconds without leading zeros: 9:05:03 shows as 9:5:3.
  return time.toString(QStringLiteral("h:m:s"));
}

void TForm_Main::statusTimer() {
  RzClockStatus_Time->setText(clockText(QTime::currentTime()));
  const bool caps = environment_.locks && environment_.locks->capsLock();
  RzKeyStatus_Caps->setEnabled(caps);
  if (currentHint_ == QLatin1String("Caps Lock")) ApplicationHint(currentHint_);
}

void TForm_Main::ApplicationHint(const QString& hint) {
  currentHint_ = hint;
  if (hint.isEmpty())
    RzStatusPane_statue->setText(settingsNotice_.isEmpty() ? DefaultStatusText() : settingsNotice_);
  else if (hint == QLatin1String("Caps Lock"))
    RzStatusPane_statue->setText(RzKeyStatus_Caps->isEnabled() ? QStringLiteral("Caps Lock 开")
                                                               : QStringLiteral("Caps Lock 关"));
  else
    RzStatusPane_statue->setText(hint);
}

QString TForm_Main::statusText() const { return RzStatusPane_statue->text(); }

bool TForm_Main::event(QEvent* event) {
  if (event->type() == QEvent::Paint && !painted_) {
    painted_ = true;
    quorvel::platform::traceStartup("main window first painted");
    if (quorvel::platform::startupTraceQuits()) QTimer::singleShot(0, qApp, &QApplication::quit);
  }
  if (event->type() == QEvent::StatusTip) {
    ApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QWidget::event(event);
}

bool TForm_Main::FormKeyDown(quorvel::vk::KeyPress key) {
  using namespace quorvel::vk;
  if (key.key == F4 && (key.modifiers & ModAlt)) {
    close();
    return true;
  }
  if (key.key == F8) {
    RzToolbarButton_HelpClick();
    return true;
  }
  if (key.key == F9) {
    RzToolbarButton_progressClick();
    return true;
  }
  if (key.key == F7 && !key.modified()) {
    startPathSession();
    return true;
  }
  if (key.key == 'A' && (key.modifiers & ModAlt)) {
    RzToolbarButton_aboutClick();
    return true;
  }
  if (key.key == 'S' && (key.modifiers & ModCtrl)) {
    RzToolbarButton_SetClick();
    return true;
  }
  // Alt+1 to Alt+9 press the selection rows in the order shown.
  if (key.modifiers == ModAlt && key.key >= Key0 + 1 && key.key <= Key9) {
    Frame_Veduzir1->selectionPanel()->pressShown(key.key - Key0 - 1);
    return true;
  }
  Frame_Veduzir1->keyHandler(key);
  return false;
}

bool TForm_Main::leaveFrameKey(const QWidget* watched, const QKeyEvent& event) {
  // The practice frame keeps every key it practises with. Ctrl+Tab and the
  // Menu key lead to the selection rows, Ctrl+Shift+Tab and F10 to the
  // toolbar; while nothing is practised Tab, Down and Return go to the rows
  // too and Shift+Tab to the toolbar (the text pane keeps them for its caret).
  const Qt::KeyboardModifiers mods =
      event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  QTextEdit* express = Frame_Veduzir1->express();
  const bool inPane = watched == express || express->isAncestorOf(watched);
  const bool idle = !Frame_Veduzir1->logic().practising() && !inPane;
  const int key = event.key();
  const bool toSelection =
      (key == Qt::Key_Tab && (mods == Qt::ControlModifier || (idle && mods == Qt::NoModifier))) ||
      (key == Qt::Key_Menu && mods == Qt::NoModifier) ||
      (idle && mods == Qt::NoModifier &&
       (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter));
  const bool toToolbar =
      (key == Qt::Key_Backtab && (mods == (Qt::ControlModifier | Qt::ShiftModifier) ||
                                  (idle && mods == Qt::ShiftModifier))) ||
      (key == Qt::Key_F10 && mods == Qt::NoModifier);
  if (toSelection) Frame_Veduzir1->focusSelection();
  if (toToolbar) RzToolbarButton_Set->setFocus(Qt::TabFocusReason);
  return toSelection || toToolbar;
}

bool TForm_Main::controlKey(QWidget* focused, QKeyEvent& event) {
  // A toolbar button or a selection row with the keyboard focus: Tab moves
  // on, the arrows move between its neighbours, Space and Return press it,
  // Esc goes back to the practice; any other key is the practice's.
  const int key = event.key();
  const bool plain = !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (plain && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) return false;
  if (plain && Frame_Veduzir1->selectionPanel()->navigate(focused, key)) return true;
  auto* button = qobject_cast<QAbstractButton*>(focused);
  if (plain && focused->parentWidget() == TbrMain && button) {
    const QList<QToolButton*> tools = {RzToolbarButton_Set,   RzToolbarButton_Help,
                                       RzToolbarButton_about, RzToolbarButton_progress,
                                       RzToolbarButton_path,  RzToolbarButton_exit};
    const int at = static_cast<int>(tools.indexOf(static_cast<QToolButton*>(button)));
    switch (key) {
      case Qt::Key_Left:
        tools[(at + tools.size() - 1) % tools.size()]->setFocus(Qt::TabFocusReason);
        return true;
      case Qt::Key_Right:
        tools[(at + 1) % tools.size()]->setFocus(Qt::TabFocusReason);
        return true;
      case Qt::Key_Down:
        Frame_Veduzir1->focusSelection();
        return true;
      case Qt::Key_Up:
        return true;
      default:
        break;
    }
  }
  if (plain && button && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    button->click();
    return true;
  }
  if (key == Qt::Key_Escape && event.modifiers() == Qt::NoModifier) {
    Frame_Veduzir1->setFocus(Qt::OtherFocusReason);
    return true;
  }
  const bool modifierOnly =
      key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta;
  const quorvel::vk::KeyPress press = quorvel::platform::toKeyPress(event);
  if (!modifierOnly && !(press.modifiers & quorvel::vk::ModAlt) &&
      !(press.key >= quorvel::vk::F1 && press.key <= quorvel::vk::F12))
    Frame_Veduzir1->setFocus(Qt::OtherFocusReason);
  FormKeyDown(press);
  return true;
}

bool TForm_Main::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide) {
    // A dialog that closes under the mouse never sends the empty hint of the
    // mouse leaving its button; the pane drops that button's hint here.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->isWindow() && widget->parentWidget() == this) ApplicationHint(QString());
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() == QEvent::StatusTip) {
    // Hints of the tutor's other windows reach the message pane too; the
    // main window's own arrive through event().
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() != this && widget->window()->parentWidget() == this)
      ApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
    return QWidget::eventFilter(watched, event);
  }
  if (forwarding_ || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return QWidget::eventFilter(watched, event);
  auto* keyEvent = static_cast<QKeyEvent*>(event);
  // The controls the keyboard reaches answer their own keys.
  if (widget == focusWidget() && widget != Frame_Veduzir1 &&
      qobject_cast<QAbstractButton*>(widget) && widget->focusPolicy() != Qt::NoFocus)
    return controlKey(widget, *keyEvent);
  if (leaveFrameKey(widget, *keyEvent)) return true;
  const quorvel::vk::KeyPress key = quorvel::platform::toKeyPress(*keyEvent);
  const bool own = FormKeyDown(key);
  // After the preview the text pane still gets its navigation keys.
  QTextEdit* express = Frame_Veduzir1->express();
  if (!own && (widget == express || express->isAncestorOf(widget)) && isVisible()) {
    QKeyEvent copy(keyEvent->type(), keyEvent->key(), keyEvent->modifiers(), keyEvent->text(),
                   keyEvent->isAutoRepeat(), static_cast<ushort>(keyEvent->count()));
    forwarding_ = true;
    QCoreApplication::sendEvent(express, &copy);
    forwarding_ = false;
  }
  return true;
}

void TForm_Main::RzToolbarButton_SetClick() {
  if (!windows_.settings) return;
  const bool changed = windows_.settings->RunSettings(FMusicOn, FMusicNo);
  showSettingsProblem(windows_.settings->saveProblem());
  if (!changed) return;
  // The new "MaxSize" counts from the next start; the music changes now.
  FMusicOn = windows_.settings->FMusicOn;
  FMusicNo = windows_.settings->FMusicNo;
  MediaPlayer_BG->start(FMusicOn, FMusicNo);
}

void TForm_Main::RzToolbarButton_HelpClick() {
  if (windows_.help) windows_.help->openContext(10001);
}

void TForm_Main::RzToolbarButton_aboutClick() {
  if (windows_.about) windows_.about->exec();
}

void TForm_Main::RzToolbarButton_progressClick() {
  if (!history_) return;
  if (!progress_) {
    progress_ = new TForm_Progress(*history_, Frame_Veduzir1->logic().data(), this);
    connect(progress_, &TForm_Progress::practiseWeak, this, [this](int kind) {
      Frame_Veduzir1->logic().selectKind(kind);
      Frame_Veduzir1->render();
      // The run the drill replaced is in the history now.
      progress_->reload(runningNote());
      // Back to the keyboard: the drill, or the frame saying why it did not start.
      activateWindow();
      raise();
      Frame_Veduzir1->setFocus();
    });
  }
  progress_->showProgress(runningNote());
}

void TForm_Main::makePathWindow() {
  if (path_ || !history_) return;
  // The shipped texts are the path's last stage, in their order.
  std::vector<std::string> texts;
  const std::filesystem::path dir =
      quorvel::platform::findDataDirectory(environment_.programDir, "texts");
  std::error_code ec;
  if (!dir.empty())
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
      if (entry.path().extension() == ".txt") texts.push_back(entry.path().string());
  std::sort(texts.begin(), texts.end());
  pathSettings_ = std::make_unique<quorvel::platform::Registry>();
  path_ = new TForm_Path(*history_, Frame_Veduzir1->logic().data(), std::move(texts),
                         pathSettings_.get(), *pathClock_, this);
  connect(path_, &TForm_Path::startSession, this, [this](const quorvel::SessionPlan& plan) {
    quorvel::PracticeFrame& logic = Frame_Veduzir1->logic();
    logic.setPlan(plan);
    logic.selectKind(plan.kind);
    Frame_Veduzir1->render();
    activateWindow();
    raise();
    Frame_Veduzir1->setFocus();
  });
}

void TForm_Main::RzToolbarButton_pathClick() {
  makePathWindow();
  if (path_) path_->showPath();
}

void TForm_Main::startPathSession() {
  makePathWindow();
  if (path_) path_->startNext();
}

QString TForm_Main::runningNote() const {
  // A run is recorded when it ends or is given up: until then the learner
  // is told why its mistakes are not listed yet.
  const quorvel::PracticeFrame& logic = Frame_Veduzir1->logic();
  if (!logic.practising()) return {};
  const QString kind = QString::fromUtf8(quorvel::kindInfo(logic.practiceKind()).name);
  // No promise the history cannot keep: a file that cannot be written gets no run.
  if (!history_ || !history_->canRecord())
    return QStringLiteral("正在进行的%1不会记入练习记录：练习记录现在无法写入。").arg(kind);
  return QStringLiteral("正在进行的%1结束或换别的练习后才记入这里。").arg(kind);
}
