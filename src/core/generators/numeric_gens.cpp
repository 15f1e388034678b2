#include "core/generators/numeric_gens.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "core/platform/decimal_digits.h"
#include "core/platform/errors.h"
#include "core/platform/float_format.h"
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
  const int64_t span = static_cast<int64_t>(FMaxValue) - FMinValue + 1;
  long double v = FMinValue + static_cast<long double>(RandomReal()) * span;
  if (FSign > 0) v = std::fabs(v);
  else if (FSign < 0 && v > 0) v = -v;
  AppendDecimal(out, static_cast<int64_t>(v));  // truncation towards zero
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

void TCPIncremental::Prepare() {
  TCPInteger::Prepare();
  FCurrent = FStartValue;
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
  // 32-bit wrap-around, computed without signed overflow.
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
                   });
  return kProps;
}

void TCPFloat::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPFloat*>(&source)) {
    FMinValue = s->FMinValue;
    FMaxValue = s->FMaxValue;
    FPrecision = s->FPrecision;
  }
}

void TCPFloat::DoGenerate(TTextBuffer& out) {
  // The draw starts at the bound of smaller magnitude and spans the difference of the two
  // magnitudes; bounds given the other way round are taken swapped rather than leaving the span
  // negative.
  long double low = FMinValue;
  long double high = FMaxValue;
  if (std::fabs(high) < std::fabs(low)) std::swap(low, high);
  long double d = std::fabs(high) - std::fabs(low);
  if (d > 2147483647.0L) d = 2147483647.0L;
  const int32_t k = Random(static_cast<int32_t>(d));
  const int32_t a = Random(8);
  const int32_t b = Random(9);
  long double v = (k + low) + (a + 1.0L / (b + 7));
  if (FPrecision > 0) {
    long double p = 1.0L;
    for (int32_t i = 0; i < FPrecision; ++i) p *= 10.0L;
    const long double scaled = v * p;
    // int64 holds [-2^63, 2^63); anything else (infinities included) cannot be truncated.
    if (!(scaled >= -0x1p63L && scaled < 0x1p63L)) {
      char message[160];
      std::snprintf(message, sizeof message,
                    "The Float generator cannot cut %.15Lg to %d decimals: the value leaves the "
                    "64-bit integer range. Lower MaxValue or Precision.",
                    v, FPrecision);
      throw EGenerationError(message);
    }
    const int64_t whole = static_cast<int64_t>(scaled);
    if (AppendScaledDecimal(out, whole, FPrecision, FormatSettings().DecimalSeparator)) return;
    v = static_cast<long double>(whole) / p;
  }
  AppendFloatGeneral(out, static_cast<double>(v), FormatSettings().DecimalSeparator);
}

}  // namespace kelvast
