// SPDX-License-Identifier: MIT
#pragma once
// Decimal formatting of reals in the general format: at most 15 significant digits, trailing
// zeros and a trailing separator dropped; scientific notation ("1.5E20", "1E-5") when the integer
// part has more than 15 digits or the magnitude is below 0.0001 (0.0001 itself stays fixed).
// Zero of either sign is "0"; NaN and the infinities are "NAN", "INF" and "-INF".
//   FloatToStr(0.1 + 0.2) -> "0.3",  FloatToStr(1.5e-5) -> "1.5E-5"

#include "core/platform/format_settings.h"
#include "core/platform/text_buffer.h"

#include <cstdint>
#include <string>

namespace kelvast {

void AppendFloatGeneral(TTextBuffer& out, double v, char decimalSeparator);
std::string FloatToStr(double v, const TFormatSettings& fs = FormatSettings());

// Appends scaled / 10^precision in the same general format, straight from the integer's digits,
// and returns true; returns false without writing when the value needs the general formatter
// (more than 15 significant digits, below 0.0001, or precision above 15).
bool AppendScaledDecimal(TTextBuffer& out, int64_t scaled, int32_t precision,
                         char decimalSeparator);

}  // namespace kelvast
