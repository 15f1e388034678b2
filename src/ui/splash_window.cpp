// SPDX-License-Identifier: MIT
#include "ui/splash_window.h"

#include "ui/logo.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace kelvast::ui {

namespace {
constexpr int kWidth = 245;
constexpr int kHeight = 183;
}  // namespace

TFsplash::TFsplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Fsplash"));
  setWindowTitle(QStringLiteral("Kelvast"));
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  // White under dark text whatever the desktop's palette.
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);

  auto* logo = new QLabel(this);
  logo->setPixmap(LogoPicture(96));
  logo->setGeometry(12, 20, 96, 96);
  auto* rows = new QLabel(this);
  rows->setPixmap(RowsPicture(112, 96));
  rows->setGeometry(121, 20, 112, 96);

  FLoading = new QLabel(QStringLiteral("Loading..."), this);
  FLoading->setObjectName(QStringLiteral("lLoading"));
  FLoading->adjustSize();

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

void TFsplash::resizeEvent(QResizeEvent*) {
  // The label sits centred across the window, below the pictures.
  FLoading->move((width() - FLoading->width()) / 2, 140);
}

}  // namespace kelvast::ui
