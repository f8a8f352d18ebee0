#include "app/StartUp.h"

Tutor::Tutor(AppEnvironment environment, const std::function<void()>& afterEach) {
  environment.afterEachWindow = afterEach;
  main_ = std::make_unique<TForm_Main>(std::move(environment));
}

Tutor::~Tutor() = default;
