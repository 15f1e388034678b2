// SPDX-License-Identifier: MIT
// kelvast: the desktop program. Shows the splash window, then the main window, and runs until
// the main window closes. "kelvast FILE" opens a model (.model, .json) or a plan (.plan);
// "kelvast --screenshots DIR" renders the windows to PNG files instead; --help and --version
// print and exit without a display.
#include "core/platform/format_settings.h"
#include "ui/app_paths.h"
#include "ui/locale_format.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/screenshots.h"
#include "ui/splash_window.h"

#include <QApplication>
#include <QLocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

// Without a display Qt would abort; say what is missing instead.
bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
         !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

constexpr const char* kUsage =
    "Usage: kelvast [FILE]\n"
    "       kelvast --screenshots DIR\n"
    "Kelvast: test data for relational databases. Opens the window, with FILE when given: a\n"
    "model (.model, or its JSON form .json) or a plan (.plan).\n"
    "\n"
    "  -h, --help             print this help and exit\n"
    "  --version              print the version and exit\n"
    "  --screenshots DIR      render the windows and tabs to DIR/*.png, off screen\n"
    "\n"
    "kelvast-cli runs models and plans without a window: kelvast-cli --help.\n";

// What the command line asks for, read before Qt starts so that --help needs no display.
struct TArguments {
  std::optional<int> ExitStatus;  // print-and-exit requests and usage errors
  bool Screenshots = false;
  QString Folder;                 // --screenshots DIR
  QString File;                   // the model or plan to open
};

TArguments ReadArguments(int argc, char** argv) {
  TArguments a;
  const auto usageError = [&a](const std::string& message) {
    std::fprintf(stderr, "kelvast: %s\n%s", message.c_str(), kUsage);
    a.ExitStatus = 2;
    return a;
  };
  bool operandsOnly = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (!operandsOnly && (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)) {
      std::fputs(kUsage, stdout);
      a.ExitStatus = 0;
      return a;
    }
    if (!operandsOnly && std::strcmp(arg, "--version") == 0) {
      std::printf("kelvast %s\n", KELVAST_VERSION);
      a.ExitStatus = 0;
      return a;
    }
    if (!operandsOnly && std::strcmp(arg, "--screenshots") == 0) {
      if (i + 1 >= argc) return usageError("--screenshots needs a folder");
      a.Screenshots = true;
      a.Folder = QString::fromLocal8Bit(argv[++i]);
    } else if (!operandsOnly && std::strcmp(arg, "--") == 0) {
      operandsOnly = true;
    } else if (!operandsOnly && arg[0] == '-' && arg[1] != '\0') {
      return usageError(std::string("unknown option ") + arg);
    } else if (a.File.isEmpty()) {
      a.File = QString::fromLocal8Bit(arg);
    } else {
      return usageError("one file at a time");
    }
  }
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kelvast::ui;
  // A file that reaches the size limit fails its write, which the run reports after ending the
  // file on a whole record, instead of the signal ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  const TArguments arguments = ReadArguments(argc, argv);
  if (arguments.ExitStatus) return *arguments.ExitStatus;
  const bool screenshots = arguments.Screenshots;
  if (screenshots && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "kelvast: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                 "Start it from a desktop session, or under a virtual display: xvfb-run -a %s\n",
                 argv[0]);
    return 1;
  }

  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("kelvast"));
  QCoreApplication::setApplicationVersion(QStringLiteral(KELVAST_VERSION));
  kelvast::FormatSettings() = FormatSettingsOf(QLocale::system());

  if (screenshots) return SaveScreenshots(arguments.Folder);

  auto* splash = new TFsplash;
  splash->show();
  // Painted now: the window's construction keeps the event loop busy until it is shown.
  splash->repaint();
  QApplication::processEvents();

  TFMain window(TAppPaths::ForRunningProgram());
  window.SetSplash(splash);
  window.show();
  if (!arguments.File.isEmpty()) window.OpenFile(arguments.File);
  return QApplication::exec();
}
