#pragma once
// The progress window: how the learner's speed and accuracy went over time
// in each practice kind, the totals, the weakest roots, characters and words
// (missed or slow) with their error rate and mean time, a keyboard coloured
// by root-key accuracy with each key's speed, and what was typed instead of
// what. From here the weak-item drills start, the history
// is exported as CSV, or cleared after asking. It reads the store each time
// it is shown and keeps nothing of its own.
#include <QString>
#include <functional>
#include <vector>

#include "history/HistoryStore.h"
#include "ui/Widgets.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class ProgressChart;
class KeyHeatMap;

namespace quorvel {
struct PracticeData;
}

class TForm_Progress : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  TForm_Progress(quorvel::history::HistoryStore& store, const quorvel::PracticeData& data,
                 QWidget* parent = nullptr);

  // Reads the history again (and shows the window); `note` goes in its
  // message line (the run still going on, which the history does not hold yet).
  void showProgress(const QString& note = {});
  void reload(const QString& note);
  void reload();

  // The save-file dialog of the export, replaceable so a test can answer it:
  // the chosen path, or empty when cancelled.
  using SaveDialog = std::function<QString(QWidget* parent, const QString& suggested)>;
  void setSaveDialog(SaveDialog dialog) { saveDialog_ = std::move(dialog); }
  // The question before clearing; replaceable likewise. True: clear.
  using Confirm = std::function<bool(QWidget* parent, const QString& question)>;
  void setConfirm(Confirm confirm) { confirm_ = std::move(confirm); }

  void exportCsv();
  void clearHistory();

  // What the window shows, for the tests.
  QLabel* totals() const { return RzLabel_totals; }
  ProgressChart* chart() const { return chart_; }
  QComboBox* kinds() const { return ComboBox_kind; }
  QTableWidget* weakRoots() const { return Table_weakRoots; }
  QTableWidget* weakChars() const { return Table_weakChars; }
  QTableWidget* weakWords() const { return Table_weakWords; }
  QTableWidget* confusions() const { return Table_confusions; }
  KeyHeatMap* heatMap() const { return heatMap_; }
  QLabel* message() const { return RzLabel_message; }
  QPushButton* clearButton() const { return clearButton_; }
  // Why the history cannot be read or written (hidden while it can).
  QLabel* notice() const { return RzLabel_notice; }

 signals:
  // A weak-item drill was asked for (its practice kind).
  void practiseWeak(int kind);

 private:
  // A series is a kind's runs, or its runs kept apart by label: kind * 2 + apart.
  static int seriesOf(int kind, bool apart) { return kind * 2 + (apart ? 1 : 0); }
  void showChartOf(int series);
  void fillWeakTables();
  void fillKeyboard();

  quorvel::history::HistoryStore& store_;
  const quorvel::PracticeData& data_;
  SaveDialog saveDialog_;
  Confirm confirm_;

  QLabel* RzLabel_totals = nullptr;
  QTabWidget* TabWidget_progress = nullptr;
  QComboBox* ComboBox_kind = nullptr;
  ProgressChart* chart_ = nullptr;
  QSpinBox* SpinBox_minTries = nullptr;
  QTableWidget* Table_weakRoots = nullptr;
  QTableWidget* Table_weakChars = nullptr;
  QTableWidget* Table_weakWords = nullptr;
  QTableWidget* Table_confusions = nullptr;
  KeyHeatMap* heatMap_ = nullptr;
  QLabel* RzLabel_message = nullptr;
  QPushButton* clearButton_ = nullptr;
  QLabel* RzLabel_notice = nullptr;
};
