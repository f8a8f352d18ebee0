#include "textpractice/windows/TForm_Selfile.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTextEdit>

#include "textpractice/windows/PracticeTextPreview.h"

TForm_Selfile::TForm_Selfile(QWidget* parent)
    : TextFileDialog(parent, "Form_Selfile", QStringLiteral("选择对照文件"), QSize(366, 211),
                     Places{QRect(7, 11, 114, 20), QRect(8, 12, 112, 18), QPoint(10, 42),
                            QRect(55, 42, 304, 16), QRect(8, 59, 351, 122), QRect(232, 186, 56, 20),
                            QRect(301, 186, 56, 20)},
                     QStringLiteral("选择文件"), "RzLabel_Ok",
                     quorvel::textpractice::previewPracticeText) {
  RzLabel_Ok = okLabel();
  connect(RzLabel_Ok, &quorvel::ui::LinkLabel::clicked, this, &TForm_Selfile::RzLabel_OkClick);
  auto* dragger = new quorvel::ui::WindowDragger(this);
  dragger->watch(this);
  dragger->watch(RzLabel_SelFileName);
  dragger->watch(RzLabel2);
}

void TForm_Selfile::keyPressEvent(QKeyEvent* event) {
  // Keys the read-only preview does not use arrive here as well.
  if (event->key() == Qt::Key_Escape)
    RzLabel_CancelClick();
  else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    RzLabel_OkClick();
  else
    event->accept();  // typing into the preview goes nowhere
}
