// SPDX-License-Identifier: MIT
#include "ui/tabs/about_tab.h"

#include "ui/logo.h"
#include "ui/message_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kelvast::ui {

namespace {
constexpr int kLogoSize = 128;
}

QString VersionText() { return QStringLiteral("Version ") + QStringLiteral(KELVAST_VERSION); }

TAboutTab::TAboutTab(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("tsAbout"));

  FLogoPanel = new QWidget(this);
  FLogoPanel->setObjectName(QStringLiteral("pnLogo"));
  auto* layout = new QVBoxLayout(FLogoPanel);
  layout->setContentsMargins(0, 0, 0, 0);

  FLogo = new QLabel(FLogoPanel);
  FLogo->setPixmap(LogoPicture(kLogoSize));
  FLogo->setFixedSize(kLogoSize, kLogoSize);
  layout->addWidget(FLogo, 0, Qt::AlignHCenter);

  auto* title = new QLabel(AppTitle(), FLogoPanel);
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  title->setFont(big);
  layout->addWidget(title, 0, Qt::AlignHCenter);

  auto* version = new QLabel(VersionText(), FLogoPanel);
  version->setObjectName(QStringLiteral("lVersion"));
  layout->addWidget(version, 0, Qt::AlignHCenter);

  FFrenchHelp = new QCheckBox(QStringLiteral("Use french help"), FLogoPanel);
  FFrenchHelp->setObjectName(QStringLiteral("cbFrenchHelp"));
  layout->addSpacing(12);
  layout->addWidget(FFrenchHelp, 0, Qt::AlignHCenter);
  FLogoPanel->adjustSize();
}

void TAboutTab::resizeEvent(QResizeEvent*) {
  // The panel moves so that the logo picture sits at the centre of the tab.
  const QPoint logoInPanel = FLogo->pos();
  FLogoPanel->move((width() - kLogoSize) / 2 - logoInPanel.x(),
                   (height() - kLogoSize) / 2 - logoInPanel.y());
}

}  // namespace kelvast::ui
