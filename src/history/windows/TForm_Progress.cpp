#include "history/windows/TForm_Progress.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "data/PracticeData.h"
#include "data/PracticeKinds.h"
#include "history/HistoryStore.h"
#include "history/windows/ProgressCharts.h"
#include "platform/SafeFile.h"
#include "ui/Look.h"
#include "ui/QtSupport.h"

using quorvel::history::ItemClass;
using quorvel::history::ItemStat;

namespace {

constexpr int kListLength = 30;
// The chart shows at most this many points (about one a pixel of its width);
// a longer history is shown by the means of equal stretches of time.
constexpr int kChartPoints = 600;

QString whenText(std::int64_t t) {
  if (t <= 0) return QStringLiteral("—");
  const QDate day = QDateTime::fromSecsSinceEpoch(t).date();
  const qint64 days = day.daysTo(QDate::currentDate());
  if (days <= 0) return QStringLiteral("今天");
  if (days == 1) return QStringLiteral("昨天");
  if (days < 30) return QStringLiteral("%1 天前").arg(days);
  return day.toString(QStringLiteral("yyyy-MM-dd"));
}

QString rateText(const ItemStat& item) {
  return QStringLiteral("%1%").arg(item.misses * 100 / std::max(1, item.tries));
}

QString meanTimeText(const ItemStat& item) {
  if (item.timed <= 0) return QStringLiteral("—");
  return QStringLiteral("%1 秒").arg(item.meanMs() / 1000.0, 0, 'f', 1);
}

// The caption of a weakest list, with the time beyond which its items count as slow.
QString weakCaption(const QString& what, ItemClass cls) {
  return QStringLiteral("%1（出过错或平均慢于 %2 秒）")
      .arg(what)
      .arg(quorvel::history::slowEntryMs(cls) / 1000.0, 0, 'g', 3);
}

QTableWidget* makeTable(QWidget* parent, const char* name, const QStringList& headers) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->setVisible(false);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  // The last column takes what is left. (A stretched last section would keep
  // the default 100 pixels as its least width, more than the narrow weakest
  // lists can spare.)
  table->horizontalHeader()->setSectionResizeMode(table->columnCount() - 1, QHeaderView::Stretch);
  table->setIconSize(QSize(16, 16));
  return table;
}

void setRow(QTableWidget* table, int row, const QStringList& cells, const QIcon& icon = {}) {
  for (int c = 0; c < cells.size(); ++c) {
    auto* item = new QTableWidgetItem(cells[c]);
    if (c == 0 && !icon.isNull()) item->setIcon(icon);
    table->setItem(row, c, item);
  }
}

// What the speed of a kind counts: keys in the root drills, characters elsewhere.
QString speedUnitOf(int kind) {
  return quorvel::kindInfo(kind).rawKeys ? QStringLiteral("键/分钟") : QStringLiteral("字/分钟");
}

}  // namespace

