// SPDX-License-Identifier: MIT
#pragma once
// Shared by the desktop program's tests: registration of test classes, recorders that answer
// message boxes and file dialogs, and a main window over a scratch folder.

#include "ui/file_dialogs.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kelvast::ui::test {

// Test classes register themselves with KELVAST_UI_TEST(Class); the test main runs them all.
using TTestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TTestFactory>& TestClasses();
struct TRegisterTests {
  explicit TRegisterTests(TTestFactory make) { TestClasses().push_back(std::move(make)); }
};
#define KELVAST_UI_TEST(Class)                                    \
  static const ::kelvast::ui::test::TRegisterTests kTests##Class( \
      [] { return std::unique_ptr<QObject>(new Class); });

// Records every message box and answers the Yes/No ones from Answers (No when it runs out,
// No being the default button).
class TMessageRecorder : public TMessageSeam {
 public:
  struct TShown {
    QString Caption;
    QString Text;
    TMsgIcon Icon;
    bool HasOwner;
    bool YesNo;
  };

  TMessageRecorder() { SetMessageSeam(this); }
  ~TMessageRecorder() override { SetMessageSeam(nullptr); }

  void Show(QWidget* parent, const QString& caption, const QString& text, TMsgIcon icon) override {
    Shown.push_back({caption, text, icon, parent != nullptr, false});
  }
  bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                TMsgIcon icon) override {
    Shown.push_back({caption, text, icon, parent != nullptr, true});
    return Answers.isEmpty() ? false : Answers.takeFirst();
  }

  QStringList Texts() const {
    QStringList out;
    for (const TShown& s : Shown)
      out << s.Text;
    return out;
  }

  QList<TShown> Shown;
  QList<bool> Answers;
};

// Records every file dialog and answers it with Answer (empty: cancelled).
class TFileDialogRecorder : public TFileDialogSeam {
 public:
  TFileDialogRecorder() { SetFileDialogSeam(this); }
  ~TFileDialogRecorder() override { SetFileDialogSeam(nullptr); }
  QString Run(QWidget*, const TFileDialogRequest& request) override {
    Requests.push_back(request);
    return Answer;
  }
  QList<TFileDialogRequest> Requests;
  QString Answer;
};

// A main window whose settings file and program folder are a scratch folder (the "bin" folder of
// a scratch installation prefix), shown off screen. The settings file may be given a content first.
class TWindowFixture {
 public:
  explicit TWindowFixture(const QByteArray& iniText = {});
  ~TWindowFixture();

  TFMain& Window() { return *FWindow; }
  QString Dir() const { return FDir.filePath(QStringLiteral("bin")); }
  QString SettingsFile() const { return Dir() + QStringLiteral("/kelvast.ini"); }
  // Destroys the window (saving its state when closing did not).
  void Destroy() { FWindow.reset(); }

  // The control of that object name and class; throws, failing the test, when there is none.
  template <class T>
  T* Find(const char* name) const {
    T* found = FWindow->findChild<T*>(QLatin1String(name));
    if (!found) throw std::runtime_error(std::string("no control named ") + name);
    return found;
  }

 private:
  QTemporaryDir FDir;
  std::unique_ptr<TFMain> FWindow;
};

// The small reference word lists of the test data.
std::filesystem::path SmallDictFolder();

// Runs statements on an SQLite file, creating the file when it is missing.
void RunSql(const QString& db, std::initializer_list<const char*> statements);

// Lets the application run until it has nothing left to do (the moment it calls idle).
void ProcessUntilIdle();

// The [FMain] section of an INI file as key -> raw value text.
QMap<QString, QString> IniSection(const QString& fileName);

}  // namespace kelvast::ui::test
