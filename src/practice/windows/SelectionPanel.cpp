#include "practice/windows/SelectionPanel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

#include "data/PracticeKinds.h"
#include "practice/windows/FrameParts.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"

using quorvel::ui::makeLabel;
using quorvel::ui::setFill;
using quorvel::ui::songFont;

SelectionPanel::SelectionPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("RzPanel_BtnPanel"));
  buildRows();
  buildMenus();
}

void SelectionPanel::buildRows() {
  struct Row {
    const char* caption;
    const char* button;
    const char* label;
  };
  static const Row rows[RowCount] = {
      {"字根练习", "RzToolbarButton_root", "RzLabel_root"},
      {"单字练习", "RzMenuToolbarButton_Char", "RzLabel_Char"},
      {"词组练习", "RzMenuToolbarButton_word", "RzLabel_word"},
      {"对照练习", "RzToolbarButton_compare", "RzLabel_compare"},
      {"录入练习", "RzToolbarButton_input", "RzLabel_input"},
      {"字码互查", "RzToolbarButton_query", "RzLabel_query"},
      {"练习测验", "RzMenuToolbarButton_exam", "RzLabel_exam"},
      {"字根表", "RzToolbarButton_RootMap", "RzLabel_RootMap"},
      {"学习路线", "RzToolbarButton_path", "RzLabel_path"},
  };
  QWidget* panel = this;
  setFill(panel, quorvel::ui::kFormColour);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 4, 2, 4);
  layout->setSpacing(2);
  for (int tag = 0; tag < RowCount; ++tag) {
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
    // Named as its caption for assistive technology; the menu rows say so.
    button->setAccessibleName(QString::fromUtf8(rows[tag].caption));
    const int place = static_cast<int>(std::find(shownOrder().begin(), shownOrder().end(), tag) -
                                       shownOrder().begin());
    const QString keyName = QStringLiteral("Alt+%1").arg(place + 1);
    button->setAccessibleDescription(tag == Char || tag == Word || tag == Exam
                                         ? QStringLiteral("打开菜单（%1）").arg(keyName)
                                         : keyName);
    button->setToolTip(QString::fromUtf8(rows[tag].caption) +
                       QStringLiteral("（%1）").arg(keyName));
    grid->addWidget(label, 0, 0);
    grid->addWidget(button, 0, 0);
    quorvel::ui::bindButtonFace(button, label, quorvel::ui::kHoverColour);
    FCaptionLabels[static_cast<std::size_t>(tag)] = label;
    FSelectionButtons[static_cast<std::size_t>(tag)] = button;
    // The path comes first: where a newcomer starts.
    layout->insertWidget(tag == Path ? 0 : layout->count(), cell, 1);
  }
  // Tab follows the rows as shown.
  for (std::size_t i = 1; i < shownOrder().size(); ++i)
    setTabOrder(FSelectionButtons[static_cast<std::size_t>(shownOrder()[i - 1])],
                FSelectionButtons[static_cast<std::size_t>(shownOrder()[i])]);
  for (int row = 0; row < RowCount; ++row) {
    auto* button = FSelectionButtons[static_cast<std::size_t>(row)];
    if (row == Char || row == Word || row == Exam)
      connect(button, &QAbstractButton::clicked, this, [this, row] { dropMenu(row); });
    else
      connect(button, &QAbstractButton::clicked, this, [this, row] { emit buttonClicked(row); });
  }
  // A press on a menu button colours its caption as the hover does, and the
  // colour stays while the menu is down (the open menu takes the mouse, so
  // the button sees the mouse leave); closing the menu restores the panel.
  for (int row : {Char, Word, Exam}) {
    QLabel* label = FCaptionLabels[static_cast<std::size_t>(row)];
    auto* button = FSelectionButtons[static_cast<std::size_t>(row)];
    connect(button, &QAbstractButton::pressed, label,
            [label] { quorvel::ui::setLabelFill(label, true, quorvel::ui::kHoverColour); });
    connect(button, &quorvel::ui::TransparentButton::hoverChanged, label,
            [this, row, label](bool inside) {
              const QMenu* menu = menuOf(row);
              if (!inside && menu && menu->isVisible())
                quorvel::ui::setLabelFill(label, true, quorvel::ui::kHoverColour);
            });
  }
}

QMenu* SelectionPanel::menuOf(int row) const {
  return row == Char   ? PopupMenu_Char
         : row == Word ? PopupMenu_word
         : row == Exam ? PopupMenu_exam
                       : nullptr;
}

