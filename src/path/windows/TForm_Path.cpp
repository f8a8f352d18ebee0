#include "path/windows/TForm_Path.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <map>
#include <set>

#include "platform/Registry.h"
#include "ui/QtSupport.h"

namespace path = quorvel::path;

namespace {

// The learner's targets, one value per group of stages, in milliseconds.
constexpr const char* kTargetsKey = "SOFTWARE\\Marrowby\\Quorvel\\LearningPath";
constexpr const char* kTargetNames[path::kGroupCount] = {"TargetRootMs",    "TargetOneCharMs",
                                                         "TargetTwoCharMs", "TargetCharMs",
                                                         "TargetWordMs",    "TargetTextMs"};
constexpr int kMinTargetMs = 300;
constexpr int kMaxTargetMs = 10000;

QString seconds(int ms) { return QString::number(ms / 1000.0, 'f', 1) + QStringLiteral(" 秒"); }

QString stateOf(const path::StageProgress& p, bool current) {
  if (p.testedOut) return QStringLiteral("测验通过");
  if (p.passed) return QStringLiteral("已通过");
  if (current) return QStringLiteral("正在学");
  return p.open ? QStringLiteral("已开放") : QStringLiteral("未开放");
}

}  // namespace

TForm_Path::TForm_Path(quorvel::history::HistoryStore& store, const quorvel::PracticeData& data,
                       std::vector<std::string> textFiles, quorvel::platform::Registry* settings,
                       const quorvel::platform::Clock& clock, QWidget* parent)
    : FormBase(parent, "Form_Path", QStringLiteral("学习路线"), QSize(720, 560),
               Qt::Window | Qt::WindowCloseButtonHint),
      store_(store),
      path_(std::make_unique<path::LearningPath>(data, std::move(textFiles))),
      settings_(settings),
      clock_(clock) {
  random_.seedFromClock();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  auto label = [this](const char* name, int size, bool bold) {
    auto* l = new QLabel(this);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(quorvel::ui::songFont(size, bold));
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    return l;
  };
  RzLabel_current = label("RzLabel_current", 14, true);
  RzLabel_speed = label("RzLabel_speed", 12, false);
  RzLabel_due = label("RzLabel_due", 12, false);
  RzLabel_summary = label("RzLabel_summary", 12, false);
  RzLabel_summary->setStyleSheet(QStringLiteral("QLabel { background: #FFFFE0; padding: 4px; }"));
  RzLabel_summary->hide();
  layout->addWidget(RzLabel_current);
  layout->addWidget(RzLabel_speed);
  layout->addWidget(RzLabel_due);
  layout->addWidget(RzLabel_summary);

  auto* buttons = new QHBoxLayout;
  Button_next = new QPushButton(QStringLiteral("开始下一课(&N)  F7"), this);
  Button_next->setObjectName(QStringLiteral("Button_next"));
  Button_next->setDefault(true);
  Button_next->setFont(quorvel::ui::songFont(13, true));
  Button_next->setToolTip(QStringLiteral("约两分钟：先复习到期的，再练本阶段最弱的，再学新的"));
  Button_test = new QPushButton(QStringLiteral("测验本阶段(&T)"), this);
  Button_test->setObjectName(QStringLiteral("Button_test"));
  Button_test->setToolTip(
      QStringLiteral("已经会打的，可以测验跳过：正确率 %1% 以上且达到目标速度即通过本阶段")
          .arg(path::kTestPercent));
  buttons->addWidget(Button_next);
  buttons->addWidget(Button_test);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  connect(Button_next, &QPushButton::clicked, this, &TForm_Path::startNext);
  connect(Button_test, &QPushButton::clicked, this, &TForm_Path::startTest);

  Table_stages = new QTableWidget(this);
  Table_stages->setObjectName(QStringLiteral("Table_stages"));
  Table_stages->setAccessibleName(QStringLiteral("学习路线的各个阶段"));
  Table_stages->setColumnCount(6);
  Table_stages->setHorizontalHeaderLabels({QStringLiteral("阶段"), QStringLiteral("状态"),
                                           QStringLiteral("已掌握"), QStringLiteral("练过"),
                                           QStringLiteral("共"), QStringLiteral("待复习")});
  Table_stages->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table_stages->setSelectionBehavior(QAbstractItemView::SelectRows);
  Table_stages->verticalHeader()->hide();
  Table_stages->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int c = 1; c < 6; ++c)
    Table_stages->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  layout->addWidget(Table_stages, 1);

  // The targets: seconds per entry (per character for texts), one per group of stages.
  auto* targets = new QGridLayout;
  targets->addWidget(new QLabel(QStringLiteral("目标（每个条目的秒数）："), this), 0, 0, 1, 6);
  for (int g = 0; g < path::kGroupCount; ++g) {
    const auto group = static_cast<path::Group>(g);
    auto* caption = new QLabel(QString::fromUtf8(path::Targets::groupName(group)), this);
    auto* spin = new QDoubleSpinBox(this);
    spin->setObjectName(QStringLiteral("SpinBox_target%1").arg(g));
    spin->setRange(kMinTargetMs / 1000.0, kMaxTargetMs / 1000.0);
    spin->setSingleStep(0.1);
    spin->setDecimals(1);
    spin->setSuffix(QStringLiteral(" 秒"));
    spin->setAccessibleName(caption->text() + QStringLiteral("的目标秒数"));
    caption->setBuddy(spin);
    targets->addWidget(caption, 1 + g / 3, (g % 3) * 2);
    targets->addWidget(spin, 1 + g / 3, (g % 3) * 2 + 1);
    SpinBox_targets[static_cast<std::size_t>(g)] = spin;
  }
  layout->addLayout(targets);

  auto* rule = label("RzLabel_rule", 11, false);
  rule->setText(
      QStringLiteral(
          "掌握：一个条目最近 %1 次都打对，而且每次都不超过目标时间。阶段里 %2% "
          "的条目掌握了，这一阶段就通过，下一阶段随即开放。复习：掌握的条目隔 1 天回来，"
          "每天第一次复习打对又够快，间隔就加长（2、2、3、5、8、11、17 天），打错就重新从 1 "
          "天开始。字根按键盘分区学：左手中排、右手中排（含 N M）、左手上排、右手上排、"
          "左手下排。")
          .arg(path::kMasteredRuns)
          .arg(path::kPassPercent));
  layout->addWidget(rule);

  readTargets();
  for (int g = 0; g < path::kGroupCount; ++g) {
    QDoubleSpinBox* spin = SpinBox_targets[static_cast<std::size_t>(g)];
    spin->setValue(targets_.ms[static_cast<std::size_t>(g)] / 1000.0);
    connect(spin, &QDoubleSpinBox::valueChanged, this, [this, g](double value) {
      setTarget(static_cast<path::Group>(g), static_cast<int>(value * 1000 + 0.5));
    });
  }
}

