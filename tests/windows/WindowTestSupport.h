#pragma once
// Helpers of the window tests: building the tutor on a chosen resource
// library, answering modal dialogs, and reading what the frame shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/StartUp.h"
#include "platform/ResourceLibrary.h"
#include "practice/PracticeFrame.h"
#include "practice/windows/TFrame_Veduzir.h"
#include "support/FixtureLibrary.h"
#include "ui/QtSupport.h"

namespace quorvel::windowtests {

// The resource library the build made, when it is there.
inline std::filesystem::path builtLibrary() {
  const std::filesystem::path file(QUORVEL_BUILT_LIBRARY);
  std::error_code ec;
  return std::filesystem::exists(file, ec) ? file : std::filesystem::path();
}

// A music output that plays nothing and records what it was asked to do.
class RecordingMusic : public ui::MusicOutput {
 public:
  bool playLooped(const std::filesystem::path& midiFile) override {
    played.push_back(midiFile);
    return true;
  }
  void close() override { ++closes; }
  std::vector<std::filesystem::path> played;
  int closes = 0;
};
// The one the tests use unless they watch the music themselves.
inline RecordingMusic& quietMusic() {
  static RecordingMusic music;
  return music;
}

// Settings of the tests' own screen: wide enough for the normal start, and
// no sound.
inline AppEnvironment environmentWith(const std::filesystem::path& library,
                                      const std::filesystem::path& programDir) {
  AppEnvironment environment;
  environment.programDir = programDir;
  environment.library =
      library.empty() ? platform::ResourceLibrary() : platform::ResourceLibrary(library);
  environment.screenWidth = 1280;
  environment.music = &quietMusic();
  return environment;
}

// Runs `answer` on the next modal window that opens, then makes sure it
// closes. The window's object name is recorded for the test to check.
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(QWidget*)> answer = {})
      : state_(std::make_shared<State>()) {
    state_->answer = std::move(answer);
    schedule(state_);
  }
  ~ModalAnswer() { state_->done = true; }
  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;
  QString seen() const { return state_->seen; }

 private:
  struct State {
    std::function<void(QWidget*)> answer;
    QString seen;
    int tries = 0;
    bool done = false;
  };
  static void schedule(std::shared_ptr<State> state) {
    QTimer::singleShot(0, [state] {
      if (state->done) return;
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) {
        if (++state->tries < 50) schedule(state);
        return;
      }
      state->done = true;
      state->seen = modal->objectName();
      if (state->answer) state->answer(modal);
      if (modal->isVisible()) modal->close();
    });
  }
  std::shared_ptr<State> state_;
};

inline QString text(const QLabel* label) { return label ? label->text() : QString(); }

// A child widget found by its object name, as a screen reader would name it.
template <typename T = QWidget>
T* named(const QObject* root, const char* name) {
  return root ? root->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}
// The caption label or the transparent button of a selection-panel row,
// by the row's tag.
template <typename T>
T* selectionRow(const QObject* root, int tag) {
  const QObject* panel = named(root, "RzPanel_BtnPanel");
  if (!panel) return nullptr;
  for (T* w : panel->findChildren<T*>())
    if (w->property("tag").isValid() && w->property("tag").toInt() == tag) return w;
  return nullptr;
}

// The tutor built the way start-up builds it, with helpers to find its parts.
class TutorFixture : public ::testing::Test {
 protected:
  // Builds on a library file (empty: none); `adjust` may change the
  // environment first. The program directory is the library's or a new one.
  void buildTutor(const std::filesystem::path& library = {},
                  const std::function<void(AppEnvironment&)>& adjust = {}) {
    AppEnvironment environment =
        environmentWith(library, library.empty() ? empty.path() : library.parent_path());
    if (adjust) adjust(environment);
    tutor = std::make_unique<Tutor>(std::move(environment));
    frame = tutor->main().frame();
  }
  void buildAndShow(const std::filesystem::path& library = {}) {
    buildTutor(library);
    tutor->main().show();
    QApplication::processEvents();
  }
  template <typename T = QWidget>
  T* child(const char* name) const {
    return named<T>(&tutor->main(), name);
  }
  QString trainName() const { return text(child<QLabel>("RzLabel_TrainName")); }
  QString wordplace() const { return text(child<QLabel>("RzLabel_wordplace")); }

  testsupport::TempDir empty;
  std::unique_ptr<Tutor> tutor;
  TFrame_Veduzir* frame = nullptr;
};

}  // namespace quorvel::windowtests