TForm_Progress::TForm_Progress(quorvel::history::HistoryStore& store,
                               const quorvel::PracticeData& data, QWidget* parent)
    : FormBase(parent, "Form_Progress", QStringLiteral("练习进度"), QSize(760, 540),
               Qt::Window | Qt::WindowCloseButtonHint),
      store_(store),
      data_(data) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  RzLabel_totals = new QLabel(this);
  RzLabel_totals->setObjectName(QStringLiteral("RzLabel_totals"));
  RzLabel_totals->setFont(quorvel::ui::songFont(14, true));
  RzLabel_totals->setWordWrap(true);
  layout->addWidget(RzLabel_totals);
  // Why the history cannot be read or written, above everything else.
  RzLabel_notice = new QLabel(this);
  RzLabel_notice->setObjectName(QStringLiteral("RzLabel_notice"));
  RzLabel_notice->setWordWrap(true);
  RzLabel_notice->setTextInteractionFlags(Qt::TextSelectableByMouse);
  {
    QPalette palette = RzLabel_notice->palette();
    palette.setColor(QPalette::WindowText, QColor(0xB0, 0x20, 0x20));
    RzLabel_notice->setPalette(palette);
  }
  RzLabel_notice->hide();
  layout->addWidget(RzLabel_notice);

  TabWidget_progress = new QTabWidget(this);
  TabWidget_progress->setObjectName(QStringLiteral("TabWidget_progress"));
  layout->addWidget(TabWidget_progress, 1);

  // Speed and accuracy of one kind over time.
  auto* chartPage = new QWidget(TabWidget_progress);
  auto* chartLayout = new QVBoxLayout(chartPage);
  auto* kindLine = new QHBoxLayout;
  auto* kindCaption = new QLabel(QStringLiteral("练习："), chartPage);
  ComboBox_kind = new QComboBox(chartPage);
  ComboBox_kind->setObjectName(QStringLiteral("ComboBox_kind"));
  ComboBox_kind->setAccessibleName(QStringLiteral("练习种类"));
  kindCaption->setBuddy(ComboBox_kind);
  kindLine->addWidget(kindCaption);
  kindLine->addWidget(ComboBox_kind);
  kindLine->addStretch(1);
  chartLayout->addLayout(kindLine);
  chart_ = new ProgressChart(chartPage);
  chartLayout->addWidget(chart_, 1);
  TabWidget_progress->addTab(chartPage, QStringLiteral("速度与正确率"));
  connect(ComboBox_kind, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) showChartOf(ComboBox_kind->itemData(index).toInt());
  });

  // The weakest items, by error rate.
  auto* weakPage = new QWidget(TabWidget_progress);
  auto* weakLayout = new QVBoxLayout(weakPage);
  auto* triesLine = new QHBoxLayout;
  auto* triesCaption = new QLabel(QStringLiteral("至少练过的次数："), weakPage);
  SpinBox_minTries = new QSpinBox(weakPage);
  SpinBox_minTries->setObjectName(QStringLiteral("SpinBox_minTries"));
  SpinBox_minTries->setRange(1, 50);
  // One try is enough at first: a new learner sees every miss; the number
  // can be raised as the history grows and rates settle.
  SpinBox_minTries->setValue(1);
  SpinBox_minTries->setAccessibleName(QStringLiteral("至少练过的次数"));
  triesCaption->setBuddy(SpinBox_minTries);
  triesLine->addWidget(triesCaption);
  triesLine->addWidget(SpinBox_minTries);
  auto* rateNote = new QLabel(
      QStringLiteral("错误率 = 出错次数 ÷ 出现次数，常出现的字不会只因出现得多而排在前面。"),
      weakPage);
  rateNote->setToolTip(
      QStringLiteral("排列按错误率加上慢的程度：平均用时超出限时越多，排得越前。"));
  triesLine->addWidget(rateNote);
  triesLine->addStretch(1);
  weakLayout->addLayout(triesLine);
  auto* tables = new QHBoxLayout;
  auto column = [&](const QString& title, QTableWidget* table, QPushButton* button, int stretch) {
    auto* box = new QVBoxLayout;
    auto* caption = new QLabel(title, weakPage);
    caption->setObjectName(table->objectName() + QStringLiteral("Caption"));
    caption->setWordWrap(true);
    caption->setBuddy(table);
    table->setAccessibleName(title);
    box->addWidget(caption);
    box->addWidget(table, 1);
    if (button) box->addWidget(button);
    tables->addLayout(box, stretch);
  };
  const QStringList itemHeaders = {QStringLiteral("项"), QStringLiteral("错误率"),
                                   QStringLiteral("用时"), QStringLiteral("错/次"),
                                   QStringLiteral("最近出错")};
  Table_weakRoots =
      makeTable(weakPage, "Table_weakRoots",
                {QStringLiteral("字根"), QStringLiteral("键"), QStringLiteral("错误率"),
                 QStringLiteral("用时"), QStringLiteral("错/次"), QStringLiteral("最近出错")});
  Table_weakChars = makeTable(weakPage, "Table_weakChars", itemHeaders);
  Table_weakWords = makeTable(weakPage, "Table_weakWords", itemHeaders);
  // The lists are narrow: the time has a short header, said in full where it is pointed at.
  for (QTableWidget* table : {Table_weakRoots, Table_weakChars, Table_weakWords})
    for (int c = 0; c < table->columnCount(); ++c)
      if (QTableWidgetItem* header = table->horizontalHeaderItem(c);
          header->text() == QStringLiteral("用时"))
        header->setToolTip(QStringLiteral("平均每次用时"));
  auto* practiseRoots = new QPushButton(QStringLiteral("练习薄弱字根"), weakPage);
  practiseRoots->setObjectName(QStringLiteral("Button_practiseRoots"));
  auto* practiseChars = new QPushButton(QStringLiteral("练习薄弱汉字"), weakPage);
  practiseChars->setObjectName(QStringLiteral("Button_practiseChars"));
  auto* practiseWords = new QPushButton(QStringLiteral("练习薄弱词组"), weakPage);
  practiseWords->setObjectName(QStringLiteral("Button_practiseWords"));
  column(weakCaption(QStringLiteral("最弱的字根"), ItemClass::Root), Table_weakRoots, practiseRoots,
         7);
  column(weakCaption(QStringLiteral("最弱的汉字"), ItemClass::Character), Table_weakChars,
         practiseChars, 6);
  column(weakCaption(QStringLiteral("最弱的词组"), ItemClass::Word), Table_weakWords, practiseWords,
         6);
  weakLayout->addLayout(tables, 1);
  TabWidget_progress->addTab(weakPage, QStringLiteral("薄弱项"));
  connect(SpinBox_minTries, &QSpinBox::valueChanged, this, [this] { fillWeakTables(); });
  connect(practiseRoots, &QPushButton::clicked, this,
          [this] { emit practiseWeak(quorvel::pkWeakRoot); });
  connect(practiseChars, &QPushButton::clicked, this,
          [this] { emit practiseWeak(quorvel::pkWeakChar); });
  connect(practiseWords, &QPushButton::clicked, this,
          [this] { emit practiseWeak(quorvel::pkWeakWord); });

  // The keyboard and the confusions.
  auto* keysPage = new QWidget(TabWidget_progress);
  auto* keysLayout = new QHBoxLayout(keysPage);
  auto* keyboardBox = new QVBoxLayout;
  keyboardBox->addWidget(new QLabel(QStringLiteral("字根练习中各键的正确率与速度："), keysPage));
  heatMap_ = new KeyHeatMap(keysPage);
  keyboardBox->addWidget(heatMap_);
  auto* legend =
      new QLabel(QStringLiteral("绿：全对　黄：约四分之三对　红：一半或更少对　灰：还没练过。\n"
                                "每个键的正确率算的是该键上各字根被按对的比例；\n"
                                "下面是每分钟按键数，按该键各字根的平均用时算，"
                                "— 为还没有计时。"),
                 keysPage);
  legend->setObjectName(QStringLiteral("RzLabel_legend"));
  keyboardBox->addWidget(legend);
  keyboardBox->addStretch(1);
  keysLayout->addLayout(keyboardBox);
  auto* confusionBox = new QVBoxLayout;
  auto* confusionCaption = new QLabel(QStringLiteral("最常见的混淆（应为 → 打成）："), keysPage);
  Table_confusions =
      makeTable(keysPage, "Table_confusions",
                {QStringLiteral("应为"), QStringLiteral("打成"), QStringLiteral("次数")});
  Table_confusions->setAccessibleName(confusionCaption->text());
  confusionCaption->setBuddy(Table_confusions);
  confusionBox->addWidget(confusionCaption);
  confusionBox->addWidget(Table_confusions, 1);
  keysLayout->addLayout(confusionBox, 1);
  TabWidget_progress->addTab(keysPage, QStringLiteral("键盘与混淆"));

  auto* buttons = new QHBoxLayout;
  RzLabel_message = new QLabel(this);
  RzLabel_message->setObjectName(QStringLiteral("RzLabel_message"));
  // A long message (a path, a reason) wraps instead of being cut off.
  RzLabel_message->setWordWrap(true);
  RzLabel_message->setMinimumWidth(1);
  RzLabel_message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* exportButton = new QPushButton(QStringLiteral("导出 CSV…"), this);
  exportButton->setObjectName(QStringLiteral("Button_export"));
  clearButton_ = new QPushButton(QStringLiteral("清除记录…"), this);
  clearButton_->setObjectName(QStringLiteral("Button_clear"));
  auto* closeButton = new QPushButton(QStringLiteral("关闭"), this);
  closeButton->setObjectName(QStringLiteral("Button_close"));
  buttons->addWidget(RzLabel_message, 1);
  buttons->addWidget(exportButton);
  buttons->addWidget(clearButton_);
  buttons->addWidget(closeButton);
  layout->addLayout(buttons);
  connect(exportButton, &QPushButton::clicked, this, &TForm_Progress::exportCsv);
  connect(clearButton_, &QPushButton::clicked, this, &TForm_Progress::clearHistory);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

  saveDialog_ = [](QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("导出练习记录"), suggested,
                                        QStringLiteral("CSV 文件 (*.csv)"));
  };
  confirm_ = [](QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("清除记录"), question,
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("MessageBox_ClearHistory"));
    quorvel::ui::applyTutorPalette(&box);
    QPushButton* yes = box.addButton(QStringLiteral("清除"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == yes;
  };
}

