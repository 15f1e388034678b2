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

// Appends v in plain decimal notation, never with an exponent: rounded to `significant` digits
// (1 to 17), trailing zeros and a trailing separator dropped. Returns the value the text stands
// for, which lies within half a unit of its last digit from v.
//   0.000031 -> "0.000031",  1.5e20 -> "150000000000000000000"
double AppendFloatPlain(TTextBuffer& out, double v, int significant, char decimalSeparator);
// Appends v in plain decimal notation with the fewest significant digits that read back as v.
void AppendFloatShortestPlain(TTextBuffer& out, double v, char decimalSeparator);
// Appends scaled / 10^precision exactly, in plain notation: trailing zeros of the fraction are
// dropped, or, with keepZeros, the fraction always has `precision` digits ("24.00").
void AppendScaledPlain(TTextBuffer& out, int64_t scaled, int32_t precision,
                       char decimalSeparator, bool keepZeros);

}  // namespace kelvast
