// kelvast: the desktop program. Shows the splash window, then the main window, and runs until
// the main window closes. "kelvast --screenshots DIR" renders the windows to PNG files instead.
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

namespace {

// Without a display Qt would abort; say what is missing instead.
bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
         !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kelvast::ui;
  // A file that reaches the size limit fails its write, which the run reports after ending the
  // file on a whole record, instead of the signal ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  const bool screenshots = argc == 3 && qstrcmp(argv[1], "--screenshots") == 0;
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

  if (screenshots) return SaveScreenshots(QString::fromLocal8Bit(argv[2]));

  auto* splash = new TFsplash;
  splash->show();
  // Painted now: the window's construction keeps the event loop busy until it is shown.
  splash->repaint();
  QApplication::processEvents();

  TFMain window(TAppPaths::ForRunningProgram());
  window.SetSplash(splash);
  window.show();
  return QApplication::exec();
}
