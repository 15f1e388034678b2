// SPDX-License-Identifier: MIT
#include "core/generators/temporal_gens.h"

#include <algorithm>
#include <cmath>

#include "core/platform/random.h"

namespace kelvast {

namespace {
// The integer part, towards zero, of a day drawn uniformly over [min, max + 1).
double DrawDay(TDateTime min, TDateTime max) {
  return std::trunc(min + RandomReal() * (max - min + 1));
}

double DrawTime(TDateTime min, TDateTime max) { return min + RandomReal() * (max - min); }
}  // namespace

// ---- TCPDate ----

const TPropList& TCPDate::Props() const {
  using C = TCPDate;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       FloatProp<C>("MinDate", &C::MinDate, &C::SetMinDate),
                       FloatProp<C>("MaxDate", &C::MaxDate, &C::SetMaxDate),
                       TextProp<C>("Format", &C::Format, &C::SetFormat),
                   });
  return kProps;
}

void TCPDate::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPDate*>(&source)) {
    FMinDate = s->FMinDate;
    FMaxDate = s->FMaxDate;
    FFormat = s->FFormat;
  }
}

void TCPDate::Prepare(const TGenContext& context) {
  TColParams::Prepare(context);
  FDays = TDayCache();
}

void TCPDate::DoGenerate(TTextBuffer& out) { AppendDay(out, DrawDay(FMinDate, FMaxDate)); }

TUniqueSpace TCPDate::UniqueSpace() const {
  const double first = std::trunc(std::min(FMinDate, FMaxDate));
  const double last = std::trunc(std::max(FMinDate, FMaxDate));
  // Days outside any calendar date are not counted (the bounds stay within a few million days).
  if (!(last - first < 1e15)) return {true, 0, false, {}};
  return {true, static_cast<TUniqueCount>(last - first + 1), false,
          FormatDateTime(FFormat, first) + " to " + FormatDateTime(FFormat, last)};
}

void TCPDate::AppendUniqueValue(TTextBuffer& out, TUniqueCount index) {
  AppendDay(out, std::trunc(std::min(FMinDate, FMaxDate)) + static_cast<double>(index));
}

void TCPDate::AppendDay(TTextBuffer& out, double day) {
  // A run draws from a fixed range of whole days, so each day is formatted once. Ranges beyond
  // about 360 years are formatted every time, keeping the cache small.
  constexpr double kMaxDays = 1 << 17;
  if (!FDays.Valid || FDays.Min != FMinDate || FDays.Max != FMaxDate || FDays.Format != FFormat) {
    FDays = TDayCache();
    FDays.Min = FMinDate;
    FDays.Max = FMaxDate;
    FDays.Format = FFormat;
    FDays.Valid = true;
    const double span = std::fabs(FMaxDate - FMinDate);
    if (span < kMaxDays) {
      FDays.Base = static_cast<int64_t>(std::floor(std::min(FMinDate, FMaxDate))) - 2;
      FDays.Days.resize(static_cast<size_t>(span) + 6);
    }
  }
  const int64_t index = static_cast<int64_t>(day) - FDays.Base;
  if (index < 0 || index >= static_cast<int64_t>(FDays.Days.size())) {
    AppendDateTime(out, FFormat, day);
    return;
  }
  const auto at = static_cast<size_t>(index);
  if (FDays.Days.IsEmpty(at)) FDays.Days.Set(at, FormatDateTime(FFormat, day));
  FDays.Days.AppendTo(out, at);
}

// ---- TCPTime ----

const TPropList& TCPTime::Props() const {
  using C = TCPTime;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       FloatProp<C>("MinTime", &C::MinTime, &C::SetMinTime),
                       FloatProp<C>("MaxTime", &C::MaxTime, &C::SetMaxTime),
                       TextProp<C>("Format", &C::Format, &C::SetFormat),
                   });
  return kProps;
}

void TCPTime::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPTime*>(&source)) {
    FMinTime = s->FMinTime;
    FMaxTime = s->FMaxTime;
    FFormat = s->FFormat;
  }
}

void TCPTime::DoGenerate(TTextBuffer& out) {
  AppendDateTime(out, FFormat, DrawTime(FMinTime, FMaxTime));
}

// ---- TCPDateTime ----

const TPropList& TCPDateTime::Props() const {
  using C = TCPDateTime;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       FloatProp<C>("MinDate", &C::MinDate, &C::SetMinDate),
                       FloatProp<C>("MaxDate", &C::MaxDate, &C::SetMaxDate),
                       FloatProp<C>("MinTime", &C::MinTime, &C::SetMinTime),
                       FloatProp<C>("MaxTime", &C::MaxTime, &C::SetMaxTime),
                       TextProp<C>("Format", &C::Format, &C::SetFormat),
                   });
  return kProps;
}

void TCPDateTime::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPDateTime*>(&source)) {
    FMinDate = s->FMinDate;
    FMaxDate = s->FMaxDate;
    FMinTime = s->FMinTime;
    FMaxTime = s->FMaxTime;
    FFormat = s->FFormat;
  }
}

void TCPDateTime::DoGenerate(TTextBuffer& out) {
  const double day = DrawDay(FMinDate, FMaxDate);
  const double time = DrawTime(FMinTime, FMaxTime);
  AppendDateTime(out, FFormat, day + time);
}

}  // namespace kelvast
