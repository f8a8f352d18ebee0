#pragma once
// How the tutor ends when the session around it does: SIGTERM (a desktop
// logout), SIGHUP (the terminal gone) and a lost display. The signal handler
// only writes a byte to a pipe; the event loop reads it and quits, so the
// run in progress is recorded on the normal way out. A lost X display makes
// Qt call exit() from inside the event loop: an exit hook records the run
// in progress then, once.
#include <QObject>
#include <functional>

class QSocketNotifier;

class EndSignals : public QObject {
  Q_OBJECT
 public:
  explicit EndSignals(QObject* parent = nullptr);
  ~EndSignals() override;
  // The signal that arrived last, 0 for none.
  int received() const { return received_; }

  // What records the run in progress when the program ends by exit()
  // rather than by returning from main; cleared (empty) once the normal end
  // has recorded it.
  static void setExitRecorder(std::function<void()> recorder);

 signals:
  // SIGTERM or SIGHUP arrived; the handler has done nothing else.
  void endRequested(int signal);

 private:
  void readPipe();
  QSocketNotifier* notifier_ = nullptr;
  int received_ = 0;
};
