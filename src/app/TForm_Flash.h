#pragma once
// The splash window shown while the windows are created.
#include <QPixmap>
#include <QWidget>

class QPainter;

#include "platform/ResourceLibrary.h"

class TForm_Flash : public QWidget {
  Q_OBJECT
 public:
  explicit TForm_Flash(const quorvel::platform::ResourceLibrary& library,
                       QWidget* parent = nullptr);
  bool hasTexture() const { return !texture_.isNull(); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void draw(QPainter& p);

  QImage texture_;
  QPixmap icon_;
  QPixmap drawn_;
};
