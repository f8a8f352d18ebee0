#include "history/windows/ProgressCharts.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/QtSupport.h"

ProgressChart::ProgressChart(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* chart = new QChart;
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->setMargins(QMargins(4, 4, 4, 4));
  view_ = new QChartView(chart, this);
  view_->setObjectName(QStringLiteral("ChartView_progress"));
  view_->setRenderHint(QPainter::Antialiasing);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("RzLabel_chartSummary"));
  summary_->setWordWrap(true);
  layout->addWidget(view_, 1);
  layout->addWidget(summary_);
}

QString ProgressChart::summary() const { return summary_->text(); }

void ProgressChart::setChart(const quorvel::history::KindChart& runs, const QString& speedUnit,
                             const QString& whenEmpty) {
  QChart* chart = view_->chart();
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
  points_ = static_cast<int>(runs.points.size());
  if (runs.runs == 0 || runs.points.empty()) {
    points_ = 0;
    summary_->setText(whenEmpty);
    view_->setAccessibleName(summary_->text());
    return;
  }
  QList<QPointF> speed, accuracy;
  speed.reserve(static_cast<qsizetype>(runs.points.size()));
  accuracy.reserve(static_cast<qsizetype>(runs.points.size()));
  double topSpeed = 0;
  for (const auto& point : runs.points) {
    const double x = static_cast<double>(point.ended) * 1000.0;
    speed.append(QPointF(x, point.speed));
    if (point.accuracy >= 0) accuracy.append(QPointF(x, point.accuracy));
    topSpeed = std::max(topSpeed, point.speed);
  }
  const int bestSpeed = runs.bestSpeed;
  auto* speedSeries = new QLineSeries;
  speedSeries->setName(QStringLiteral("速度（%1）").arg(speedUnit));
  speedSeries->replace(speed);
  speedSeries->setPointsVisible(true);
  chart->addSeries(speedSeries);
  auto* accuracySeries = new QLineSeries;
  accuracySeries->setName(QStringLiteral("正确率（%）"));
  accuracySeries->replace(accuracy);
  accuracySeries->setPointsVisible(true);
  if (!accuracy.isEmpty()) chart->addSeries(accuracySeries);

  auto* time = new QDateTimeAxis;
  time->setTickCount(5);
  // One run, or runs of one minute, still get a span to be drawn in.
  const std::int64_t first = runs.first;
  const std::int64_t last = std::max<std::int64_t>(runs.last, first + 60);
  // Ticks fine enough to tell apart, no finer than the span needs.
  const std::int64_t span = last - first;
  time->setFormat(span < 3600        ? QStringLiteral("hh:mm:ss")
                  : span < 3 * 86400 ? QStringLiteral("MM-dd hh:mm")
                                     : QStringLiteral("yyyy-MM-dd"));
  time->setRange(QDateTime::fromSecsSinceEpoch(first - 30),
                 QDateTime::fromSecsSinceEpoch(last + 30));
  chart->addAxis(time, Qt::AlignBottom);
  auto* speedAxis = new QValueAxis;
  const int top = static_cast<int>(std::ceil(topSpeed));
  speedAxis->setRange(0, std::max(10, top + top / 10 + 1));
  speedAxis->setLabelFormat(QStringLiteral("%d"));
  speedAxis->setTitleText(speedUnit);
  chart->addAxis(speedAxis, Qt::AlignLeft);
  speedSeries->attachAxis(time);
  speedSeries->attachAxis(speedAxis);
  if (!accuracy.isEmpty()) {
    auto* percentAxis = new QValueAxis;
    percentAxis->setRange(0, 100);
    percentAxis->setLabelFormat(QStringLiteral("%d"));
    percentAxis->setTitleText(QStringLiteral("%"));
    chart->addAxis(percentAxis, Qt::AlignRight);
    accuracySeries->attachAxis(time);
    accuracySeries->attachAxis(percentAxis);
  } else {
    delete accuracySeries;
  }

  const auto& latest = runs.latest;
  QString text = QStringLiteral("共 %1 次。最近一次：速度 %2 %3")
                     .arg(runs.runs)
                     .arg(latest.speed)
                     .arg(speedUnit);
  if (latest.accuracy >= 0) text += QStringLiteral("，正确率 %1%").arg(latest.accuracy);
  text += QStringLiteral("。最快：%1 %2。").arg(bestSpeed).arg(speedUnit);
  if (points_ < runs.runs) text += QStringLiteral("图中每点是一段时间内各次的平均。");
  summary_->setText(text);
  view_->setAccessibleName(text);
}

namespace {
constexpr int kKeyWidth = 46;
constexpr int kKeyHeight = 58;
}  // namespace

int KeyStat::keysPerMinute() const {
  // Entries timed at 0 ms in all give no speed to show, not an endless one.
  if (timed <= 0 || msSum <= 0) return -1;
  return static_cast<int>(std::llround(60000.0 * timed / static_cast<double>(msSum)));
}

KeyHeatMap::KeyHeatMap(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  static const char* const rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  int indent = 0;
  for (const char* row : rows) {
    auto* line = new QHBoxLayout;
    line->setSpacing(3);
    line->addSpacing(indent);
    for (const char* c = row; *c; ++c) {
      auto* key = new QLabel(this);
      key->setObjectName(QStringLiteral("RzLabel_key_%1").arg(QLatin1Char(*c)));
      // Three lines: the letter, the accuracy and the speed.
      key->setFixedSize(kKeyWidth, kKeyHeight);
      key->setAlignment(Qt::AlignCenter);
      key->setFrameStyle(QFrame::Panel | QFrame::Raised);
      key->setAutoFillBackground(true);
      keys_[static_cast<std::size_t>(*c - 'A')] = key;
      line->addWidget(key);
    }
    line->addStretch(1);
    layout->addLayout(line);
    indent += kKeyWidth / 2;
  }
  setKeys({});
}

void KeyHeatMap::setKeys(const std::array<KeyStat, 26>& keys) {
  for (int i = 0; i < 26; ++i) {
    QLabel* key = keys_[static_cast<std::size_t>(i)];
    const KeyStat& stat = keys[static_cast<std::size_t>(i)];
    const QChar letter(QLatin1Char(static_cast<char>('A' + i)));
    QColor colour(0xE0, 0xE0, 0xE0);
    if (stat.tries == 0) {
      key->setText(QString(letter));
      key->setAccessibleName(QStringLiteral("%1 键：还没有练过").arg(letter));
    } else {
      const int right = stat.tries - stat.misses;
      const int percent = right * 100 / stat.tries;
      // Half right or worse is full red; all right is full green.
      const double share = std::clamp((percent - 50) / 50.0, 0.0, 1.0);
      colour = QColor::fromHsvF(share / 3.0, 0.55, 0.97);
      const int speed = stat.keysPerMinute();
      key->setText(QStringLiteral("%1\n%2%\n%3")
                       .arg(letter)
                       .arg(percent)
                       .arg(speed < 0 ? QStringLiteral("—") : QStringLiteral("%1/分").arg(speed)));
      key->setAccessibleName(QStringLiteral("%1 键：正确率 %2%（%3 次），%4")
                                 .arg(letter)
                                 .arg(percent)
                                 .arg(stat.tries)
                                 .arg(speed < 0 ? QStringLiteral("没有计时")
                                                : QStringLiteral("每分钟 %1 键").arg(speed)));
    }
    QPalette palette = key->palette();
    palette.setColor(QPalette::Window, colour);
    key->setPalette(palette);
    key->setToolTip(key->accessibleName());
  }
}
