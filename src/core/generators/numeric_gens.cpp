// SPDX-License-Identifier: MIT
#include "core/generators/numeric_gens.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "core/platform/decimal_digits.h"
#include "core/platform/errors.h"
#include "core/platform/float_format.h"
#include "core/platform/format_settings.h"
#include "core/generators/unique_values.h"
#include "core/platform/random.h"

namespace kelvast {

// ---- TCPInteger ----

const TPropList& TCPInteger::IntegerProps() {
  using C = TCPInteger;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       IntProp<C>("MinValue", &C::MinValue, &C::SetMinValue),
                       IntProp<C>("MaxValue", &C::MaxValue, &C::SetMaxValue),
                       IntProp<C>("Sign", &C::Sign, &C::SetSign),
                       EnumProp<C, TExportType>("ExportType", kExportTypeIdents, &C::ExportType,
                                                &C::SetExportType),
                   });
  return kProps;
}

const TPropList& TCPInteger::Props() const { return IntegerProps(); }

void TCPInteger::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPInteger*>(&source)) {
    FMinValue = s->FMinValue;
    FMaxValue = s->FMaxValue;
    FSign = s->FSign;
  }
}

void TCPInteger::DoGenerate(TTextBuffer& out) {
  // Every integer of the range is equally likely; bounds given the other way round are taken
  // swapped.
  const int64_t low = std::min(FMinValue, FMaxValue);
  const int64_t high = std::max(FMinValue, FMaxValue);
  int64_t v = GlobalRandom().Between(low, high);
  if (FSign > 0) v = v < 0 ? -v : v;
  else if (FSign < 0 && v > 0) v = -v;
  AppendDecimal(out, v);
}

namespace {
// The bounds of the values an integer generator writes: the range, or its magnitudes under a
// sign rule (positive: |v|; negative: -|v|).
void WrittenBounds(int32_t min, int32_t max, int32_t sign, int64_t& first, int64_t& last) {
  const int64_t low = std::min(min, max);
  const int64_t high = std::max(min, max);
  if (sign == 0) {
    first = low;
    last = high;
    return;
  }
  const int64_t smallest = low > 0 ? low : high < 0 ? -high : 0;
  const int64_t largest = std::max(-low, high);
  first = sign > 0 ? smallest : -largest;
  last = sign > 0 ? largest : -smallest;
}
}  // namespace

TUniqueSpace TCPInteger::UniqueSpace() const {
  int64_t first, last;
  WrittenBounds(FMinValue, FMaxValue, FSign, first, last);
  return {true, static_cast<TUniqueCount>(last - first + 1), false,
          GroupedDigits(first) + " to " + GroupedDigits(last)};
}

void TCPInteger::AppendUniqueValue(TTextBuffer& out, TUniqueCount index) {
  int64_t first, last;
  WrittenBounds(FMinValue, FMaxValue, FSign, first, last);
  AppendDecimal(out, first + static_cast<int64_t>(index));
}

// ---- TCPIncremental ----

const TPropList& TCPIncremental::Props() const {
  using C = TCPIncremental;
  static const TPropList kProps = TPropList::Extend(
      IntegerProps(), {
                          IntProp<C>("StartValue", &C::StartValue, &C::SetStartValue),
                          IntProp<C>("Step", &C::Step, &C::SetStep, 1),
                          IntProp<C>("Current", &C::Current, &C::SetCurrent),
                      });
  return kProps;
}

void TCPIncremental::Prepare(const TGenContext& context) {
  TCPInteger::Prepare(context);
  FCurrent = FStartValue;
}

TUniqueSpace TCPIncremental::UniqueSpace() const {
  const int64_t start = FStartValue;
  const int64_t step = FStep;
  if (step == 0) return {true, 1, true, GroupedDigits(start)};
  // Records 1..n hold start + n * step; n stops where the next value leaves the 32-bit range.
  const int64_t room = step > 0 ? INT32_MAX - start : start - INT32_MIN;
  const int64_t records = room / (step > 0 ? step : -step);
  std::string range;
  if (records > 0)
    range = GroupedDigits(start + step) + " to " + GroupedDigits(start + records * step);
  return {true, static_cast<TUniqueCount>(records), true, range};
}

