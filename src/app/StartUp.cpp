#include "app/StartUp.h"

#include <QApplication>
#include <QIcon>

#include "ui/Glyphs.h"
#include "ui/Look.h"
#include "ui/QtSupport.h"

void prepareApplication(QApplication& app) {
  quorvel::ui::installFontSubstitutions();
  QApplication::setApplicationName(QStringLiteral("Quorvel"));
  QApplication::setOrganizationName(QStringLiteral("Marrowby"));
  QApplication::setWindowIcon(QIcon(quorvel::glyphs::programIcon(64)));
  quorvel::ui::installTutorStyle();
  quorvel::ui::installQtTranslations(app);
}

Tutor::Tutor(AppEnvironment environment, const std::function<void()>& afterEach) {
  environment.afterEachWindow = afterEach;
  main_ = std::make_unique<TForm_Main>(std::move(environment));
}

Tutor::~Tutor() = default;
