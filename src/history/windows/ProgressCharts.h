#pragma once
// The pictures of the progress window: speed and accuracy of one practice
// kind over time (Qt Charts), and a keyboard coloured by how often the roots
// of each key were pressed right. Each also says in words what it shows, for
// screen readers and for the learner who prefers numbers.
#include <QWidget>
#include <array>
#include <vector>

#include "history/HistoryStore.h"

class QLabel;
class QChartView;
class QChart;

// Speed (left axis) and accuracy (right axis, per cent) of the runs given,
// by the time each ended.
class ProgressChart : public QWidget {
  Q_OBJECT
 public:
  explicit ProgressChart(QWidget* parent = nullptr);
  // runs: one kind's, oldest first; speedUnit names the speed ("字/分钟").
  void setRuns(const std::vector<quorvel::history::RunRow>& runs, const QString& speedUnit);
  QChartView* view() const { return view_; }
  // The summary under the chart.
  QString summary() const;
  int pointCount() const { return points_; }

 private:
  QChartView* view_ = nullptr;
  QLabel* summary_ = nullptr;
  int points_ = 0;
};

// The 26 letter keys in their keyboard rows, each coloured from red (half
// or fewer right) to green (all right), grey while no root of it came.
class KeyHeatMap : public QWidget {
  Q_OBJECT
 public:
  explicit KeyHeatMap(QWidget* parent = nullptr);
  // tries and misses per key A..Z.
  void setCounts(const std::array<int, 26>& tries, const std::array<int, 26>& misses);
  QLabel* key(char letter) const { return keys_[static_cast<std::size_t>(letter - 'A')]; }

 private:
  std::array<QLabel*, 26> keys_{};
};
