#pragma once
// The code hint windows of F1: a character's codes (TForm_Charhelp) and a
// word's code with the codes of its current character (TForm_Wordhelp, in
// its own header). Code letters show as pictures of keyboard keys and text.
#include <array>

#include "data/CodeTypes.h"
#include "platform/ResourceLibrary.h"
#include "ui/Widgets.h"

class TForm_detailhelp;

namespace quorvel::ui {

// The key pictures of a code: letter 1 goes to slot 1 and so on; a
// three-letter code leaves slot 4 empty.
void showCodeKeys(const platform::ResourceLibrary& library, const std::string& code,
                  const std::array<QLabel*, 4>& pictures);

// The character part both hint windows share.
struct CharCodeLabels {
  std::array<QLabel*, 4> keys{};
  QLabel* oneChar = nullptr;
  QLabel* twoChar = nullptr;
  QLabel* threeChar = nullptr;
  QLabel* allChar = nullptr;
  QLabel* split = nullptr;  // the character's roots and keys; none in the word hint
  void fill(const platform::ResourceLibrary& library, const TCharCodes& codes) const;
};
// Where a window puts the four key pictures and the four code-level labels.
struct CharCodePlaces {
  QPoint keys;  // the first key picture; the others follow 80 pixels apart
  QRect oneChar, twoChar, threeChar, allChar;
  QRect split;  // empty: the window shows no split
};
// The character part's named controls, for the windows that show it: the
// key pictures Image_Key1 to Image_Key4 and the code-level labels.
class CharCodeFields {
 public:
  QLabel *Image_Key1 = nullptr, *Image_Key2 = nullptr, *Image_Key3 = nullptr, *Image_Key4 = nullptr;
  QLabel *RzLabel_oneChar = nullptr, *RzLabel_twoChar = nullptr, *RzLabel_threeChar = nullptr,
         *RzLabel_allChar = nullptr;
  QLabel* RzLabel_split = nullptr;

 protected:
  void setUpCharCodeLabels(QWidget* parent, const CharCodePlaces& places);
  CharCodeLabels codeLabels_;
};

QLabel* makeKeyPicture(QWidget* parent, const char* name, int x, int y);
// The four key pictures of a code, named prefix1 to prefix4, 80 pixels apart.
std::array<QLabel*, 4> makeKeyPictures(QWidget* parent, const char* prefix, int x, int y);
// A bold navy heading of a hint window, blinking in blue.
BlinkLabel* makeHeading(QWidget* parent, const char* name, const QRect& geometry);
QLabel* makeCodeLabel(QWidget* parent, const char* name, int x, int y, int w);

// What both code hint windows are: a modal form with the character part, the
// "查询其它" and "关闭" links, closed by any key.
class CodeHintForm : public FormBase, public CharCodeFields {
  Q_OBJECT
 public:
  // "查询其它" closes the hint and opens this lookup window.
  void setLookupWindow(TForm_detailhelp* lookup) { lookup_ = lookup; }

  LinkLabel* RzLabel_query = nullptr;
  LinkLabel* RzLabel_Close = nullptr;

 protected:
  CodeHintForm(const platform::ResourceLibrary& library, QWidget* parent, const char* objectName,
               const QString& caption, QSize client);
  // The two links, at the window's places for them.
  void addLinks(const QRect& query, const QRect& close);
  // FormKeyDown: any key closes the hint.
  void keyPressEvent(QKeyEvent* event) override;

  platform::ResourceLibrary library_;

 private:
  void RzLabel_queryClick();
  TForm_detailhelp* lookup_ = nullptr;
};

}  // namespace quorvel::ui

class TForm_Charhelp : public quorvel::ui::CodeHintForm {
  Q_OBJECT
 public:
  TForm_Charhelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent = nullptr);
  // Fills the window without showing it.
  void fill(const quorvel::TCharCodes& codes);
  void showCharHint(const quorvel::TCharCodes& codes);

  quorvel::ui::BlinkLabel* RzLabel_Char = nullptr;
};
