#pragma once
// The selection panel on the frame's left: nine buttons with raised
// captions, three of them dropping a menu. The menus are built from the kind
// table; the panel says what was chosen and leaves the acting to the frame.
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

 signals:
  // A button without a menu was clicked.
  void buttonClicked(int row);
  // A menu item was chosen: its tag in the kind table's menu entries.
  void menuItemChosen(int tag);

 private:
  void buildRows();
  void buildMenus();
  void dropMenu(int row);
  QMenu* menuOf(int row) const;

  std::array<QLabel*, RowCount> FCaptionLabels{};
  std::array<quorvel::ui::TransparentButton*, RowCount> FSelectionButtons{};
  QMenu* PopupMenu_Char = nullptr;
  QMenu* PopupMenu_word = nullptr;
  QMenu* PopupMenu_exam = nullptr;
};
