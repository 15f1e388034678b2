// SPDX-License-Identifier: MIT
#pragma once
// Fills the core's format settings from a Qt locale: separators, date and time patterns, month
// and day names, AM/PM designators. The program does this once at start with the system locale.

#include "core/platform/format_settings.h"

#include <QLocale>
#include <QString>
#include <string>

namespace kelvast::ui {

TFormatSettings FormatSettingsOf(const QLocale& locale);

// A Qt date-time format ("dd.MM.yyyy", "h:mm AP") in the core's pattern language
// ("dd.mm.yyyy", "h:nn ampm"). Literal text keeps its place, quoted.
std::string CorePattern(const QString& qtFormat);

}  // namespace kelvast::ui
