#include "practice/windows/TFrame_Veduzir.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLCDNumber>
#include <QLabel>
#include <QProgressBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "data/PracticeData.h"
#include "kinds/KindFactory.h"
#include "practice/PracticeFrame.h"
#include "practice/windows/FrameParts.h"
#include "practice/windows/FrameRenderer.h"
#include "practice/windows/SelectionPanel.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"

using quorvel::ui::fromGbk;
using quorvel::ui::makeLabel;
using quorvel::ui::setFill;
using quorvel::ui::songFont;

namespace {

const QColor kNavy(0x00, 0x00, 0x80);

}  // namespace

TFrame_Veduzir::TFrame_Veduzir(QWidget* parent)
    : QWidget(parent),
      clock_(std::make_unique<quorvel::platform::Clock>()),
      random_(std::make_unique<quorvel::platform::RandomSource>()) {
  setObjectName(QStringLiteral("Frame_Veduzir1"));
  setFont(songFont(16));
  setFill(this, quorvel::ui::kFormColour);
  // The frame reads raw keys itself; the system input method must not take them.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setFocusPolicy(Qt::StrongFocus);
  quorvel::FrameServices services;
  services.host = this;
  services.clock = clock_.get();
  services.random = random_.get();
  // Lock keys: the logic's own stand-in until set-up hands over the system's.
  logic_ = std::make_unique<quorvel::PracticeFrame>(services, quorvel::makePracticeKind);
  buildLayout();
  FrameWidgets widgets;
  widgets.cells = FCellLabels;
  widgets.pictureGrid = StringGrid_typer;
  widgets.pagesInfo = RzLabel_PagesInfo;
  widgets.keyplace = RzLabel_keyplace;
  widgets.wordplace = RzLabel_wordplace;
  widgets.speed = RzLabel_V;
  widgets.trainName = RzLabel_TrainName;
  widgets.accuracy = RzProgressBar_right;
  widgets.examClock = RzLEDDisplay_Exam;
  widgets.letterMode = RzCheckBox_alf;
  widgets.preview = RzRichEdit_express;
  widgets.textSplitter = RzSplitter_Text;
  widgets.map = Image_Map;
  renderer_ = std::make_unique<FrameRenderer>(widgets);
  Timer_Exam = new QTimer(this);
  Timer_Exam->setObjectName(QStringLiteral("Timer_Exam"));
  Timer_Exam->setInterval(1000);
  connect(Timer_Exam, &QTimer::timeout, this, &TFrame_Veduzir::Timer_ExamTimer);
  Timer_Exam->start();
}

TFrame_Veduzir::~TFrame_Veduzir() = default;

