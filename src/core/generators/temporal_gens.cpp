// SPDX-License-Identifier: MIT
#include "core/generators/temporal_gens.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "core/platform/random.h"

namespace kelvast {

namespace {

// The calendar's days, 1 January 1 to 31 December 9999.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

// The day of a bound: its integer part taken towards zero (before day 0 the fraction is the time
// of day), kept within the calendar.
int64_t DayOf(TDateTime bound) {
  if (std::isnan(bound)) return 0;
  return static_cast<int64_t>(std::clamp(std::trunc(bound), kFirstDay, kLastDay));
}

// The whole days of the range, in order.
void DayRange(TDateTime min, TDateTime max, int64_t& first, int64_t& last) {
  first = DayOf(std::min(min, max));
  last = DayOf(std::max(min, max));
}

// A day from the range's first to its last, each equally likely.
double DrawDay(TDateTime min, TDateTime max) {
  int64_t first, last;
  DayRange(min, max, first, last);
  return static_cast<double>(GlobalRandom().Between(first, last));
}

double DrawTime(TDateTime min, TDateTime max) { return min + RandomReal() * (max - min); }

void InitNewDays(TDateTime& min, TDateTime& max) {
  min = EncodeDate(2000, 1, 1);
  max = EncodeDate(2029, 12, 31);
}

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

void TCPDate::InitNew() {
  InitNewDays(FMinDate, FMaxDate);
  Changed();
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
  FDistinct = TDistinctDays();
}

void TCPDate::DoGenerate(TTextBuffer& out) { AppendDay(out, DrawDay(FMinDate, FMaxDate)); }

const TCPDate::TDistinctDays& TCPDate::DistinctDays() const {
  if (FDistinct.Valid && FDistinct.Min == FMinDate && FDistinct.Max == FMaxDate &&
      FDistinct.Format == FFormat)
    return FDistinct;
  FDistinct = TDistinctDays();
  FDistinct.Min = FMinDate;
  FDistinct.Max = FMaxDate;
  FDistinct.Format = FFormat;
  FDistinct.Valid = true;
  int64_t first, last;
  DayRange(FMinDate, FMaxDate, first, last);
  FDistinct.First = first;
  // Days, weekdays and two-digit years repeat every 400 years, so one such cycle shows every
  // text a format without the four-digit year can write. A format with it that writes a text of
  // its own for each day of a cycle does so for every day.
  constexpr int64_t kCycleDays = 146097;
  const int64_t days = last - first + 1;
  const int64_t scanned = std::min(days, kCycleDays);
  std::vector<int32_t> offsets = FirstDaysOfTexts(first, first + scanned - 1);
  TUniqueCount count = offsets.size();
  if (days > kCycleDays) {
    const bool yearShown = FormatDateTime(FFormat, static_cast<double>(first)) !=
                           FormatDateTime(FFormat, static_cast<double>(first + kCycleDays));
    if (yearShown && count == static_cast<TUniqueCount>(scanned)) {
      count = static_cast<TUniqueCount>(days);
      offsets.clear();
    } else if (yearShown) {
      offsets = FirstDaysOfTexts(first, last);
      count = offsets.size();
    }
  }
  FDistinct.Count = count;
  // Offsets 0, 1, 2, ... are the days themselves: no need to keep them.
  if (!offsets.empty() && offsets.back() != static_cast<int32_t>(offsets.size() - 1))
    FDistinct.Offsets = std::move(offsets);
  return FDistinct;
}

std::vector<int32_t> TCPDate::FirstDaysOfTexts(int64_t first, int64_t last) const {
  // Every day is formatted once and its text kept as a 64-bit hash; a collision could only
  // count two texts as one, which keeps every unique value distinct.
  std::unordered_set<uint64_t> seen;
  seen.reserve(static_cast<size_t>(last - first + 1));
  std::vector<int32_t> offsets;
  TTextBuffer text;
  for (int64_t day = first; day <= last; ++day) {
    text.clear();
    AppendDateTime(text, FFormat, static_cast<double>(day));
    if (seen.insert(std::hash<std::string_view>()(text.View())).second)
      offsets.push_back(static_cast<int32_t>(day - first));
  }
  return offsets;
}

TUniqueSpace TCPDate::UniqueSpace() const {
  const TDistinctDays& distinct = DistinctDays();
  int64_t first, last;
  DayRange(FMinDate, FMaxDate, first, last);
  return {true, distinct.Count, false,
          FormatDateTime(FFormat, static_cast<double>(first)) + " to " +
              FormatDateTime(FFormat, static_cast<double>(last))};
}

void TCPDate::AppendUniqueValue(TTextBuffer& out, TUniqueCount index) {
  const TDistinctDays& distinct = DistinctDays();
  const auto i = static_cast<size_t>(index);
  const int64_t offset = distinct.Offsets.empty() ? static_cast<int64_t>(i) : distinct.Offsets[i];
  AppendDay(out, static_cast<double>(distinct.First + offset));
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

void TCPDateTime::InitNew() {
  InitNewDays(FMinDate, FMaxDate);
  Changed();
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
  // Before day 0 the fraction counts backwards: composed, the time of day is the one drawn.
  AppendDateTime(out, FFormat, ComposeDateTime(day, time));
}

}  // namespace kelvast
