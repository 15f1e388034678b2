// SPDX-License-Identifier: MIT
// Runs the Qt Test classes of the parameter pages and the editor dialogs in one executable.
// Test functions named on the command line run only in the classes that have them.
#include <QApplication>
#include <QLocale>
#include <QMetaObject>
#include <QTest>
#include <memory>
#include <vector>

std::unique_ptr<QObject> NewDialogsTest();
std::unique_ptr<QObject> NewParamPagesTest();
std::unique_ptr<QObject> NewUniquePageTest();

namespace {

bool HasNamedFunctions(const QObject& test, int argc, char** argv) {
  bool named = false;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') return true;  // options apply to every class
    named = true;
    const QByteArray function = QByteArray(argv[i]).split(':').first();
    if (test.metaObject()->indexOfMethod(function + "()") >= 0) return true;
  }
  return !named;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Number and date texts in the tests are written for this locale; one test switches to a
  // decimal comma on purpose.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  std::vector<std::unique_ptr<QObject>> tests;
  tests.push_back(NewDialogsTest());
  tests.push_back(NewParamPagesTest());
  tests.push_back(NewUniquePageTest());
  int failures = 0;
  for (const auto& test : tests)
    if (HasNamedFunctions(*test, argc, argv)) failures += QTest::qExec(test.get(), argc, argv);
  return failures;
}
