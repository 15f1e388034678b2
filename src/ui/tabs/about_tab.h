// SPDX-License-Identifier: MIT
#pragma once
// TAboutTab, the "About..." tab: the logo, the program's title and version, and the help
// language switch "Use french help".

#include <QWidget>

class QCheckBox;
class QLabel;

namespace kelvast::ui {

class TAboutTab : public QWidget {
 public:
  explicit TAboutTab(QWidget* parent = nullptr);

  QCheckBox* FrenchHelpBox() const { return FFrenchHelp; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* FLogoPanel;
  QLabel* FLogo;
  QCheckBox* FFrenchHelp;
};

// The version label's text: "Version " and the project version.
QString VersionText();

}  // namespace kelvast::ui
