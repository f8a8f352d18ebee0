#pragma once
// The selection panel on the frame's left: nine buttons with raised
// captions, three of them dropping a menu. The menus are built from the kind
// table; the panel says what was chosen and leaves the acting to the frame.
// From the keyboard: Tab reaches the buttons, the arrows move between them,
// Space or Return presses one, Right or the Menu key drops a row's menu
// (with its first item chosen), and Alt+1 to Alt+9 press the rows in the
// order shown.
#include <QWidget>
#include <array>

class QLabel;
class QMenu;
namespace quorvel::ui {
class TransparentButton;
}

class SelectionPanel : public QWidget {
  Q_OBJECT
 public:
  // The nine rows, by their tags; the learning path is shown first.
  enum Row { Root, Char, Word, Compare, Input, Query, Exam, RootMap, Path, RowCount };
  explicit SelectionPanel(QWidget* parent = nullptr);
  // Every caption transparent again, every button re-enabled.
  void restore();
  // The button of a row, by its tag; the rows in the order shown.
  QWidget* button(int row) const;
  static const std::array<int, RowCount>& shownOrder();
  // Gives the keyboard focus to the first row shown.
  void focusFirst();
  // Presses the row shown at `place` (0 for the first); false past the last.
  bool pressShown(int place);
  // A key for the focused button of the panel: moves, presses or drops a
  // menu; false when it is none of the panel's keys.
  bool navigate(QWidget* focused, int key);

 signals:
  // A button without a menu was clicked.
  void buttonClicked(int row);
  // A menu item was chosen: its tag in the kind table's menu entries.
  void menuItemChosen(int tag);

 private:
  void buildRows();
  void buildMenus();
  void dropMenu(int row, bool fromKeyboard = false);
  QMenu* menuOf(int row) const;

  std::array<QLabel*, RowCount> FCaptionLabels{};
  std::array<quorvel::ui::TransparentButton*, RowCount> FSelectionButtons{};
  QMenu* PopupMenu_Char = nullptr;
  QMenu* PopupMenu_word = nullptr;
  QMenu* PopupMenu_exam = nullptr;
};