void TForm_Progress::showProgress(const QString& note) {
  reload(note);
  show();
  raise();
  activateWindow();
}

void TForm_Progress::reload(const QString& note) {
  reload();
  RzLabel_message->setText(note);
}

void TForm_Progress::reload() {
  const bool readable = store_.open();
  const QString notice = QString::fromStdString(store_.notice());
  RzLabel_notice->setText(notice);
  RzLabel_notice->setVisible(!notice.isEmpty());
  RzLabel_notice->setAccessibleName(notice);
  if (!readable) {
    // Not "0 runs": the history is there or not, but cannot be read.
    RzLabel_totals->setText(QStringLiteral("练习记录现在无法读取，下面什么也不能显示。"));
  } else {
    const quorvel::history::Totals totals = store_.totals();
    const std::int64_t minutes = totals.seconds / 60;
    RzLabel_totals->setText(QStringLiteral("共练习 %1 次，用时 %2 小时 %3 分钟，输入 %4 个字/键。")
                                .arg(totals.runs)
                                .arg(minutes / 60)
                                .arg(minutes % 60)
                                .arg(totals.items));
  }

  // The kinds that have runs; the chart opens on the kind practised last.
  // A test by quantity is charted apart from the timed tests it shares its kind with.
  const std::vector<quorvel::history::KindRuns> kinds = store_.kindRuns(quorvel::kSizedExamLabel);
  int shown = 0;
  std::pair<std::int64_t, std::int64_t> latest{-1, -1};
  for (const auto& k : kinds)
    if (std::pair(k.lastEnded, k.lastId) > latest) {
      latest = {k.lastEnded, k.lastId};
      shown = seriesOf(k.kind, k.apart);
    }
  {
    const QSignalBlocker block(ComboBox_kind);
    ComboBox_kind->clear();
    for (const auto& k : kinds)
      if (quorvel::isKind(k.kind))
        ComboBox_kind->addItem(
            QStringLiteral("%1（%2 次）")
                .arg(QString::fromStdString(quorvel::runName(
                    k.kind, k.apart ? quorvel::kSizedExamLabel : std::string_view())))
                .arg(k.runs),
            seriesOf(k.kind, k.apart));
    const int at = ComboBox_kind->findData(shown);
    ComboBox_kind->setCurrentIndex(at >= 0 ? at : ComboBox_kind->count() - 1);
  }
  if (readable)
    showChartOf(ComboBox_kind->currentIndex() >= 0 ? ComboBox_kind->currentData().toInt() : 0);
  else
    chart_->setChart({}, QString(), QStringLiteral("练习记录无法读取，没有可画的记录。"));
  // A file that is read only, newer or not ours cannot be cleared: asking would promise it.
  clearButton_->setEnabled(store_.canRecord());
  clearButton_->setToolTip(
      clearButton_->isEnabled() ? QString() : QStringLiteral("练习记录不能写入，无法清除。"));
  fillWeakTables();
  fillKeyboard();
}

