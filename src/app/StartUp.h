#pragma once
// The start-up sequence: the main window first, then the secondary windows
// in their fixed order, each created once for the life of the program.
#include <functional>
#include <memory>

#include "app/TForm_Main.h"

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
