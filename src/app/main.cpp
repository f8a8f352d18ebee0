// Quorvel (奎沃): a typing tutor for the 岚川形音输入法.
#include <QApplication>
#include <memory>

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
  tutor->main().showStartUp();
  traceStartup("main window shown");
  return QApplication::exec();
}