void TForm_Progress::showChartOf(int series) {
  const int kind = series / 2;
  const bool apart = series % 2 != 0;
  chart_->setChart(kind != 0 ? store_.chart(kind, kChartPoints, quorvel::kSizedExamLabel, apart)
                             : quorvel::history::KindChart{},
                   speedUnitOf(kind));
}

void TForm_Progress::fillWeakTables() {
  const int minTries = SpinBox_minTries->value();
  const auto roots = store_.weakest(ItemClass::Root, minTries, kListLength);
  Table_weakRoots->setRowCount(static_cast<int>(roots.size()));
  for (int r = 0; r < static_cast<int>(roots.size()); ++r) {
    const ItemStat& item = roots[static_cast<std::size_t>(r)];
    const int root = item.item.empty() ? -1 : QString::fromStdString(item.item).toInt();
    QIcon icon;
    if (root >= 0 && root < quorvel::kRootCount)
      if (const auto& picture = data_.rootPictures[static_cast<std::size_t>(root)])
        icon = QIcon(QPixmap::fromImage(quorvel::ui::toQImage(*picture)));
    const char key = quorvel::rootKey(root);
    setRow(Table_weakRoots, r,
           {QString::number(root + 1), key ? QString(QLatin1Char(key)) : QString(), rateText(item),
            meanTimeText(item), QStringLiteral("%1/%2").arg(item.misses).arg(item.tries),
            whenText(item.lastMissed)},
           icon);
    // A screen reader cannot see the picture: it reads the root by number.
    Table_weakRoots->item(r, 0)->setData(Qt::AccessibleTextRole,
                                         QStringLiteral("字根 %1").arg(root + 1));
  }
  auto fill = [&](QTableWidget* table, ItemClass cls) {
    const auto items = store_.weakest(cls, minTries, kListLength);
    table->setRowCount(static_cast<int>(items.size()));
    for (int r = 0; r < static_cast<int>(items.size()); ++r) {
      const ItemStat& item = items[static_cast<std::size_t>(r)];
      setRow(table, r,
             {QString::fromStdString(item.item).trimmed(), rateText(item), meanTimeText(item),
              QStringLiteral("%1/%2").arg(item.misses).arg(item.tries), whenText(item.lastMissed)});
    }
  };
  fill(Table_weakChars, ItemClass::Character);
  fill(Table_weakWords, ItemClass::Word);
}