void TFrame_Veduzir::buildLayout() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  Panel_VEDuzir = new QWidget(this);
  Panel_VEDuzir->setObjectName(QStringLiteral("Panel_VEDuzir"));
  auto* upper = new QHBoxLayout(Panel_VEDuzir);
  upper->setContentsMargins(0, 0, 0, 0);
  upper->setSpacing(0);

  RzLabel_Seltext = makeLabel(Panel_VEDuzir, "RzLabel_Seltext", QString(), songFont(16, true));
  RzLabel_Seltext->setFixedWidth(20);
  RzLabel_Seltext->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  RzLabel_Seltext->setStatusTip(QString());
  RzLabel_Seltext->installEventFilter(this);
  // A press on the label drags the window, but not a maximised one, and
  // brings the selection panel back to its resting look.
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->setCondition([this] { return !window()->isMaximized(); });
  dragger->setOnPress([this] { restoreSelectionPanel(); });
  dragger->watch(RzLabel_Seltext);
  {
    QPalette palette = RzLabel_Seltext->palette();
    palette.setColor(QPalette::Window, QColor(0x0A, 0x24, 0x6A));
    palette.setColor(QPalette::WindowText, Qt::white);
    RzLabel_Seltext->setPalette(palette);
    RzLabel_Seltext->setAutoFillBackground(true);
  }
  upper->addWidget(RzLabel_Seltext);

  RzSplitter_Text = new quorvel::ui::HotSpotSplitter(
      [this] {
        logic_->toggleHotSpot();
        render();
      },
      Panel_VEDuzir);
  RzSplitter_Text->setObjectName(QStringLiteral("RzSplitter_Text"));
  RzSplitter_Text->setHandleWidth(10);
  RzSplitter_Text->setChildrenCollapsible(true);
  upper->addWidget(RzSplitter_Text, 1);

  auto* selectionSide = new QWidget;
  selectionSide->setObjectName(QStringLiteral("RzSplitter_Text_UpperLeft"));
  selectionSide->setMinimumWidth(0);
  auto* selLayout = new QHBoxLayout(selectionSide);
  selLayout->setContentsMargins(0, 0, 0, 0);
  selLayout->setSpacing(2);
  RzPanel_BtnPanel = new SelectionPanel(selectionSide);
  RzPanel_BtnPanel->setFixedWidth(129);
  connect(RzPanel_BtnPanel, &SelectionPanel::buttonClicked, this,
          &TFrame_Veduzir::selectionButtonClicked);
  connect(RzPanel_BtnPanel, &SelectionPanel::menuItemChosen, this,
          &TFrame_Veduzir::MenuItem_onechar_allClick);
  selLayout->addWidget(RzPanel_BtnPanel);

  Panel_Preview = new QWidget(selectionSide);
  Panel_Preview->setObjectName(QStringLiteral("Panel_Preview"));
  auto* previewLayout = new QVBoxLayout(Panel_Preview);
  previewLayout->setContentsMargins(2, 2, 2, 2);
  previewLayout->setSpacing(1);
  RzLabel_preview =
      makeLabel(Panel_Preview, "RzLabel_preview", QStringLiteral("简述"), songFont(12));
  previewLayout->addWidget(RzLabel_preview);
  RzRichEdit_express = new QTextEdit(Panel_Preview);
  RzRichEdit_express->setObjectName(QStringLiteral("RzRichEdit_express"));
  RzRichEdit_express->setReadOnly(true);
  RzRichEdit_express->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                              Qt::TextSelectableByKeyboard);
  RzRichEdit_express->setAttribute(Qt::WA_InputMethodEnabled, false);
  RzRichEdit_express->setFont(songFont(14));
  RzRichEdit_express->setFocusPolicy(Qt::ClickFocus);
  {
    QPalette palette = RzRichEdit_express->palette();
    palette.setColor(QPalette::Text, kNavy);
    RzRichEdit_express->setPalette(palette);
  }
  RzRichEdit_express->installEventFilter(new quorvel::ui::ReadOnlyPaneFilter(RzRichEdit_express));
  previewLayout->addWidget(RzRichEdit_express, 1);
  selLayout->addWidget(Panel_Preview, 1);
  RzSplitter_Text->addWidget(selectionSide);

  auto* practiceSide = new QWidget;
  practiceSide->setObjectName(QStringLiteral("RzSplitter_Text_LowerRight"));
  practiceSide->setMinimumWidth(0);
  auto* practiceLayout = new QVBoxLayout(practiceSide);
  practiceLayout->setContentsMargins(0, 0, 0, 0);
  practiceLayout->setSpacing(0);
  RzPanel_RightInput = new QWidget(practiceSide);
  RzPanel_RightInput->setObjectName(QStringLiteral("RzPanel_RightInput"));
  setFill(RzPanel_RightInput, Qt::white);
  RzPanel_RightInput->installEventFilter(this);
  buildPracticeArea(RzPanel_RightInput);
  practiceLayout->addWidget(RzPanel_RightInput, 1);
  RzPanel_RightPageInfo = new QWidget(practiceSide);
  RzPanel_RightPageInfo->setObjectName(QStringLiteral("RzPanel_RightPageInfo"));
  RzPanel_RightPageInfo->setFixedHeight(24);
  RzPanel_RightPageInfo->installEventFilter(this);
  buildPageInfoBar(RzPanel_RightPageInfo);
  practiceLayout->addWidget(RzPanel_RightPageInfo);
  RzSplitter_Text->addWidget(practiceSide);
  RzSplitter_Text->setCollapsible(0, true);
  RzSplitter_Text->setCollapsible(1, true);
  outer->addWidget(Panel_VEDuzir, 1);

  RzSplitter_word = new quorvel::ui::LockedSplitter(Qt::Horizontal, this);
  RzSplitter_word->setObjectName(QStringLiteral("RzSplitter_word"));
  RzSplitter_word->setFixedHeight(28);
  RzSplitter_word->setHandleWidth(4);
  RzLabel_keyplace = makeLabel(nullptr, "RzLabel_keyplace", QString(), songFont(16, true));
  RzLabel_keyplace->setAlignment(Qt::AlignCenter);
  RzLabel_keyplace->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  RzLabel_wordplace = makeLabel(nullptr, "RzLabel_wordplace", QString(), songFont(16, true));
  RzLabel_wordplace->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  RzLabel_wordplace->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  {
    QPalette palette = RzLabel_wordplace->palette();
    palette.setColor(QPalette::WindowText, kNavy);
    RzLabel_wordplace->setPalette(palette);
  }
  RzLabel_keyplace->setMinimumWidth(0);
  RzLabel_wordplace->setMinimumWidth(0);
  RzSplitter_word->addWidget(RzLabel_keyplace);
  RzSplitter_word->addWidget(RzLabel_wordplace);
  RzSplitter_word->setChildrenCollapsible(false);
  outer->addWidget(RzSplitter_word);

  Panel_SpeedInfo = new QWidget(this);
  Panel_SpeedInfo->setObjectName(QStringLiteral("Panel_SpeedInfo"));
  Panel_SpeedInfo->setFixedHeight(66);
  Panel_SpeedInfo->installEventFilter(this);
  buildSpeedInfo(Panel_SpeedInfo);
  outer->addWidget(Panel_SpeedInfo);
}

