#include "practice/windows/TFrame_Veduzir.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLCDNumber>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/Glyphs.h"
#include "app/HelpViewer.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"
#include "app/WindowSet.h"
#include "lookup/windows/TForm_Charhelp.h"
#include "lookup/windows/TForm_RootTip.h"
#include "lookup/windows/TForm_Tip.h"
#include "lookup/windows/TForm_Wordhelp.h"
#include "lookup/windows/TForm_detailhelp.h"
#include "lookup/windows/TForm_rootMap.h"
#include "lookup/windows/TForm_roothelp.h"
#include "kinds/KindFactory.h"
#include "practice/PracticeFrame.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"

using quorvel::ui::fromGbk;
using quorvel::ui::songFont;

namespace {

const QColor kNavy(0x00, 0x00, 0x80);

// The text splitter's bar: locked, 10 pixels wide, with a hot spot in its
// middle that opens and closes the selection side.
class HotSpotHandle : public QSplitterHandle {
 public:
  HotSpotHandle(Qt::Orientation orientation, QSplitter* parent, std::function<void()> onHotSpot)
      : QSplitterHandle(orientation, parent), onHotSpot_(std::move(onHotSpot)) {
    setCursor(Qt::PointingHandCursor);
  }
  QRect hotSpot() const { return QRect(0, height() / 2 - 30, width(), 60); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), quorvel::ui::kFormColour);
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawLine(0, 0, 0, height());
    p.setPen(Qt::white);
    p.drawLine(width() - 1, 0, width() - 1, height());
    const QRect spot = hotSpot().adjusted(1, 0, -2, 0);
    p.fillRect(spot, QColor(0xC8, 0xC8, 0xC8));
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(QColor(0x40, 0x40, 0x40));
    // Arrow pointing to the side that a click will open.
    const int cx = spot.center().x(), cy = spot.center().y();
    const bool selectionShown = splitter()->sizes().value(0) > 0;
    QPolygon arrow;
    if (selectionShown)
      arrow << QPoint(cx - 2, cy) << QPoint(cx + 2, cy - 4) << QPoint(cx + 2, cy + 4);
    else
      arrow << QPoint(cx + 2, cy) << QPoint(cx - 2, cy - 4) << QPoint(cx - 2, cy + 4);
    p.drawPolygon(arrow);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && onHotSpot_) onHotSpot_();
    event->accept();
  }
  void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }  // locked
  void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }

 private:
  std::function<void()> onHotSpot_;
};

class HotSpotSplitter : public QSplitter {
 public:
  HotSpotSplitter(std::function<void()> onHotSpot, QWidget* parent)
      : QSplitter(Qt::Horizontal, parent), onHotSpot_(std::move(onHotSpot)) {}

 protected:
  QSplitterHandle* createHandle() override {
    return new HotSpotHandle(orientation(), this, onHotSpot_);
  }

 private:
  std::function<void()> onHotSpot_;
};

// The second splitter is locked without a hot spot.
class LockedHandle : public QSplitterHandle {
 public:
  using QSplitterHandle::QSplitterHandle;

 protected:
  void mousePressEvent(QMouseEvent* e) override { e->accept(); }
  void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
};
class LockedSplitter : public QSplitter {
 public:
  using QSplitter::QSplitter;

 protected:
  QSplitterHandle* createHandle() override {
    auto* handle = new LockedHandle(orientation(), this);
    handle->setCursor(Qt::ArrowCursor);
    return handle;
  }
};

// The Qt side of the lock-key state when nobody supplies one: the
// keyboard modifiers do not carry Caps Lock, so it reads as off.
class NoLockKeys : public quorvel::platform::LockKeys {
 public:
  bool capsLock() const override { return false; }
  bool numLock() const override { return true; }
};
const NoLockKeys kNoLockKeys;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  return label;
}