void TForm_Progress::fillKeyboard() {
  std::array<KeyStat, 26> keys{};
  for (const ItemStat& item : store_.items(ItemClass::Root)) {
    const char key = quorvel::rootKey(QString::fromStdString(item.item).toInt());
    if (key < 'A' || key > 'Z') continue;
    KeyStat& stat = keys[static_cast<std::size_t>(key - 'A')];
    stat.tries += item.tries;
    stat.misses += item.misses;
    // Summing the times weighs each root's mean by how many of its entries were timed.
    stat.msSum += item.msSum;
    stat.timed += item.timed;
  }
  heatMap_->setKeys(keys);

  const auto confusions = store_.confusions(kListLength);
  Table_confusions->setRowCount(static_cast<int>(confusions.size()));
  for (int r = 0; r < static_cast<int>(confusions.size()); ++r) {
    const auto& c = confusions[static_cast<std::size_t>(r)];
    QString expected = QString::fromStdString(c.expected).trimmed();
    QIcon icon;
    if (c.cls == ItemClass::Root) {
      const int root = QString::fromStdString(c.expected).toInt();
      if (root >= 0 && root < quorvel::kRootCount)
        if (const auto& picture = data_.rootPictures[static_cast<std::size_t>(root)])
          icon = QIcon(QPixmap::fromImage(quorvel::ui::toQImage(*picture)));
      expected = QStringLiteral("字根 %1（%2）")
                     .arg(root + 1)
                     .arg(QLatin1Char(quorvel::rootKey(root) ? quorvel::rootKey(root) : '?'));
    }
    QString typed = QString::fromStdString(c.typed);
    if (typed.trimmed().isEmpty()) typed = QStringLiteral("空格");
    setRow(Table_confusions, r, {expected, typed.trimmed(), QString::number(c.count)}, icon);
  }
}

void TForm_Progress::exportCsv() {
  const QString suggested =
      QDir::home().filePath(QStringLiteral("quorvel-%1.csv")
                                .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
  const QString path = saveDialog_ ? saveDialog_(this, suggested) : QString();
  if (path.isEmpty()) return;
  const std::optional<std::string> csv =
      store_.csv([](int kind, const std::string& label) { return quorvel::runName(kind, label); });
  if (!csv) {
    // A header alone would look like an empty history exported.
    RzLabel_message->setText(QStringLiteral("没有导出：练习记录现在无法读取。%1")
                                 .arg(QString::fromStdString(store_.notice())));
    return;
  }
  const auto result = quorvel::platform::writeFileSafely(path.toStdString(), *csv);
  RzLabel_message->setText(
      result.ok
          ? QStringLiteral("已导出到 %1").arg(path)
          : QStringLiteral("无法写入 %1：%2").arg(path, QString::fromStdString(result.reason)));
}

void TForm_Progress::clearHistory() {
  if (!confirm_ ||
      !confirm_(this, QStringLiteral("清除全部练习记录？清除后无法恢复，可先导出 CSV 保存。")))
    return;
  const bool cleared = store_.clear();
  reload();
  RzLabel_message->setText(
      cleared
          ? QStringLiteral("练习记录已清除。")
          : QStringLiteral("练习记录无法清除。%1").arg(QString::fromStdString(store_.notice())));
}