void TCPIncremental::Assign(const TColParams& source) {
  TCPInteger::Assign(source);
  if (auto* s = dynamic_cast<const TCPIncremental*>(&source)) {
    FStartValue = s->FStartValue;
    FStep = s->FStep;
    FCurrent = s->FCurrent;
  }
}

void TCPIncremental::DoGenerate(TTextBuffer& out) {
  // Record n holds StartValue + n * Step, with 32-bit wrap-around computed without signed
  // overflow. Outside a model's records each value steps on from the one before.
  const TGeneratorOwner* generators = Generators();
  const int64_t record = generators ? generators->RecordNumber() : 0;
  if (record > 0)
    FCurrent = static_cast<int32_t>(static_cast<uint32_t>(FStartValue) +
                                    static_cast<uint32_t>(static_cast<uint64_t>(record) *
                                                          static_cast<uint32_t>(FStep)));
  else
    FCurrent = static_cast<int32_t>(static_cast<uint32_t>(FCurrent) + static_cast<uint32_t>(FStep));
  AppendDecimal(out, FCurrent);
}

// ---- TCPBit ----

const TPropList& TCPBit::Props() const {
  using C = TCPBit;
  static const TPropList kProps = TPropList::Extend(
      IntegerProps(), {
                          TextProp<C>("ZeroValue", &C::ZeroValue, &C::SetZeroValue),
                          TextProp<C>("OneValue", &C::OneValue, &C::SetOneValue),
                      });
  return kProps;
}

void TCPBit::DoGenerate(TTextBuffer& out) {
  const bool one = Random(1001) >= 500;
  FLastDraw = one ? "1" : "0";
  out += one ? FOneValue : FZeroValue;
}

// ---- TCPFloat ----

const TPropList& TCPFloat::Props() const {
  using C = TCPFloat;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       FloatProp<C>("MinValue", &C::MinValue, &C::SetMinValue),
                       FloatProp<C>("MaxValue", &C::MaxValue, &C::SetMaxValue),
                       IntProp<C>("Precision", &C::Precision, &C::SetPrecision),
                       EnumProp<C, TExportType>("ExportType", kExportTypeIdents, &C::ExportType,
                                                &C::SetExportType),
                       BoolProp<C>("FixedDecimals", &C::FixedDecimals, &C::SetFixedDecimals,
                                   false),
                   });
  return kProps;
}

void TCPFloat::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPFloat*>(&source)) {
    FMinValue = s->FMinValue;
    FMaxValue = s->FMaxValue;
    FPrecision = s->FPrecision;
    FFixedDecimals = s->FFixedDecimals;
  }
}

void TCPFloat::DrawBounds(double& low, double& high) const {
  // A generator nobody has set bounds on draws numbers an ordinary column holds.
  if (FMinValue == kDefaultMin && FMaxValue == kDefaultMax) {
    low = 0;
    high = 2147483647;
    return;
  }
  low = std::min(FMinValue, FMaxValue);
  high = std::max(FMinValue, FMaxValue);
}

namespace {

// The multiple of 1/p nearest to the real bound x, on the side that keeps it inside the range:
// x * p rounded up (lower bound) or down (upper bound), where a product within a hair of an
// integer is that integer (0.07 * 100 is 7.000000000000001 in binary).
long double ScaledBound(long double x, long double p, bool up) {
  const long double scaled = x * p;
  const long double nearest = std::nearbyint(scaled);
  if (std::fabs(scaled - nearest) <= 1e-9L * std::max(1.0L, std::fabs(nearest))) return nearest;
  return up ? std::ceil(scaled) : std::floor(scaled);
}

bool FitsInt64(long double v) { return v >= -0x1p63L && v < 0x1p63L; }

}  // namespace

