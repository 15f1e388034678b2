// Runs every registered test class of the desktop program on the offscreen platform.
#include "ui/ui_test_support.h"

#include <QApplication>

int main(int argc, char** argv) {
  // The tests need no display; a run from a desktop session stays off screen as well.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int status = 0;
  for (const auto& make : kelvast::ui::test::TestClasses()) {
    const std::unique_ptr<QObject> tests = make();
    status |= QTest::qExec(tests.get(), argc, argv);
  }
  return status;
}