TForm_Path::~TForm_Path() = default;

void TForm_Path::readTargets() {
  targets_ = path::Targets::defaults();
  if (!settings_) return;
  for (int g = 0; g < path::kGroupCount; ++g) {
    // A value out of range is the default's: an odd store never makes a stage impossible.
    const auto v = settings_->readInt(kTargetsKey, kTargetNames[g]);
    if (v && *v >= kMinTargetMs && *v <= kMaxTargetMs)
      targets_.ms[static_cast<std::size_t>(g)] = *v;
  }
}

void TForm_Path::setTarget(path::Group group, int ms) {
  ms = std::clamp(ms, kMinTargetMs, kMaxTargetMs);
  const auto g = static_cast<std::size_t>(group);
  if (targets_.ms[g] == ms) return;
  targets_.ms[g] = ms;
  if (settings_) {
    if (!settings_->keyExists(kTargetsKey)) settings_->createKey(kTargetsKey);
    settings_->writeInt(kTargetsKey, kTargetNames[g], ms);
  }
  reload();
}

int TForm_Path::today() const {
  const auto now =
      std::chrono::duration_cast<std::chrono::seconds>(clock_.now().time_since_epoch()).count();
  return quorvel::history::localDay(now);
}

void TForm_Path::showPath() {
  reload();
  show();
  raise();
  activateWindow();
  Button_next->setFocus();
}

void TForm_Path::reload() {
  standing_ = path_->assess(path::LearningPath::readFacts(store_), targets_, today());
  fill();
}

void TForm_Path::fill() {
  const path::Standing& st = standing_;
  const int count = path_->stageCount();
  Table_stages->setRowCount(count);
  for (int s = 0; s < count; ++s) {
    const path::StageProgress& p = st.stages[static_cast<std::size_t>(s)];
    const QStringList cells = {QString::fromUtf8(path_->stage(s).name),
                               stateOf(p, s == st.current),
                               QString::number(p.mastered),
                               QString::number(p.seen),
                               QString::number(p.total),
                               p.due > 0 ? QString::number(p.due) : QString()};
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c > 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (s == st.current) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      } else if (!p.open) {
        item->setForeground(QColor(0x80, 0x80, 0x80));
      }
      Table_stages->setItem(s, c, item);
    }
  }
  if (st.current < count) Table_stages->selectRow(st.current);

  if (st.current >= count) {
    RzLabel_current->setText(QStringLiteral("全部阶段都已通过！每天复习到期的条目，多打文章。"));
    RzLabel_speed->clear();
  } else {
    const path::StageInfo& info = path_->stage(st.current);
    const path::StageProgress& p = st.stages[static_cast<std::size_t>(st.current)];
    RzLabel_current->setText(QStringLiteral("第 %1 阶段（共 %2）：%3　已掌握 %4 / 练过 %5 / 共 %6")
                                 .arg(st.current + 1)
                                 .arg(count)
                                 .arg(QString::fromUtf8(info.name))
                                 .arg(p.mastered)
                                 .arg(p.seen)
                                 .arg(p.total));
    const int target = targets_.of(info.group);
    RzLabel_speed->setText(
        p.recentMs < 0
            ? QStringLiteral("目标：每个 %1 以内。还没有练过这一阶段。").arg(seconds(target))
            : QStringLiteral("你的速度：最近每个 %1，目标 %2 以内%3。")
                  .arg(seconds(p.recentMs), seconds(target),
                       p.recentMs <= target
                           ? QStringLiteral("（已达到）")
                           : QStringLiteral("（还差 %1）").arg(seconds(p.recentMs - target))));
  }
  if (st.due.empty()) {
    RzLabel_due->setText(QStringLiteral("今天没有要复习的条目。"));
  } else {
    QStringList names;
    for (std::size_t i = 0; i < st.due.size() && i < 12; ++i) {
      const path::DueItem& d = st.due[i];
      names << QString::fromStdString(
          path_->items(d.stage)[static_cast<std::size_t>(d.index)].shown);
    }
    RzLabel_due->setText(QStringLiteral("今天要复习 %1 项：%2%3")
                             .arg(st.due.size())
                             .arg(names.join(QStringLiteral("、")))
                             .arg(st.due.size() > 12 ? QStringLiteral("……") : QString()));
  }
  const bool canTest = st.current < count && path_->stage(st.current).source != path::Source::Texts;
  Button_test->setEnabled(canTest);
}