void setFill(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

// ---------------------------------------------------------------- picture grid

TypingPictureGrid::TypingPictureGrid(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("StringGrid_typer"));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TypingPictureGrid::setModel(const quorvel::PictureGrid* grid,
                                 const std::vector<QPixmap>* roots) {
  grid_ = grid;
  roots_ = roots;
  update();
}

void TypingPictureGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!grid_) return;
  painter.setFont(songFont(16));
  for (int row = 0; row < quorvel::PictureGrid::Rows; ++row)
    for (int column = 0; column < quorvel::PictureGrid::Columns; ++column)
      StringGrid_typerDrawCell(
          painter, column, row,
          QRect(column * kColumnWidth, row * kRowHeight, kColumnWidth, kRowHeight));
}

void TypingPictureGrid::StringGrid_typerDrawCell(QPainter& painter, int column, int row,
                                                 const QRect& rect) {
  static const QPixmap tick = quorvel::glyphs::tick();
  static const QPixmap cross = quorvel::glyphs::cross();
  static const QString right = QStringLiteral("√");
  static const QString wrong = QStringLiteral("メ");
  if (row % 2 == 1) {
    const QString mark = fromGbk(
        grid_->marks[static_cast<std::size_t>(row * quorvel::PictureGrid::Columns + column)]);
    if (mark == right) {
      painter.fillRect(rect, quorvel::ui::rgb(quorvel::colour::Right));
      painter.drawPixmap(rect.left() + 1, rect.top() + 2, tick);
    } else if (mark == wrong) {
      painter.fillRect(rect, quorvel::ui::rgb(quorvel::colour::Wrong));
      painter.drawPixmap(rect.left() + 1, rect.top() + 2, cross);
    } else if (!mark.isEmpty()) {
      painter.setPen(Qt::black);
      painter.drawText(rect, Qt::AlignCenter, mark);
    }
    return;
  }
  const int index = grid_->pageFirst + (row / 2) * quorvel::PictureGrid::Columns + column;
  painter.fillRect(rect, index == grid_->current ? quorvel::ui::rgb(quorvel::colour::Current)
                                                 : QColor(Qt::white));
  if (index < 249 && index >= 0 && static_cast<std::size_t>(index) < grid_->roots.size() &&
      roots_) {
    const int root = grid_->roots[static_cast<std::size_t>(index)];
    if (root >= 0 && static_cast<std::size_t>(root) < roots_->size())
      painter.drawPixmap(rect.left() + 1, rect.top() + 2,
                         (*roots_)[static_cast<std::size_t>(root)]);
  }
}

