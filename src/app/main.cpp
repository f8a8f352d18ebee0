// Quorvel (奎沃): a typing tutor for the 岚川形音输入法.
#include <QApplication>
#include <QIcon>
#include <memory>

#include "app/StartUp.h"
#include "app/TForm_Flash.h"
#include "ui/Glyphs.h"
#include "ui/QtSupport.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  quorvel::ui::installFontSubstitutions();
  AppEnvironment environment = defaultEnvironment();

  auto splash = std::make_unique<TForm_Flash>(environment.library);
  splash->show();
  splash->repaint();
  QApplication::processEvents();

  QApplication::setApplicationName(QStringLiteral("Quorvel"));
  QApplication::setOrganizationName(QStringLiteral("Marrowby"));
  QApplication::setWindowIcon(QIcon(quorvel::glyphs::programIcon(64)));
  QApplication::setApplicationDisplayName(QStringLiteral("奎沃/Quorvel"));

  Tutor tutor(std::move(environment), [&splash] {
    splash->repaint();
    QApplication::processEvents();
  });
  splash.reset();
  tutor.main().showStartUp();
  return QApplication::exec();
}
