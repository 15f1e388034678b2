// SPDX-License-Identifier: MIT
#pragma once
// The application-wide hint switch. Hints are tooltips: while the switch is off no tooltip shows
// but those of icon buttons, which name what the button does; while it is on, tooltips show on
// the light blue hint colour and disappear after 3 seconds.

#include <QObject>

class QWidget;

namespace kelvast::ui {

// True for a button that shows an icon, an arrow or a single symbol instead of words.
bool IsIconButton(const QWidget* widget);

class THintSwitch : public QObject {
 public:
  // Installs itself on the application; hints start switched on.
  explicit THintSwitch(QObject* parent = nullptr);
  ~THintSwitch() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool on) { FEnabled = on; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool FEnabled = true;
};

}  // namespace kelvast::ui