// ---------------------------------------------------------------- the frame

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
  services.locks = &kNoLockKeys;
  logic_ = std::make_unique<quorvel::PracticeFrame>(services, quorvel::makePracticeKind);
  buildLayout();
  buildMenus();
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

  RzSplitter_Text = new HotSpotSplitter(
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
  RzPanel_BtnPanel = new QWidget(selectionSide);
  RzPanel_BtnPanel->setObjectName(QStringLiteral("RzPanel_BtnPanel"));
  RzPanel_BtnPanel->setFixedWidth(129);
  buildSelectionPanel(RzPanel_BtnPanel);
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
  RzRichEdit_express->installEventFilter(this);
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

  RzSplitter_word = new LockedSplitter(Qt::Horizontal, this);
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

void TFrame_Veduzir::buildSelectionPanel(QWidget* panel) {
  struct Row {
    const char* caption;
    const char* button;
    const char* label;
  };
  static const Row rows[8] = {
      {"字根练习", "RzToolbarButton_root", "RzLabel_root"},
      {"单字练习", "RzMenuToolbarButton_Char", "RzLabel_Char"},
      {"词组练习", "RzMenuToolbarButton_word", "RzLabel_word"},
      {"对照练习", "RzToolbarButton_compare", "RzLabel_compare"},
      {"录入练习", "RzToolbarButton_input", "RzLabel_input"},
      {"字码互查", "RzToolbarButton_query", "RzLabel_query"},
      {"练习测验", "RzMenuToolbarButton_exam", "RzLabel_exam"},
      {"字根表", "RzToolbarButton_RootMap", "RzLabel_RootMap"},
  };
  setFill(panel, quorvel::ui::kFormColour);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 4, 2, 4);
  layout->setSpacing(2);
  for (int tag = 0; tag < 8; ++tag) {
    auto* cell = new QWidget(panel);
    auto* grid = new QGridLayout(cell);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* label =
        makeLabel(cell, rows[tag].label, QString::fromUtf8(rows[tag].caption), songFont(16));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    label->setProperty("tag", tag);
    auto* button = new quorvel::ui::TransparentButton(cell);
    button->setObjectName(QString::fromLatin1(rows[tag].button));
    button->setProperty("tag", tag);
    button->setStatusTip(QString::fromUtf8(rows[tag].caption));
    grid->addWidget(label, 0, 0);
    grid->addWidget(button, 0, 0);
    quorvel::ui::bindButtonFace(button, label, quorvel::ui::kHoverColour);
    FCaptionLabels[static_cast<std::size_t>(tag)] = label;
    FSelectionButtons[static_cast<std::size_t>(tag)] = button;
    layout->addWidget(cell, 1);
  }
  connect(FSelectionButtons[0], &QAbstractButton::clicked, this,
          &TFrame_Veduzir::RzToolbarButton_rootClick);
  connect(FSelectionButtons[1], &QAbstractButton::clicked, this,
          [this] { dropMenu(1, PopupMenu_Char); });
  connect(FSelectionButtons[2], &QAbstractButton::clicked, this,
          [this] { dropMenu(2, PopupMenu_word); });
  connect(FSelectionButtons[3], &QAbstractButton::clicked, this,
          &TFrame_Veduzir::RzToolbarButton_compareClick);
  connect(FSelectionButtons[4], &QAbstractButton::clicked, this,
          &TFrame_Veduzir::RzToolbarButton_inputClick);
  connect(FSelectionButtons[5], &QAbstractButton::clicked, this,
          &TFrame_Veduzir::RzToolbarButton_queryClick);
  connect(FSelectionButtons[6], &QAbstractButton::clicked, this,
          [this] { dropMenu(6, PopupMenu_exam); });
  connect(FSelectionButtons[7], &QAbstractButton::clicked, this,
          &TFrame_Veduzir::RzToolbarButton_RootMapClick);
  // A press on a menu button colours its caption as the hover does, and the
  // colour stays while the menu is down (the open menu takes the mouse, so
  // the button sees the mouse leave); closing the menu restores the panel.
  for (int tag : {1, 2, 6}) {
    QLabel* label = FCaptionLabels[static_cast<std::size_t>(tag)];
    auto* button = FSelectionButtons[static_cast<std::size_t>(tag)];
    connect(button, &QAbstractButton::pressed, label,
            [label] { quorvel::ui::setLabelFill(label, true, quorvel::ui::kHoverColour); });
    connect(button, &quorvel::ui::TransparentButton::hoverChanged, label,
            [this, tag, label](bool inside) {
              const QMenu* menu = tag == 1   ? PopupMenu_Char
                                  : tag == 2 ? PopupMenu_word
                                             : PopupMenu_exam;
              if (!inside && menu && menu->isVisible())
                quorvel::ui::setLabelFill(label, true, quorvel::ui::kHoverColour);
            });
  }
}

