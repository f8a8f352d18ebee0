#pragma once
// The pictures of the progress window: speed and accuracy of one practice
// kind over time (Qt Charts), and a keyboard coloured by how often the roots
// of each key were pressed right, with each key's speed. Each also says in
// words what it shows, for screen readers and for the learner who prefers
// numbers.
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "history/HistoryStore.h"

class QLabel;
class QChartView;
class QChart;

// Speed (left axis) and accuracy (right axis, per cent) of one kind's runs,
// by the time each ended; a long history as the means of stretches of time
// (KindChart), so the chart never draws more points than it has pixels.
class ProgressChart : public QWidget {
  Q_OBJECT
 public:
  explicit ProgressChart(QWidget* parent = nullptr);
  // speedUnit names the speed ("字/分钟"); whenEmpty is said when there is nothing to draw.
  void setChart(const quorvel::history::KindChart& chart, const QString& speedUnit,
                const QString& whenEmpty = QStringLiteral("这种练习还没有记录。"));
  QChartView* view() const { return view_; }
  // The summary under the chart.
  QString summary() const;
  // The points drawn (runs, or means of several).
  int pointCount() const { return points_; }

 private:
  QChartView* view_ = nullptr;
  QLabel* summary_ = nullptr;
  int points_ = 0;
};

// What the history holds of the roots on one key, summed over them.
struct KeyStat {
  int tries = 0;
  int misses = 0;
  std::int64_t msSum = 0;  // the time of the timed entries
  int timed = 0;           // how many entries were timed
  // Keys a minute at the mean time of the timed entries; -1 when none was timed.
  int keysPerMinute() const;
};

// The 26 letter keys in their keyboard rows, each coloured from red (half
// or fewer right) to green (all right), grey while no root of it came, and
// showing its accuracy and speed.
class KeyHeatMap : public QWidget {
  Q_OBJECT
 public:
  explicit KeyHeatMap(QWidget* parent = nullptr);
  // Per key A..Z.
  void setKeys(const std::array<KeyStat, 26>& keys);
  QLabel* key(char letter) const { return keys_[static_cast<std::size_t>(letter - 'A')]; }

 private:
  std::array<QLabel*, 26> keys_{};
};