void TFrame_Veduzir::buildPracticeArea(QWidget* area) {
  // Made line by line, each item followed by the entry under it: the order
  // in which assistive technology reads them.
  for (int pair = 0; pair < quorvel::kGridRows; pair += 2) {
    for (int cell = 0; cell < 2 * quorvel::kGridColumns; ++cell) {
      const int column = cell / 2;
      const int row = pair + cell % 2;
      auto* label = new QLabel(area);
      label->setGeometry(column * 24 + 1, row * 20 + 1, 24, 20);
      label->setFont(songFont(16));
      label->setAlignment(Qt::AlignCenter);
      label->setAttribute(Qt::WA_TransparentForMouseEvents);
      FCellLabels[static_cast<std::size_t>(quorvel::cellIndex(column, row))] = label;
    }
  }
  StringGrid_typer = new TypingPictureGrid(area);
  StringGrid_typer->hide();
  RzLabel_STip = makeLabel(area, "RzLabel_STip", QString(), songFont(12));
  RzLabel_STip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  RzLabel_STip->move(608, 1);
  static const char* const tipLines[] = {"",
                                         "岚川形音输入法确定汉字的",
                                         "完整编码数为4 码。原则上",
                                         "取单字首、次、末3 个形码",
                                         "（不足3码只取前2码）和1 ",
                                         "位音码（汉语拼音的首音）。",
                                         "示例：",
                                         "社：编码为：礻 土 S   ",
                                         "（2形1音）",
                                         "键盘代码为：ZTS  ",
                                         "（简码为：ZT）",
                                         "",
                                         "会：编码为：人 二 厶 H",
                                         "（3形1音）",
                                         "键盘代码为：IDYH ",
                                         "（简码为： ID）"};
  QStringList lines;
  for (const char* line : tipLines) lines << QString::fromUtf8(line);
  RzLabel_STip->setText(lines.join(QLatin1Char('\n')));
  RzLabel_STip->adjustSize();
}

