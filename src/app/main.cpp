// Quorvel (奎沃): a typing tutor for the 岚川形音输入法.
#include <QApplication>
#include <memory>

#include "app/EndSignals.h"
#include "app/StartUp.h"
#include "app/TForm_Flash.h"
#include "platform/StartupTrace.h"

int main(int argc, char* argv[]) {
  using quorvel::platform::traceStartup;
  traceStartup("main");
  QApplication app(argc, argv);
  traceStartup("application");
  prepareApplication(app);
  traceStartup("fonts, style, translations");
  AppEnvironment environment = defaultEnvironment();
  traceStartup("library found");

  std::unique_ptr<Tutor> tutor;
  {
    // The splash and the tutor's set-up read the library through one open,
    // closed before the main window shows.
    const quorvel::platform::ResourceLibrary::Batch startUp(environment.library);
    auto splash = std::make_unique<TForm_Flash>(environment.library);
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    traceStartup("splash shown");

    tutor = std::make_unique<Tutor>(std::move(environment), [&splash] {
      splash->repaint();
      QApplication::processEvents();
    });
  }
  // A logout's SIGTERM, a SIGHUP or a lost display ends the tutor the way
  // closing it does: the run in progress goes to the history.
  EndSignals endSignals;
  QObject::connect(&endSignals, &EndSignals::endRequested, &app, &QApplication::quit);
  EndSignals::setExitRecorder([&tutor] {
    if (tutor) tutor->main().recordRunInProgress();
  });
  tutor->main().showStartUp();
  traceStartup("main window shown");
  const int status = QApplication::exec();
  EndSignals::setExitRecorder({});
  tutor.reset();  // records the run in progress
  return status;
}
