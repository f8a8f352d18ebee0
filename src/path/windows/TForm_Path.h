#pragma once
// The learning-path window: the stages with how far the learner is in each
// (mastered / seen / total, due for review), the items due today, the
// learner's speed against the target, the targets themselves, and the one
// button that starts the next session (F7 does the same from the main
// window). After a session it says what changed. It reads the history each
// time it is shown and keeps nothing of its own but the standing before the
// session that runs, to tell the difference.
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "data/SessionPlan.h"
#include "path/LearningPath.h"
#include "platform/Clock.h"
#include "ui/Widgets.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace quorvel::platform {
class Registry;
}

class TForm_Path : public quorvel::ui::FormBase {
  Q_OBJECT
 public:
  // settings: where the learner's targets are kept (null: defaults only).
  TForm_Path(quorvel::history::HistoryStore& store, const quorvel::PracticeData& data,
             std::vector<std::string> textFiles, quorvel::platform::Registry* settings,
             const quorvel::platform::Clock& clock, QWidget* parent = nullptr);
  ~TForm_Path() override;

  // Reads the history again and shows the window.
  void showPath();
  void reload();
  // Plans the next session and asks for it to start (the button and F7).
  void startNext();
  // Plans a test of the stage being learned and asks for it to start.
  void startTest();
  // A session of the path was recorded: the window shows what it changed.
  void sessionEnded();

  const quorvel::path::LearningPath& path() const { return *path_; }
  const quorvel::path::Standing& standing() const { return standing_; }
  const quorvel::path::Targets& targets() const { return targets_; }
  void setTarget(quorvel::path::Group group, int ms);

  // What the window shows, for the tests and a screen reader.
  QTableWidget* stages() const { return Table_stages; }
  QLabel* current() const { return RzLabel_current; }
  QLabel* due() const { return RzLabel_due; }
  QLabel* speed() const { return RzLabel_speed; }
  QLabel* summary() const { return RzLabel_summary; }
  QPushButton* nextButton() const { return Button_next; }
  QPushButton* testButton() const { return Button_test; }

 signals:
  // A session was planned: the main window hands it to the practice frame.
  void startSession(const quorvel::SessionPlan& plan);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void readTargets();
  void fill();
  int today() const;
  void begin(quorvel::SessionPlan plan);

  quorvel::history::HistoryStore& store_;
  std::unique_ptr<quorvel::path::LearningPath> path_;
  quorvel::platform::Registry* settings_;
  const quorvel::platform::Clock& clock_;
  quorvel::platform::RandomSource random_;
  quorvel::path::Targets targets_ = quorvel::path::Targets::defaults();
  quorvel::path::Standing standing_;
  std::optional<quorvel::path::Standing> before_;  // when the session that runs began
  std::set<std::string> sessionItems_;             // what that session typed

  QLabel* RzLabel_current = nullptr;
  QLabel* RzLabel_speed = nullptr;
  QLabel* RzLabel_due = nullptr;
  QLabel* RzLabel_summary = nullptr;
  QTableWidget* Table_stages = nullptr;
  std::array<QDoubleSpinBox*, quorvel::path::kGroupCount> SpinBox_targets{};
  QPushButton* Button_next = nullptr;
  QPushButton* Button_test = nullptr;
};
