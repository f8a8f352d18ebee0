// The window tests' own main: a QApplication on the offscreen platform, a
// private settings folder, and a guard that closes any modal dialog a test
// leaves open, so that no test can hang.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "support/IsolatedDirs.h"
#include "ui/QtSupport.h"

namespace {

class ModalGuard : public QObject {
 public:
  explicit ModalGuard(QObject* parent) : QObject(parent) {
    auto* timer = new QTimer(this);
    timer->setInterval(250);
    connect(timer, &QTimer::timeout, this, [this] { check(); });
    timer->start();
  }

 private:
  void check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal != seen_) {
      seen_ = modal;
      ticks_ = 0;
      return;
    }
    // Open for two seconds without anyone answering it: a test forgot it.
    if (++ticks_ >= 8) {
      ADD_FAILURE() << "modal window left open: " << modal->objectName().toStdString();
      modal->close();
      seen_ = nullptr;
      ticks_ = 0;
    }
  }
  QPointer<QWidget> seen_;
  int ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const quorvel::testsupport::IsolatedDirs dirs;
  QApplication app(argc, argv);
  quorvel::ui::installFontSubstitutions();
  new ModalGuard(&app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
