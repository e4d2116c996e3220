// The yardstick for start-up figures: a bare Qt window of the main window's size, shown at once.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("BareWindow"));
  window.resize(800, 480);
  window.show();
  return app.exec();
}
