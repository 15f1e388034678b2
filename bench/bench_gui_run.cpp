// SPDX-License-Identifier: MIT
// A run started from the window, timed: the main window on the offscreen platform loads a model,
// and the Generation tab's "Go !" runs it to CSV through the same handler a user's click reaches,
// with its progress label, bars and event processing. Prints the wall time and records/s, to set
// beside kelvast-cli running the same model (bench/gui_vs_cli.sh).
//
//   bench_gui_run [MODEL] [RECORDS]     defaults: examples/people.model 1000000
#include "core/files/model_file.h"
#include "ui/app_paths.h"
#include "ui/current_model.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/tabs/generation_tab.h"
#include "ui/tabs/generators_tab.h"
#include "ui/tabs/model_info_box.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <exception>

using namespace kelvast;
using namespace kelvast::ui;

namespace {

// Off screen nobody can answer a box: every message goes to stderr, every question gets No, and
// either one means the measurement is void.
class TStderrMessages : public TMessageSeam {
 public:
  void Show(QWidget*, const QString&, const QString& text, TMsgIcon) override {
    std::fprintf(stderr, "bench_gui_run: %s\n", qPrintable(text));
    Shown = true;
  }
  bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                TMsgIcon icon) override {
    Show(parent, caption, text, icon);
    return false;
  }
  bool Shown = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TStderrMessages messages;
  SetMessageSeam(&messages);
  const char* modelFile = argc > 1 ? argv[1] : "examples/people.model";
  const long long records = argc > 2 ? std::atoll(argv[2]) : 1000000;
  if (records < 1 || records > TModelInfoBox::kMaxRecords) {
    std::fprintf(stderr, "usage: bench_gui_run [MODEL] [RECORDS 1..%d]\n", TModelInfoBox::kMaxRecords);
    return 2;
  }

  // A scratch settings file and output folder, so nothing of a real installation is touched.
  QTemporaryDir scratch;
  TFMain window(TAppPaths{scratch.path(), scratch.filePath(QStringLiteral("kelvast.ini"))});
  window.show();
  QApplication::processEvents();

  std::unique_ptr<TGenModel> model;
  try {
    model = LoadModelFile(modelFile);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_gui_run: %s\n", e.what());
    return 1;
  }
  model->SetSQLFile(scratch.filePath(QStringLiteral("out.csv")).toStdString());
  model->SetRecNumber(static_cast<int32_t>(records));
  ReplaceCurrentModel(window.State(), std::move(model));
  window.GeneratorsTab()->ShowModel();

  auto* tab = dynamic_cast<TGenerationTab*>(window.findChild<QWidget*>(QStringLiteral("TabSheet3")));
  auto* go = window.findChild<QPushButton*>(QStringLiteral("bbGenerate"));
  if (!tab || !go) {
    std::fprintf(stderr, "bench_gui_run: the Generation tab was not found\n");
    return 1;
  }
  tab->SetExportFormat(omCsv);

  QElapsedTimer timer;
  timer.start();
  go->click();
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  const qint64 bytes = QFileInfo(scratch.filePath(QStringLiteral("out.csv"))).size();
  if (messages.Shown || bytes <= 0) {
    std::fprintf(stderr, "bench_gui_run: the run failed or wrote nothing\n");
    return 1;
  }
  std::printf("%-22s %8.3f s %12.0f records/s %8.1f MB/s\n", "kelvast window csv", seconds,
              static_cast<double>(records) / seconds, static_cast<double>(bytes) / seconds / 1e6);
  window.State().Model->SetModified(false);
  return 0;
}
