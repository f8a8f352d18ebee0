#pragma once
// The help viewer: our own window that shows QUORVEL.HLP (an HTML document
// whose topics are anchors named after their context numbers) at a context.
#include <QWidget>
#include <filesystem>

class QKeyEvent;
class QTextBrowser;

class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit HelpViewer(std::filesystem::path programDir, QWidget* parent = nullptr);
  // Opens the help file at a context number and shows the window. A missing
  // or unreadable file shows a message in the window instead.
  void openContext(int context);
  // The help file found by the data search, or empty.
  std::filesystem::path helpFile() const;
  // The context last opened and whether its file could be shown.
  int currentContext() const { return context_; }
  bool fileShown() const { return fileShown_; }

  QTextBrowser* TextBrowser_help = nullptr;

 protected:
  // Esc and Ctrl+W close the window, as in other viewers of the desktop.
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static bool closesWindow(const QKeyEvent& key);
  std::filesystem::path programDir_;
  int context_ = 0;
  bool fileShown_ = false;
};
