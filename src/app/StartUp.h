#pragma once
// The start-up sequence: the main window first, then the secondary windows
// in their fixed order, each created once for the life of the program.
#include <functional>
#include <memory>

#include "app/TForm_Main.h"

class QApplication;

// What the application object needs before any window: its names and icon,
// the Song face aliases, the tutor's style (hint delay) and Qt's own
// translations for the user's locale. No display name is set: Qt would add
// it to every window's title.
void prepareApplication(QApplication& app);

class Tutor {
 public:
  // afterEach runs after each window the splash repaints for.
  explicit Tutor(AppEnvironment environment, const std::function<void()>& afterEach = {});
  ~Tutor();
  TForm_Main& main() { return *main_; }
  WindowSet& windows() { return main_->windows(); }

 private:
  std::unique_ptr<TForm_Main> main_;
};