void TCPFloat::PlanDraws() {
  FPlanMin = FMinValue;
  FPlanMax = FMaxValue;
  FPlanPrecision = FPrecision;
  FPlanError.clear();
  FScaled = false;
  FPower = 1;
  DrawBounds(FLow, FHigh);
  char message[200];
  if (!std::isfinite(FLow) || !std::isfinite(FHigh)) {
    FPlanError = "The Float generator's bounds must be finite numbers.";
    return;
  }
  if (FPrecision <= 0) return;
  for (int32_t i = 0; i < FPrecision && std::isfinite(FPower); ++i) FPower *= 10.0L;
  if (!std::isfinite(FPower)) return;
  const long double first = ScaledBound(FLow, FPower, true);
  const long double last = ScaledBound(FHigh, FPower, false);
  if (first > last) {
    std::snprintf(message, sizeof message,
                  "The Float generator has no value with %d decimals between %.15g and %.15g.",
                  FPrecision, FLow, FHigh);
    FPlanError = message;
    return;
  }
  // int64 holds [-2^63, 2^63); wider scaled ranges are drawn as reals.
  if (!FitsInt64(first) || !FitsInt64(last)) return;
  FScaled = true;
  FFirst = static_cast<int64_t>(first);
  FLast = static_cast<int64_t>(last);
}

void TCPFloat::AppendUnscaled(TTextBuffer& out, char separator) {
  // Weighted sum rather than low + r * (high - low): the difference of the widest bounds
  // overflows a double, and the sum never passes either bound.
  const long double r = RandomReal();
  const double v = static_cast<double>(
      std::clamp<long double>(FLow * (1.0L - r) + FHigh * r, FLow, FHigh));
  const size_t start = out.size();
  if (FPrecision <= 0) {
    // Rounding to 15 digits may step over a bound given with more digits; then the value is
    // written with the digits that give it exactly.
    const double written = AppendFloatPlain(out, v, 15, separator);
    if (written < FLow || written > FHigh) {
      out.resize(start);
      AppendFloatShortestPlain(out, v, separator);
    }
    return;
  }
  // While a double carries the decimals, the value is the nearest multiple of 10^-Precision
  // inside the range.
  const long double scaled = std::isfinite(FPower) ? std::nearbyint(v * FPower) : INFINITY;
  if (std::fabs(scaled) < 0x1p53L) {
    const long double inside = std::clamp(scaled, ScaledBound(FLow, FPower, true),
                                          ScaledBound(FHigh, FPower, false));
    AppendScaledPlain(out, static_cast<int64_t>(inside), FPrecision, separator, FFixedDecimals);
    return;
  }
  // Beyond that the double's own digits are written, as long as they need no more decimals than
  // Precision; otherwise the whole number nearest to it.
  AppendFloatShortestPlain(out, v, separator);
  const size_t point = out.find(separator, start);
  if (point == std::string::npos || out.size() - point - 1 <= static_cast<size_t>(FPrecision))
    return;
  const double whole = std::nearbyint(v);
  if (whole < FLow || whole > FHigh) return;
  out.resize(start);
  AppendFloatShortestPlain(out, whole, separator);
}

void TCPFloat::DoGenerate(TTextBuffer& out) {
  if (FPlanMin != FMinValue || FPlanMax != FMaxValue || FPlanPrecision != FPrecision ||
      !FPlanned) {
    PlanDraws();
    FPlanned = true;
  }
  if (!FPlanError.empty()) throw EGenerationError(FPlanError);
  const char separator = FormatSettings().DecimalSeparator;
  if (FScaled) {
    AppendScaledPlain(out, GlobalRandom().Between(FFirst, FLast), FPrecision, separator,
                      FFixedDecimals);
    return;
  }
  AppendUnscaled(out, separator);
}

}  // namespace kelvast
