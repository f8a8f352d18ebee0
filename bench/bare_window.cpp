// The yardstick for start-up time: a bare Qt Widgets window of the tutor's
// size, nothing loaded, so bench/startup.sh can say how far the tutor is from
// what Qt itself costs on this machine.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare window"));
  window.resize(800, 600);
  window.show();
  return QApplication::exec();
}
