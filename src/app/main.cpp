// Quorvel (奎沃): a typing tutor for the 岚川形音输入法.
#include <QApplication>
#include <memory>

#include "app/StartUp.h"
#include "app/TForm_Flash.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  prepareApplication(app);
  AppEnvironment environment = defaultEnvironment();

  auto splash = std::make_unique<TForm_Flash>(environment.library);
  splash->show();
  splash->repaint();
  QApplication::processEvents();

  Tutor tutor(std::move(environment), [&splash] {
    splash->repaint();
    QApplication::processEvents();
  });
  splash.reset();
  tutor.main().showStartUp();
  return QApplication::exec();
}