void TFrame_Veduzir::buildMenus() {
  // Owner-drawn look: 80 x 18 items, light blue with navy text when selected.
  const QString style = QStringLiteral(
      "QMenu { background: #E0E0E0; border: 1px solid #808080; padding: 0px; }"
      "QMenu::item { background: #E0E0E0; color: black; min-width: 63px; height: 18px;"
      "  padding: 0px 0px 0px 17px; margin: 0px; }"
      "QMenu::item:selected { background: #91DDF7; color: navy; }"
      "QMenu::right-arrow { width: 8px; }");
  QFont menuFont(QStringLiteral("宋体"));
  menuFont.setPointSize(9);
  auto makeMenu = [&](const char* name, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setStyleSheet(style);
    menu->setFont(menuFont);
    return menu;
  };
  auto addItem = [this](QMenu* menu, const char* name, const char* caption, int tag, bool exam) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("tag", tag);
    if (exam)
      connect(action, &QAction::triggered, this, [this, tag] { MenuItem_ExamClick(tag); });
    else
      connect(action, &QAction::triggered, this, [this, tag] { MenuItem_onechar_allClick(tag); });
    return action;
  };

  PopupMenu_Char = makeMenu("PopupMenu_Char", this);
  QMenu* preferred = makeMenu("MenuItem_sel", PopupMenu_Char);
  preferred->setTitle(QStringLiteral("优选练习"));
  addItem(preferred, "MenuItem_Onechar_sel", "一级简码", 0, false);
  addItem(preferred, "MenuItem_Twochar_sel", "二级简码", 11, false);
  addItem(preferred, "MenuItem_threechar_sel", "三级简码", 22, false);
  addItem(preferred, "MenuItem_allchar_sel", "完整编码", 33, false);
  addItem(preferred, "MenuItem_Keyname_sel", "键名汉字", 44, false);
  addItem(preferred, "MenuItem_code_sel", "码元汉字", 55, false);
  addItem(preferred, "MenuItem_hard_sel", "难字特选", 66, false);
  PopupMenu_Char->addMenu(preferred);
  QMenu* all = makeMenu("MenuItem_all", PopupMenu_Char);
  all->setTitle(QStringLiteral("全面练习"));
  addItem(all, "MenuItem_onechar_all", "一级简码", 0, false);
  addItem(all, "MenuItem_twochar_all", "二级简码", 1, false);
  addItem(all, "MenuItem_threechar_all", "三级简码", 2, false);
  addItem(all, "MenuItem_allchar_all", "完整编码", 3, false);
  PopupMenu_Char->addMenu(all);

  PopupMenu_word = makeMenu("PopupMenu_word", this);
  addItem(PopupMenu_word, "MenuItem_word2", "二字词组", 4, false);
  addItem(PopupMenu_word, "MenuItem_word3", "三字词组", 5, false);
  addItem(PopupMenu_word, "MenuItem_word4", "四字词组", 6, false);
  addItem(PopupMenu_word, "MenuItem_wordm", "多字词组", 7, false);

  PopupMenu_exam = makeMenu("PopupMenu_exam", this);
  addItem(PopupMenu_exam, "MenuItem_TimeExam", "定时测验", 8, true);
  addItem(PopupMenu_exam, "MenuItem_SizeExam", "定量测验", 9, true);

  for (QMenu* menu : {PopupMenu_Char, PopupMenu_word, PopupMenu_exam})
    connect(menu, &QMenu::aboutToHide, this, [this] { restoreSelectionPanel(); });
}

