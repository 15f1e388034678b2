// SPDX-License-Identifier: MIT
#include "core/platform/format_settings.h"

namespace kelvast {

TFormatSettings& FormatSettings() {
  // A function-local static is built on first use, so generators that run during static
  // initialisation of other units still see initialised settings.
  static TFormatSettings settings;
  return settings;
}

}  // namespace kelvast