void TFrame_Veduzir::buildPageInfoBar(QWidget* bar) {
  setFill(bar, quorvel::ui::kFormColour);
  RzLabel_PagesInfo = makeLabel(bar, "RzLabel_PagesInfo", QString(), songFont(12));
  RzLabel_PagesInfo->setGeometry(4, 4, 360, 16);
  RzLEDDisplay_Exam = new QLCDNumber(7, bar);
  RzLEDDisplay_Exam->setObjectName(QStringLiteral("RzLEDDisplay_Exam"));
  RzLEDDisplay_Exam->setSegmentStyle(QLCDNumber::Flat);
  RzLEDDisplay_Exam->setFrameStyle(QFrame::NoFrame);
  RzLEDDisplay_Exam->resize(101, 20);
  RzLEDDisplay_Exam->setToolTip(QStringLiteral("测验时间"));
  RzLEDDisplay_Exam->setStatusTip(QStringLiteral("测验时间"));
  {
    QPalette palette = RzLEDDisplay_Exam->palette();
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    palette.setColor(QPalette::Window, quorvel::ui::kFormColour);
    RzLEDDisplay_Exam->setPalette(palette);
  }
  RzLEDDisplay_Exam->hide();
  RzCheckBox_alf = new QCheckBox(QStringLiteral("字母"), bar);
  RzCheckBox_alf->setObjectName(QStringLiteral("RzCheckBox_alf"));
  RzCheckBox_alf->setFont(songFont(12));
  RzCheckBox_alf->setToolTip(QStringLiteral("切换标准字母(F6)"));
  RzCheckBox_alf->setStatusTip(QStringLiteral("切换标准字母(F6)"));
  RzCheckBox_alf->setFocusPolicy(Qt::NoFocus);
  RzCheckBox_alf->adjustSize();
  connect(RzCheckBox_alf, &QCheckBox::clicked, this, &TFrame_Veduzir::RzCheckBox_alfClick);
  RzLabel_fastHelp = makeLabel(bar, "RzLabel_fastHelp", QStringLiteral("   提示"), songFont(12));
  RzLabel_fastHelp->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
  RzLabel_fastHelp->setFrameStyle(QFrame::Panel | QFrame::Raised);
  RzLabel_fastHelp->resize(56, 20);
  RzLabel_fastHelp->setAutoFillBackground(true);
  RzToolbarButton_fastHelp = new quorvel::ui::TransparentButton(bar);
  RzToolbarButton_fastHelp->setObjectName(QStringLiteral("RzToolbarButton_fastHelp"));
  RzToolbarButton_fastHelp->setProperty("tag", 10);
  RzToolbarButton_fastHelp->setIcon(QIcon());
  RzToolbarButton_fastHelp->resize(56, 20);
  RzToolbarButton_fastHelp->setToolTip(QStringLiteral("输入码提示(F1)"));
  RzToolbarButton_fastHelp->setStatusTip(QStringLiteral("输入码提示(F1)"));
  quorvel::ui::bindButtonFace(RzToolbarButton_fastHelp, RzLabel_fastHelp, quorvel::ui::kHoverColour,
                              quorvel::ui::kFormColour);
  connect(RzToolbarButton_fastHelp, &QAbstractButton::clicked, this,
          &TFrame_Veduzir::RzToolbarButton_fastHelpClick);
  layoutPageInfoBar();
}

void TFrame_Veduzir::layoutPageInfoBar() {
  // The hint label and its button keep to the right edge; the letter box and
  // the test clock line up left of them.
  const int d = RzPanel_RightPageInfo->width() - RzLabel_fastHelp->width();
  RzLabel_fastHelp->move(d - 3, 2);
  RzToolbarButton_fastHelp->move(d - 2, 2);
  RzCheckBox_alf->move(RzToolbarButton_fastHelp->x() - 2 - RzCheckBox_alf->width(), 2);
  RzLEDDisplay_Exam->move(RzCheckBox_alf->x() - 2 - RzLEDDisplay_Exam->width(), 2);
  RzLabel_PagesInfo->resize(std::max(0, RzLEDDisplay_Exam->x() - 6), 20);
}