void TFrame_Veduzir::buildPracticeArea(QWidget* area) {
  for (int column = 0; column < quorvel::kGridColumns; ++column) {
    for (int row = 0; row < quorvel::kGridRows; ++row) {
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
  RzProgressBar_right->setStyleSheet(QStringLiteral(
      "QProgressBar { border: 1px solid #808080; background: white; text-align: center; }"
      "QProgressBar::chunk { background: #0080C0; }"));
  RzLabel_TrainName = makeLabel(panel, "RzLabel_TrainName", QString(), font);
  RzLabel_TrainName->setGeometry(396, 3, 232, 18);
  const QFont help = songFont(12);
  RzLabel2 = makeLabel(panel, "RzLabel2",
                       QStringLiteral("ESC切换到练习区  F1获取字词编码  F2规则说明"), help);
  RzLabel2->setGeometry(6, 24, 420, 14);
  RzLabel3 = makeLabel(panel, "RzLabel3",
                       QStringLiteral("F3字码互查  F8帮助  F6切换为字母 F4切换字根表"), help);
  RzLabel3->setGeometry(6, 38, 420, 14);
  RzLabel4 = makeLabel(panel, "RzLabel4",
                       QStringLiteral("←,↑,PagwUp看上一页  →,↓,PageDown看下一页"), help);
  RzLabel4->setGeometry(6, 52, 420, 14);
  for (QLabel* label : {RzLabel2, RzLabel3, RzLabel4}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
    label->setPalette(palette);
  }
  Image_Map = new QLabel(panel);
  Image_Map->setObjectName(QStringLiteral("Image_Map"));
  Image_Map->setScaledContents(true);
  Image_Map->hide();
}

void TFrame_Veduzir::setUp(const quorvel::platform::ResourceLibrary& library, WindowSet* windows,
                           const quorvel::platform::LockKeys* locks) {
  windows_ = windows;
  if (locks) logic_->setLocks(locks);
  // The vertical selection label: one character a line.
  RzLabel_Seltext->setText(
      quorvel::ui::withNewlines(QStringLiteral(" \r \r \r练\r \r习\r \r选\r \r择")));
  if (windows_ && windows_->rootMap) rootMapPicture_ = windows_->rootMap->picture();
  if (!rootMapPicture_.isNull()) Image_Map->setPixmap(rootMapPicture_);
  logic_->setUp(library);
  rootPixmaps_.clear();
  rootPixmaps_.reserve(quorvel::kRootCount);
  for (const auto& picture : logic_->data().rootPictures) {
    QPixmap pixmap;
    if (picture) {
      // White is the pictures' transparent colour, so the current cell's green shows through.
      pixmap = QPixmap::fromImage(quorvel::ui::toQImage(*picture));
      pixmap.setMask(pixmap.createMaskFromColor(Qt::white));
    }
    rootPixmaps_.push_back(pixmap);
  }
  StringGrid_typer->setModel(&logic_->view().picture, &rootPixmaps_);
  setUpDone_ = true;
  firstRender_ = true;
  render();
}

void TFrame_Veduzir::tearDown() {
  Timer_Exam->stop();
  setUpDone_ = false;
}

// ---------------------------------------------------------------- rendering

void TFrame_Veduzir::render() {
  const quorvel::FrameView& view = logic_->view();
  if (!firstRender_ && view.revision == shownRevision_) return;
  const bool all = firstRender_;
  for (std::size_t i = 0; i < view.cells.size(); ++i) {
    const quorvel::CellLabel& cell = view.cells[i];
    quorvel::CellLabel& shown = shown_.cells[i];
    QLabel* label = FCellLabels[i];
    if (all || cell.text != shown.text) label->setText(fromGbk(cell.text));
    if (all || cell.filled != shown.filled || (cell.filled && cell.colour != shown.colour)) {
      if (cell.filled)
        quorvel::ui::setLabelFill(label, true, quorvel::ui::rgb(cell.colour));
      else
        label->setAutoFillBackground(false);
      label->update();
    }
    shown = cell;
  }
  const bool pictureVisible = view.picture.visible;
  if (StringGrid_typer->isVisible() != pictureVisible) StringGrid_typer->setVisible(pictureVisible);
  for (QLabel* label : FCellLabels)
    if (label->isVisible() == pictureVisible) label->setVisible(!pictureVisible);
  if (pictureVisible) {
    StringGrid_typer->raise();
    StringGrid_typer->update();
  }

  auto text = [all](QLabel* label, const std::string& now, std::string& before) {
    if (all || now != before) label->setText(fromGbk(now));
    before = now;
  };
  text(RzLabel_PagesInfo, view.pagesInfo, shown_.pagesInfo);
  std::string upperCode = view.keyplace;
  text(RzLabel_keyplace, upperCode, shown_.keyplace);
  text(RzLabel_wordplace, view.wordplace, shown_.wordplace);
  text(RzLabel_V, view.speed, shown_.speed);
  text(RzLabel_TrainName, view.trainName, shown_.trainName);
  if (all || view.accuracy != shown_.accuracy)
    RzProgressBar_right->setValue(std::clamp(view.accuracy, 0, 100));
  shown_.accuracy = view.accuracy;
  if (all || view.examClock != shown_.examClock) {
    const QString clockText = fromGbk(view.examClock);
    RzLEDDisplay_Exam->setDigitCount(std::max<int>(7, static_cast<int>(clockText.size())));
    RzLEDDisplay_Exam->display(clockText);
  }
  shown_.examClock = view.examClock;
  if (RzLEDDisplay_Exam->isVisible() != view.examClockVisible)
    RzLEDDisplay_Exam->setVisible(view.examClockVisible);
  if (RzCheckBox_alf->isChecked() != view.letterMode) RzCheckBox_alf->setChecked(view.letterMode);
  if (all || view.previewText != shown_.previewText)
    RzRichEdit_express->setPlainText(quorvel::ui::withNewlines(fromGbk(view.previewText)));
  shown_.previewText = view.previewText;
  if (all || view.practiceAreaShown != shown_.practiceAreaShown ||
      view.splitterPercent != shown_.splitterPercent) {
    shown_.practiceAreaShown = view.practiceAreaShown;
    shown_.splitterPercent = view.splitterPercent;
    applySplitter();
  }
  if (all || view.imageMapVisible != shown_.imageMapVisible) {
    const bool wanted = view.imageMapVisible && !rootMapPicture_.isNull();
    if (Image_Map->isVisible() != wanted) Image_Map->setVisible(wanted);
  }
  shown_.imageMapVisible = view.imageMapVisible;
  shownRevision_ = view.revision;
  firstRender_ = false;
}

void TFrame_Veduzir::applySplitter() {
  const int total = std::max(0, RzSplitter_Text->width() - RzSplitter_Text->handleWidth());
  if (shown_.practiceAreaShown) {
    RzSplitter_Text->setSizes({0, std::max(total, 1)});
  } else {
    const int percent = std::clamp(shown_.splitterPercent, 0, 100);
    const int left = total * percent / 100;
    RzSplitter_Text->setSizes({left, total - left});
  }
  if (QSplitterHandle* handle = RzSplitter_Text->handle(1)) handle->update();
}

void TFrame_Veduzir::resizeEvent(QResizeEvent* event) {
  // A tall (maximised) frame gives the speed panel room for the root-table
  // picture; the normal window keeps it to the three lines of key help.
  const int speedHeight = height() < 420 ? 66 : std::clamp(height() / 4, 66, 240);
  if (Panel_SpeedInfo->height() != speedHeight) Panel_SpeedInfo->setFixedHeight(speedHeight);
  QWidget::resizeEvent(event);
  applySplitter();
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
    if (!rootMapPicture_.isNull()) {
      const int h = Panel_SpeedInfo->height() - 4;
      const int w = rootMapPicture_.width() * h / std::max(1, rootMapPicture_.height());
      Image_Map->setGeometry(Panel_SpeedInfo->width() - w - 4, 2, w, h);
    }
  } else if (watched == RzLabel_Seltext && event->type() == QEvent::MouseButtonDblClick) {
    emit maximiseToggleRequested();
    return true;
  } else if (watched == RzRichEdit_express && event->type() == QEvent::KeyPress) {
    // The read-only pane swallows typing and keys that would leave its text;
    // other navigation scrolls it.
    auto* key = static_cast<QKeyEvent*>(event);
    const QTextCursor cursor = RzRichEdit_express->textCursor();
    const bool atStart = cursor.atStart();
    const bool atEnd = cursor.atEnd();
    const bool firstLine =
        cursor.block() == RzRichEdit_express->document()->firstBlock() &&
        (!cursor.block().layout() ||
         cursor.block().layout()->lineForTextPosition(cursor.positionInBlock()).lineNumber() == 0);
    switch (key->key()) {
      case Qt::Key_Backspace:
        return true;
      case Qt::Key_Up:
        return firstLine || atStart;
      case Qt::Key_Left:
      case Qt::Key_PageUp:
        return atStart;
      case Qt::Key_Down:
      case Qt::Key_Right:
      case Qt::Key_PageDown:
        return atEnd;
      case Qt::Key_Home:
      case Qt::Key_End:
        return false;
      default:
        return !key->text().isEmpty() || key->key() == Qt::Key_Return ||
               key->key() == Qt::Key_Enter || key->key() == Qt::Key_Tab;
    }
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

void TFrame_Veduzir::RzToolbarButton_rootClick() {
  logic_->selectKind(quorvel::pkRoot);
  render();
}

void TFrame_Veduzir::RzToolbarButton_inputClick() {
  logic_->selectKind(quorvel::pkInput);
  render();
}

void TFrame_Veduzir::MenuItem_onechar_allClick(int tag) {
  logic_->selectMenuTag(tag);
  render();
}

void TFrame_Veduzir::RzToolbarButton_compareClick() {
  if (!windows_ || !windows_->selfile) return;
  const QString file = windows_->selfile->ChoosePracticeFile();
  restoreSelectionPanel();
  if (file.isEmpty()) return;  // a cancelled choice changes nothing
  FCompareFile = file;
  logic_->selectKind(quorvel::pkCompare);
  render();
}

void TFrame_Veduzir::MenuItem_ExamClick(int tag) {
  if (!windows_ || !windows_->examSet) return;
  FExamByTime = tag == 8;
  const QString file = windows_->examSet->RunExamSettings(FExamSettings, FExamByTime ? 0 : 1);
  restoreSelectionPanel();
  if (file.isEmpty()) return;
  FExamFile = file;
  logic_->selectKind(quorvel::pkExam, tag);
  render();
}

void TFrame_Veduzir::RzToolbarButton_queryClick() {
  openLookup();
  restoreSelectionPanel();
}

void TFrame_Veduzir::RzToolbarButton_RootMapClick() {
  toggleRootTable();
  render();
}

void TFrame_Veduzir::RzToolbarButton_fastHelpClick() {
  logic_->hintButton();
  render();
}

void TFrame_Veduzir::dropMenu(int row, QMenu* menu) {
  QWidget* button = FSelectionButtons[static_cast<std::size_t>(row)];
  quorvel::ui::setLabelFill(FCaptionLabels[static_cast<std::size_t>(row)], true,
                            quorvel::ui::kHoverColour);
  menu->popup(button->mapToGlobal(QPoint(button->width(), 0)));
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

void TFrame_Veduzir::restoreSelectionPanel() {
  for (std::size_t i = 0; i < FCaptionLabels.size(); ++i) {
    quorvel::ui::setLabelFill(FCaptionLabels[i], false, quorvel::ui::kHoverColour);
    FSelectionButtons[i]->setEnabled(false);
    FSelectionButtons[i]->setEnabled(true);
  }
}

void TFrame_Veduzir::showCharHint(const quorvel::TCharCodes& codes) {
  if (windows_ && windows_->charhelp) windows_->charhelp->showCharHint(codes);
}

void TFrame_Veduzir::showWordHint(const quorvel::TCharCodes& codes,
                                  const quorvel::TWordCode& word) {
  if (windows_ && windows_->wordhelp) windows_->wordhelp->showWordHint(codes, word);
}

void TFrame_Veduzir::showRootHint(char keyLetter) {
  if (windows_ && windows_->roothelp) windows_->roothelp->showRootHint(keyLetter);
}

void TFrame_Veduzir::showRootTip() {
  if (windows_ && windows_->rootTip) windows_->rootTip->showRootTip();
}

void TFrame_Veduzir::showTip(int tipKind) {
  if (windows_ && windows_->tip) windows_->tip->showTip(tipKind);
}

void TFrame_Veduzir::openLookup() {
  if (windows_ && windows_->detailhelp) windows_->detailhelp->showLookup();
}

void TFrame_Veduzir::toggleRootTable() {
  TForm_rootMap* rootMap = windows_ ? windows_->rootMap : nullptr;
  if (rootMap && rootMap->isVisible()) {
    rootMap->close();
    if (width() > 700 && !rootMapPicture_.isNull()) Image_Map->setVisible(true);
  } else if (width() <= 700) {
    Image_Map->setVisible(false);
    if (rootMap) {
      const QRect screen =
          rootMap->screen() ? rootMap->screen()->geometry() : QRect(0, 0, 800, 600);
      rootMap->move((screen.width() - rootMap->width()) / 2,
                    screen.height() - rootMap->height() - 30);
      rootMap->show();
    }
  } else {
    Image_Map->setVisible(!Image_Map->isVisible() && !rootMapPicture_.isNull());
  }
  setFocus();
}

void TFrame_Veduzir::openHelp(int context) {
  if (windows_ && windows_->help) windows_->help->openContext(context);
}