void TForm_Path::begin(quorvel::SessionPlan plan) {
  if (plan.kind == 0 || (plan.items.empty() && plan.textFile.empty())) {
    RzLabel_summary->setText(QStringLiteral("现在没有可以练的条目：资源库里缺少这一阶段的内容。"));
    RzLabel_summary->show();
    return;
  }
  before_ = standing_;
  sessionItems_ = std::set<std::string>(plan.items.begin(), plan.items.end());
  RzLabel_summary->hide();
  emit startSession(plan);
}

void TForm_Path::startNext() {
  reload();
  begin(path_->nextSession(standing_, targets_, random_));
}

void TForm_Path::startTest() {
  reload();
  begin(path_->testSession(standing_.current, targets_, random_));
}

void TForm_Path::sessionEnded() {
  reload();
  if (!before_) return;
  const path::Standing& was = *before_;
  const path::Standing& now = standing_;
  QStringList mastered;
  int newlyMastered = 0, lost = 0;
  std::map<int, int> comingBack;  // days from today -> items
  for (int s = 0; s < path_->stageCount(); ++s) {
    const auto& a = was.items[static_cast<std::size_t>(s)];
    const auto& b = now.items[static_cast<std::size_t>(s)];
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
      const bool typed = sessionItems_.count(path_->items(s)[i].gbk) > 0;
      if (b[i].mastered && !a[i].mastered) {
        ++newlyMastered;
        if (mastered.size() < 15) mastered << QString::fromStdString(path_->items(s)[i].shown);
      }
      if (a[i].mastered && !b[i].mastered) ++lost;
      if (typed && b[i].mastered) ++comingBack[b[i].dueDay - now.today];
    }
  }
  QStringList lines;
  lines << (newlyMastered > 0
                ? QStringLiteral("这一课新掌握 %1 项：%2%3")
                      .arg(newlyMastered)
                      .arg(mastered.join(QStringLiteral("、")))
                      .arg(newlyMastered > mastered.size() ? QStringLiteral("……") : QString())
                : QStringLiteral("这一课没有新掌握的条目：再练几次，要打对也要够快。"));
  if (lost > 0) lines << QStringLiteral("%1 项复习时打错或太慢，要重新练。").arg(lost);
  if (!comingBack.empty()) {
    QStringList when;
    for (const auto& [days, n] : comingBack)
      when << (days <= 1 ? QStringLiteral("明天 %1 项").arg(n)
                         : QStringLiteral("%1 天后 %2 项").arg(days).arg(n));
    lines << QStringLiteral("复习安排：") + when.join(QStringLiteral("，")) + QStringLiteral("。");
  }
  if (was.current < path_->stageCount()) {
    const int s = was.current;
    const auto& a = was.stages[static_cast<std::size_t>(s)];
    const auto& b = now.stages[static_cast<std::size_t>(s)];
    lines << QStringLiteral("“%1”：已掌握 %2 → %3 / %4。")
                 .arg(QString::fromUtf8(path_->stage(s).name))
                 .arg(a.mastered)
                 .arg(b.mastered)
                 .arg(b.total);
    if (now.current != was.current && now.current < path_->stageCount())
      lines << QStringLiteral("本阶段已通过！下一阶段“%1”开放了。")
                   .arg(QString::fromUtf8(path_->stage(now.current).name));
  }
  RzLabel_summary->setText(lines.join(QLatin1Char('\n')));
  RzLabel_summary->show();
  before_.reset();
  sessionItems_.clear();
}

void TForm_Path::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F7) {
    startNext();
    return;
  }
  FormBase::keyPressEvent(event);
}