void SelectionPanel::buildMenus() {
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
  PopupMenu_Char = makeMenu("PopupMenu_Char", this);
  QMenu* preferred = makeMenu("MenuItem_sel", PopupMenu_Char);
  preferred->setTitle(QStringLiteral("优选练习"));
  PopupMenu_Char->addMenu(preferred);
  QMenu* all = makeMenu("MenuItem_all", PopupMenu_Char);
  all->setTitle(QStringLiteral("全面练习"));
  PopupMenu_Char->addMenu(all);
  // After the two lists of the tables: the items the learner's history says
  // are weak, characters and roots.
  QMenu* weak = makeMenu("MenuItem_weak", PopupMenu_Char);
  weak->setTitle(QStringLiteral("薄弱练习"));
  PopupMenu_Char->addMenu(weak);
  PopupMenu_word = makeMenu("PopupMenu_word", this);
  PopupMenu_exam = makeMenu("PopupMenu_exam", this);

  for (const quorvel::MenuEntry& entry : quorvel::menuEntries()) {
    QMenu* menu = nullptr;
    switch (entry.menu) {
      case quorvel::KindMenu::CharPreferred:
        menu = preferred;
        break;
      case quorvel::KindMenu::CharAll:
        menu = all;
        break;
      case quorvel::KindMenu::CharWeak:
        menu = weak;
        break;
      case quorvel::KindMenu::Word:
        menu = PopupMenu_word;
        break;
      case quorvel::KindMenu::Exam:
        menu = PopupMenu_exam;
        break;
    }
    QAction* action = menu->addAction(QString::fromUtf8(entry.caption));
    action->setObjectName(QString::fromLatin1(entry.objectName));
    action->setProperty("tag", entry.tag);
    const int tag = entry.tag;
    connect(action, &QAction::triggered, this, [this, tag] { emit menuItemChosen(tag); });
  }
  for (QMenu* menu : {PopupMenu_Char, PopupMenu_word, PopupMenu_exam})
    connect(menu, &QMenu::aboutToHide, this, [this] { restore(); });
}

void SelectionPanel::dropMenu(int row, bool fromKeyboard) {
  QWidget* button = FSelectionButtons[static_cast<std::size_t>(row)];
  quorvel::ui::setLabelFill(FCaptionLabels[static_cast<std::size_t>(row)], true,
                            quorvel::ui::kHoverColour);
  QMenu* menu = menuOf(row);
  menu->popup(button->mapToGlobal(QPoint(button->width(), 0)));
  if (fromKeyboard && !menu->actions().isEmpty()) menu->setActiveAction(menu->actions().first());
}

QWidget* SelectionPanel::button(int row) const {
  return FSelectionButtons[static_cast<std::size_t>(row)];
}

const std::array<int, SelectionPanel::RowCount>& SelectionPanel::shownOrder() {
  static const std::array<int, RowCount> order = {Path,  Root,  Char, Word,   Compare,
                                                  Input, Query, Exam, RootMap};
  return order;
}

void SelectionPanel::focusFirst() {
  FSelectionButtons[static_cast<std::size_t>(shownOrder().front())]->setFocus(Qt::TabFocusReason);
}

bool SelectionPanel::pressShown(int place) {
  if (place < 0 || place >= RowCount) return false;
  const int row = shownOrder()[static_cast<std::size_t>(place)];
  FSelectionButtons[static_cast<std::size_t>(row)]->setFocus(Qt::ShortcutFocusReason);
  FSelectionButtons[static_cast<std::size_t>(row)]->click();
  return true;
}

bool SelectionPanel::navigate(QWidget* focused, int key) {
  const auto found = std::find(FSelectionButtons.begin(), FSelectionButtons.end(), focused);
  if (found == FSelectionButtons.end()) return false;
  const int row = static_cast<int>(found - FSelectionButtons.begin());
  const auto& order = shownOrder();
  const int place = static_cast<int>(std::find(order.begin(), order.end(), row) - order.begin());
  auto focusPlace = [&](int p) {
    const int wrapped = (p % RowCount + RowCount) % RowCount;
    FSelectionButtons[static_cast<std::size_t>(order[static_cast<std::size_t>(wrapped)])]->setFocus(
        Qt::TabFocusReason);
  };
  switch (key) {
    case Qt::Key_Up:
      focusPlace(place - 1);
      return true;
    case Qt::Key_Down:
      focusPlace(place + 1);
      return true;
    case Qt::Key_Home:
      focusPlace(0);
      return true;
    case Qt::Key_End:
      focusPlace(RowCount - 1);
      return true;
    case Qt::Key_Right:
    case Qt::Key_Menu:
      if (menuOf(row)) dropMenu(row, true);
      return true;
    case Qt::Key_Left:
      return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (menuOf(row))
        dropMenu(row, true);
      else
        FSelectionButtons[static_cast<std::size_t>(row)]->click();
      return true;
    default:
      return false;
  }
}

void SelectionPanel::restore() {
  for (std::size_t i = 0; i < FCaptionLabels.size(); ++i) {
    quorvel::ui::setLabelFill(FCaptionLabels[i], false, quorvel::ui::kHoverColour);
    FSelectionButtons[i]->setEnabled(false);
    FSelectionButtons[i]->setEnabled(true);
  }
}
