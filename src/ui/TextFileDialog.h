#pragma once
// The part the practice-file chooser and the test settings dialog share: a
// button face that runs the open-file dialog, the chosen path, a preview of
// the file, and the OK and Cancel link labels. The choice survives between
// uses.
#include <QRect>
#include <functional>

#include "ui/Widgets.h"

class QCheckBox;
class QTextEdit;

namespace quorvel::ui {

// What the preview shows of a file: its text as it will be practised, or
// why it cannot be read.
struct FilePreview {
  bool ok = false;
  QString text;
  QString error;
  // The text with its traditional characters in simplified ones; empty when
  // it holds none (or they cannot be converted).
  QString simplifiedText;
  bool traditional = false;  // it reads as a text in traditional characters
};
using FileReader = std::function<FilePreview(const QString& path)>;

class TextFileDialog : public FormBase {
  Q_OBJECT
 public:
  // The open-file dialog, given the folder to start in; replaceable so a test
  // can answer it. Returns the picked path, or empty when cancelled.
  using OpenDialog = std::function<QString(QWidget* parent, const QString& startDir)>;
  void setOpenDialog(OpenDialog dialog) { openDialog_ = std::move(dialog); }
  // Where the open dialog starts while no file has been chosen yet: the
  // practice texts that come with the program.
  void setTextsDirectory(const QString& dir) { textsDir_ = dir; }
  // The folder the open dialog would start in now.
  QString startDirectory() const;
  // What a file picked in the open dialog does. A readable file becomes the
  // choice: name, path label, preview. An unreadable one is refused with the
  // reason in the path label and a beep; the earlier choice stays. Returns
  // whether the file was taken.
  bool pickFile(const QString& path);
  const QString& fileName() const { return FFileName; }
  // Whether the chosen text is to be practised in simplified characters: the
  // learner's choice, offered when the text holds traditional ones and made
  // for the learner when it reads as a traditional text.
  bool simplified() const;

  QLabel* RzLabel_SelFile = nullptr;
  TransparentButton* RzToolbarButton_SelFile = nullptr;
  QLabel* RzLabel2 = nullptr;
  QLabel* RzLabel_SelFileName = nullptr;
  QTextEdit* RzMemo_PreView = nullptr;
  LinkLabel* RzLabel_Cancel = nullptr;
  QCheckBox* CheckBox_Simplified = nullptr;

 protected:
  // Where the shared controls sit in each dialog, and the two names that
  // differ between them.
  struct Places {
    QRect face, button;
    QPoint previewCaption;
    QRect fileName, preview, ok, cancel;
  };
  TextFileDialog(QWidget* parent, const char* objectName, const QString& caption, QSize client,
                 const Places& places, const QString& faceCaption, const char* okName,
                 FileReader reader);
  // Shows the dialog modally; the chosen file when accepted, else empty.
  QString runChooser();
  // Closes the dialog, accepted only when a file was chosen.
  void finish(bool accepted);
  void RzToolbarButton_SelFileClick();
  LinkLabel* okLabel() const { return okLabel_; }

  QString FFileName;
  bool FAccepted = false;

 private:
  void showChosenName();
  void showPreview();

  OpenDialog openDialog_;
  FileReader reader_;
  QString textsDir_;
  FilePreview preview_;  // of the chosen file
  LinkLabel* okLabel_ = nullptr;
};

}  // namespace quorvel::ui
