// SPDX-License-Identifier: MIT
// Runs the registered test classes of the desktop program on the offscreen platform.
//
//   ui_tests                    every class
//   ui_tests --shard=2/3 [...]  every third class, starting with the second (ctest runs the
//                               shards side by side)
//   ui_tests --class=TKeyboardTest mnemonicsNeverClash
//                               one class; what follows goes to Qt Test as usual
#include "ui/ui_test_support.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

struct TSelection {
  int Shard = 1;
  int Shards = 1;
  std::string_view ClassName;
};

// Takes the selection options out of argv, leaving Qt Test's own.
TSelection TakeSelection(int& argc, char** argv) {
  TSelection s;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with("--shard=")) {
      if (std::sscanf(argv[i] + 8, "%d/%d", &s.Shard, &s.Shards) != 2 || s.Shards < 1 ||
          s.Shard < 1 || s.Shard > s.Shards) {
        std::fprintf(stderr, "--shard takes K/N with 1 <= K <= N\n");
        std::exit(2);
      }
    } else if (arg.starts_with("--class=")) {
      s.ClassName = arg.substr(8);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  // The tests need no display; a run from a desktop session stays off screen as well.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const TSelection selection = TakeSelection(argc, argv);
  QApplication app(argc, argv);
  int status = 0;
  int index = 0;
  bool ranAny = false;
  for (const auto& make : kelvast::ui::test::TestClasses()) {
    const bool inShard = index++ % selection.Shards == selection.Shard - 1;
    if (!inShard) continue;
    const std::unique_ptr<QObject> tests = make();
    const std::string_view name = tests->metaObject()->className();
    if (!selection.ClassName.empty() && !name.ends_with(selection.ClassName)) continue;
    ranAny = true;
    status |= QTest::qExec(tests.get(), argc, argv);
  }
  if (!ranAny) {
    std::fprintf(stderr, "no test class selected\n");
    return 2;
  }
  return status;
}