void TFrame_Veduzir::buildSpeedInfo(QWidget* panel) {
  const QFont font = songFont(16);
  RzLabel_1 = makeLabel(panel, "RzLabel_1", QStringLiteral("打字速率："), font);
  RzLabel_1->setGeometry(6, 3, 82, 18);
  RzLabel_V = makeLabel(panel, "RzLabel_V", QStringLiteral("0"), songFont(16, true));
  RzLabel_V->setGeometry(88, 3, 40, 18);
  RzLabel_V->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  RzLabel6 = makeLabel(panel, "RzLabel6", QStringLiteral("字/分钟"), font);
  RzLabel6->setGeometry(132, 3, 60, 18);
  RzLabel_Right = makeLabel(panel, "RzLabel_Right", QStringLiteral("正确率："), font);
  RzLabel_Right->setGeometry(200, 3, 66, 18);
  RzProgressBar_right = new QProgressBar(panel);
  RzProgressBar_right->setObjectName(QStringLiteral("RzProgressBar_right"));
  RzProgressBar_right->setRange(0, 100);
  RzProgressBar_right->setValue(0);
  RzProgressBar_right->setFormat(QStringLiteral("%p%"));
  RzProgressBar_right->setGeometry(266, 4, 120, 16);
  RzProgressBar_right->setFont(songFont(12));
  RzProgressBar_right->setStyleSheet(
      QStringLiteral("QProgressBar { border: 1px solid #808080; background: white; color: black;"
                     " text-align: center; }"
                     "QProgressBar::chunk { background: #0080C0; }"));
  RzLabel_TrainName = makeLabel(panel, "RzLabel_TrainName", QString(), font);
  RzLabel_TrainName->setGeometry(396, 3, 232, 18);
  const QFont help = songFont(12);
  RzLabel2 = makeLabel(panel, "RzLabel2",
                       QStringLiteral("ESC切换到练习区  F1获取字词编码  F2规则说明"), help);
  RzLabel2->setGeometry(6, 24, 266, 14);
  // The learning path's key, after the first line's keys.
  RzLabel_pathKey = makeLabel(panel, "RzLabel_pathKey", QStringLiteral("F7学习路线"), help);
  RzLabel_pathKey->setGeometry(272, 24, 154, 14);
  RzLabel3 = makeLabel(panel, "RzLabel3",
                       QStringLiteral("F3字码互查  F8帮助  F6切换为字母 F4切换字根表"), help);
  RzLabel3->setGeometry(6, 38, 420, 14);
  RzLabel4 = makeLabel(panel, "RzLabel4",
                       QStringLiteral("←,↑,PagwUp看上一页  →,↓,PageDown看下一页"), help);
  RzLabel4->setGeometry(6, 52, 420, 14);
  for (QLabel* label : {RzLabel2, RzLabel3, RzLabel4, RzLabel_pathKey}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
    label->setPalette(palette);
  }
  Image_Map = new QLabel(panel);
  Image_Map->setObjectName(QStringLiteral("Image_Map"));
  Image_Map->setScaledContents(true);
  Image_Map->hide();
}

void TFrame_Veduzir::setUp(const quorvel::platform::ResourceLibrary& library,
                           const quorvel::platform::LockKeys* locks) {
  if (locks) logic_->setLocks(locks);
  // The vertical selection label: one character a line.
  RzLabel_Seltext->setText(
      quorvel::ui::withNewlines(QStringLiteral(" \r \r \r练\r \r习\r \r选\r \r择")));
  logic_->setUp(library);
  rootPixmaps_.clear();
  rootPixmaps_.reserve(quorvel::kRootCount);
  // A screen scaled by 1.5 or 2 gets the pictures drawn for it, shown at the
  // same 16 x 16 in the layout; scaling the 16-pixel ones would blur or drop
  // their thin strokes. One missing falls back to its 16-pixel picture.
  const qreal ratio = devicePixelRatioF();
  const int size = ratio >= 1.75 ? 32 : ratio >= 1.25 ? 24 : quorvel::kRootPictureSize;
  std::array<std::optional<quorvel::platform::RgbImage>, quorvel::kRootCount> sharper;
  if (size != quorvel::kRootPictureSize) sharper = quorvel::loadRootPictures(library, size);
  for (std::size_t i = 0; i < logic_->data().rootPictures.size(); ++i) {
    const auto& picture = sharper[i] ? sharper[i] : logic_->data().rootPictures[i];
    QPixmap pixmap;
    if (picture) {
      // White is the pictures' transparent colour, so the current cell's green shows through.
      pixmap = QPixmap::fromImage(quorvel::ui::toQImage(*picture));
      pixmap.setMask(pixmap.createMaskFromColor(Qt::white));
      pixmap.setDevicePixelRatio(static_cast<qreal>(picture->width) / quorvel::kRootPictureSize);
    }
    rootPixmaps_.push_back(pixmap);
  }
  StringGrid_typer->setModel(&logic_->view().picture, &rootPixmaps_, &logic_->data().rootNames);
  setUpDone_ = true;
  renderer_->invalidate();
  render();
}

QLabel* TFrame_Veduzir::cellLabel(int index) const {
  return index >= 0 && index < static_cast<int>(FCellLabels.size())
             ? FCellLabels[static_cast<std::size_t>(index)]
             : nullptr;
}

void TFrame_Veduzir::setRootMapPicture(QSize size, std::function<QPixmap()> picture) {
  renderer_->setMapPicture(size, std::move(picture));
  QResizeEvent resize(Panel_SpeedInfo->size(), Panel_SpeedInfo->size());
  eventFilter(Panel_SpeedInfo, &resize);
  render();
}

