#pragma once
// For programs that build the tutor's windows (the window tests, the window
// benchmark): the offscreen platform unless another was asked for, and
// settings, cached tunes and the practice history in folders of their own,
// so the learner's own are never seen or touched. Make it before the QApplication.
#include <QTemporaryDir>
#include <cstdlib>

namespace quorvel::testsupport {

class IsolatedDirs {
 public:
  IsolatedDirs() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", cache_.path().toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", data_.path().toLocal8Bit().constData(), 1);
  }

 private:
  QTemporaryDir config_;
  QTemporaryDir cache_;
  QTemporaryDir data_;
};

}  // namespace quorvel::testsupport
