#include "practice/windows/FrameRenderer.h"

#include <QCheckBox>
#include <QLCDNumber>
#include <QLabel>
#include <QProgressBar>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTextEdit>
#include <algorithm>

#include "practice/windows/FrameParts.h"
#include "ui/QtSupport.h"
#include "ui/Widgets.h"

using quorvel::ui::fromGbk;

void FrameRenderer::setMapPicture(QSize size, std::function<QPixmap()> picture) {
  mapSize_ = picture ? size : QSize();
  mapPicture_ = std::move(picture);
  firstRender_ = true;
}

void FrameRenderer::render(const quorvel::FrameView& view) {
  if (!firstRender_ && view.revision == shownRevision_) return;
  const bool all = firstRender_;
  for (std::size_t i = 0; i < view.cells.size(); ++i) {
    const quorvel::CellLabel& cell = view.cells[i];
    quorvel::CellLabel& shown = shown_.cells[i];
    QLabel* label = w_.cells[i];
    if (all || cell.text != shown.text) label->setText(fromGbk(cell.text));
    if (all || cell.text != shown.text || cell.filled != shown.filled ||
        cell.colour != shown.colour) {
      // Right and wrong are said in words too, not by the colour alone.
      QString said = fromGbk(cell.text);
      if (cell.filled && cell.colour == quorvel::colour::Right)
        said += QStringLiteral("，对");
      else if (cell.filled && cell.colour == quorvel::colour::Wrong)
        said += QStringLiteral("，错");
      else if (cell.filled && cell.colour == quorvel::colour::Current)
        said += QStringLiteral("，当前");
      label->setAccessibleName(said);
    }
    if (all || cell.filled != shown.filled || (cell.filled && cell.colour != shown.colour)) {
      if (cell.filled)
        quorvel::ui::setLabelFill(label, true, quorvel::ui::rgb(cell.colour));
      else
        label->setAutoFillBackground(false);
      label->update();
    }
    shown = cell;
  }
  const bool pictureVisible = view.picture.visible;
  if (w_.pictureGrid->isVisible() != pictureVisible) w_.pictureGrid->setVisible(pictureVisible);
  for (QLabel* label : w_.cells)
    if (label->isVisible() == pictureVisible) label->setVisible(!pictureVisible);
  if (pictureVisible) {
    w_.pictureGrid->raise();
    w_.pictureGrid->update();
  }

  auto text = [all](QLabel* label, const std::string& now, std::string& before) {
    if (all || now != before) label->setText(fromGbk(now));
    before = now;
  };
  text(w_.pagesInfo, view.pagesInfo, shown_.pagesInfo);
  std::string upperCode = view.keyplace;
  text(w_.keyplace, upperCode, shown_.keyplace);
  text(w_.wordplace, view.wordplace, shown_.wordplace);
  text(w_.speed, view.speed, shown_.speed);
  text(w_.trainName, view.trainName, shown_.trainName);
  if (all || view.accuracy != shown_.accuracy)
    w_.accuracy->setValue(std::clamp(view.accuracy, 0, 100));
  shown_.accuracy = view.accuracy;
  if (all || view.examClock != shown_.examClock) {
    const QString clockText = fromGbk(view.examClock);
    // Seven cells; the logic never gives a longer text. Screen readers read
    // the accessible name, since the segments are painted.
    w_.examClock->display(clockText);
    w_.examClock->setAccessibleName(clockText);
  }
  shown_.examClock = view.examClock;
  if (w_.examClock->isVisible() != view.examClockVisible)
    w_.examClock->setVisible(view.examClockVisible);
  if (w_.letterMode->isChecked() != view.letterMode) w_.letterMode->setChecked(view.letterMode);
  if (all || view.previewText != shown_.previewText)
    w_.preview->setPlainText(quorvel::ui::withNewlines(fromGbk(view.previewText)));
  shown_.previewText = view.previewText;
  if (all || view.practiceAreaShown != shown_.practiceAreaShown ||
      view.splitterPercent != shown_.splitterPercent) {
    shown_.practiceAreaShown = view.practiceAreaShown;
    shown_.splitterPercent = view.splitterPercent;
    applySplitter();
  }
  if (all || view.imageMapVisible != shown_.imageMapVisible) {
    bool wanted = view.imageMapVisible && hasMapPicture();
    if (wanted && w_.map->pixmap().isNull()) {
      const QPixmap picture = mapPicture_();
      if (picture.isNull())
        mapSize_ = QSize();  // its data does not decode: the map stays hidden
      else
        w_.map->setPixmap(picture);
      wanted = hasMapPicture();
    }
    if (w_.map->isVisible() != wanted) w_.map->setVisible(wanted);
  }
  shown_.imageMapVisible = view.imageMapVisible;
  shownRevision_ = view.revision;
  firstRender_ = false;
}

void FrameRenderer::applySplitter() {
  const int total = std::max(0, w_.textSplitter->width() - w_.textSplitter->handleWidth());
  // A side pushed to nothing hides what it holds, so that assistive
  // technology and Tab do not find controls no one can see.
  auto showSide = [this](int index, bool shown) {
    if (QWidget* side = w_.textSplitter->widget(index))
      for (QWidget* part : side->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (part->isVisibleTo(side) != shown) part->setVisible(shown);
  };
  if (shown_.practiceAreaShown) {
    showSide(0, false);
    showSide(1, true);
    w_.textSplitter->setSizes({0, std::max(total, 1)});
  } else {
    const int percent = std::clamp(shown_.splitterPercent, 0, 100);
    const int left = total * percent / 100;
    showSide(0, left > 0);
    showSide(1, total - left > 0);
    w_.textSplitter->setSizes({left, total - left});
  }
  if (QSplitterHandle* handle = w_.textSplitter->handle(1)) handle->update();
}
