#pragma once
// The part the practice-file chooser and the test settings dialog share: a
// "选择文件" button face that runs the open-file dialog, the chosen path, a
// preview of the file, and the OK and Cancel link labels. The choice survives
// between uses.
#include <QRect>
#include <functional>

#include "ui/Widgets.h"

class QTextEdit;

namespace quorvel::ui {

class TextFileDialog : public FormBase {
  Q_OBJECT
 public:
  // The open-file dialog; replaceable so a test can answer it.
  void setOpenDialog(std::function<QString(QWidget*)> dialog) { openDialog_ = std::move(dialog); }
  // What a file picked in the open dialog does: name, path label, preview.
  void pickFile(const QString& path);
  const QString& fileName() const { return FFileName; }

  QLabel* RzLabel_SelFile = nullptr;
  TransparentButton* RzToolbarButton_SelFile = nullptr;
  QLabel* RzLabel_SelFileName = nullptr;
  QTextEdit* RzMemo_PreView = nullptr;
  LinkLabel* RzLabel_Ok = nullptr;
  LinkLabel* RzLabel_Cancel = nullptr;

 protected:
  // Where the shared controls sit in each dialog.
  struct Places {
    QRect face, button, fileName, preview, ok, cancel;
  };
  TextFileDialog(QWidget* parent, const char* objectName, const QString& caption, QSize client,
                 const Places& places);
  // Shows the dialog modally; the chosen file when accepted, else empty.
  QString runChooser();
  // Closes the dialog, accepted only when a file was chosen.
  void finish(bool accepted);
  void RzToolbarButton_SelFileClick();

  QString FFileName;
  bool FAccepted = false;

 private:
  std::function<QString(QWidget*)> openDialog_;
};

}  // namespace quorvel::ui