void TFrame_Veduzir::render() { renderer_->render(logic_->view()); }

void TFrame_Veduzir::focusSelection() {
  if (logic_->view().practiceAreaShown) {
    logic_->toggleHotSpot();
    render();
  }
  RzPanel_BtnPanel->focusFirst();
}

void TFrame_Veduzir::tearDown() {
  Timer_Exam->stop();
  logic_->tearDown();
  setUpDone_ = false;
}

void TFrame_Veduzir::resizeEvent(QResizeEvent* event) {
  logic_->setFrameWidth(width());
  // A tall (maximised) frame gives the speed panel room for the root-table
  // picture; the normal window keeps it to the three lines of key help.
  const int speedHeight = height() < 420 ? 66 : std::clamp(height() / 4, 66, 240);
  if (Panel_SpeedInfo->height() != speedHeight) Panel_SpeedInfo->setFixedHeight(speedHeight);
  QWidget::resizeEvent(event);
  renderer_->applySplitter();
  if (RzSplitter_word) {
    const int total = RzSplitter_word->width() - RzSplitter_word->handleWidth();
    RzSplitter_word->setSizes({total * 8 / 100, total - total * 8 / 100});
  }
}

bool TFrame_Veduzir::eventFilter(QObject* watched, QEvent* event) {
  if (watched == RzPanel_RightInput && event->type() == QEvent::Resize) {
    StringGrid_typer->setGeometry(RzPanel_RightInput->rect());
  } else if (watched == RzPanel_RightPageInfo && event->type() == QEvent::Resize) {
    layoutPageInfoBar();
  } else if (watched == Panel_SpeedInfo && event->type() == QEvent::Resize) {
    // The root-table picture sits right of the key help, as tall as the panel allows.
    if (renderer_->hasMapPicture()) {
      const int h = Panel_SpeedInfo->height() - 4;
      const int w = renderer_->mapSize().width() * h / std::max(1, renderer_->mapSize().height());
      Image_Map->setGeometry(Panel_SpeedInfo->width() - w - 4, 2, w, h);
    }
  } else if (watched == RzLabel_Seltext && event->type() == QEvent::MouseButtonDblClick) {
    emit maximiseToggleRequested();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- events

void TFrame_Veduzir::keyHandler(quorvel::vk::KeyPress key) {
  emit keyReceived(key);
  if (!setUpDone_) return;
  logic_->keyDown(key);
  render();
}

void TFrame_Veduzir::Timer_ExamTimer() {
  if (!setUpDone_) return;
  logic_->timerTick();
  render();
}

void TFrame_Veduzir::RzCheckBox_alfClick() {
  logic_->setLetterMode(RzCheckBox_alf->isChecked());
  render();
  RzRichEdit_express->setFocus();
}

void TFrame_Veduzir::selectionButtonClicked(int row) {
  switch (row) {
    case SelectionPanel::Root:
      logic_->selectKind(quorvel::pkRoot);
      break;
    case SelectionPanel::Compare:
      logic_->selectKind(quorvel::pkCompare);
      break;
    case SelectionPanel::Input:
      logic_->selectKind(quorvel::pkInput);
      break;
    case SelectionPanel::Query:
      logic_->host().openLookup();
      restoreSelectionPanel();
      break;
    case SelectionPanel::RootMap:
      logic_->toggleRootTable();
      break;
    case SelectionPanel::Path:
      restoreSelectionPanel();
      emit pathRequested();
      break;
    default:
      break;
  }
  render();
  // The keys go to the practice chosen, whether by mouse or by keyboard.
  if (row != SelectionPanel::Query && row != SelectionPanel::Path) setFocus(Qt::OtherFocusReason);
}

void TFrame_Veduzir::MenuItem_onechar_allClick(int tag) {
  logic_->selectMenuTag(tag);
  render();
  setFocus(Qt::OtherFocusReason);
}

void TFrame_Veduzir::RzToolbarButton_fastHelpClick() {
  logic_->hintButton();
  render();
}

// ---------------------------------------------------------------- host

void TFrame_Veduzir::beep() {
  QApplication::beep();
  emit beeped();
}

void TFrame_Veduzir::processPendingEvents() {
  // Paint what changed so far; user input waits, as the re-entry guards expect.
  render();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrame_Veduzir::restoreSelectionPanel() { RzPanel_BtnPanel->restore(); }
