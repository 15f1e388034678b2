// kelvast: the desktop program. The main window comes with the window issue; until then this
// starts an empty Qt application to prove the toolchain.
#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return 0;
}
